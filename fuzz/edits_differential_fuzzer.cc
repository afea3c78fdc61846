// The fast deletions against their straightforward forms: on any text and
// any names, QZCFStringDeletePaperSizeArray, QZCFStringDeletePaperSize,
// QZCFStringDeleteKeywordOption and QZCFStringDeleteEnvelpes must give
// exactly what the forms in simple_edits.h give.
//
// Input: names separated by 0x1F, NUL, a keyword, NUL, text.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "fuzz_support.h"
#include "ppdtext/line_deletion.h"
#include "ppdtext/option_deletion.h"
#include "ppdtext/simple_edits.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const fuzz::Fields input = fuzz::SplitFields(data, size, 2);
  const UString text = fuzz::ToText(input.rest);
  const UString keyword = fuzz::ToText(input.fields[1]);
  std::vector<UString> names;
  for (const UString& name : StringCreateArrayBySeparatingStrings(fuzz::ToText(input.fields[0]), u"\x1F")) {
    if (names.size() < 6) names.push_back(name);
  }

  UString fast = text, simple = text;
  QZCFStringDeletePaperSizeArray(fast, &names);
  for (const UString& name : names) SimpleDeletePaperSize(simple, name);
  FUZZ_CHECK(fast == simple, fuzz::Show(text));

  fast = simple = text;
  QZCFStringDeletePaperSize(fast, names[0]);
  SimpleDeletePaperSize(simple, names[0]);
  FUZZ_CHECK(fast == simple, fuzz::Show(text));

  fast = simple = text;
  QZCFStringDeleteKeywordOption(fast, keyword, names[0]);
  SimpleDeleteKeywordOption(simple, keyword, names[0]);
  FUZZ_CHECK(fast == simple, fuzz::Show(text));

  fast = simple = text;
  QZCFStringDeleteEnvelpes(fast, names);
  SimpleDeleteEnvelpes(simple, names);
  FUZZ_CHECK(fast == simple, fuzz::Show(text));
  return 0;
}
