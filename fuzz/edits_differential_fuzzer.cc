// The fast deletions against their straightforward forms in
// tests/reference_edits.h: on any text and any names they must give exactly
// the same result.
//
// Input: names separated by 0x1F, NUL, a keyword, NUL, text.
#include <algorithm>
#include <cstdint>
#include <vector>

#include "fuzz_support.h"
#include "ppdtext/line_deletion.h"
#include "ppdtext/option_deletion.h"
#include "reference_edits.h"

namespace {

std::string Diff(UStringView text, UStringView fast, UStringView simple) {
  return fuzz::Show(text) + "\n--- fast:\n" + fuzz::Show(fast) + "\n--- reference:\n" + fuzz::Show(simple);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view rest(reinterpret_cast<const char*>(data), size);
  std::string_view fields[2];
  for (std::string_view& field : fields) {
    field = rest.substr(0, rest.find('\0'));
    rest.remove_prefix(std::min(rest.size(), field.size() + 1));
  }
  const UString text = fuzz::ToText(rest), keyword = fuzz::ToText(fields[1]);
  std::vector<UString> names = StringCreateArrayBySeparatingStrings(fuzz::ToText(fields[0]), u"\x1F");
  names.resize(std::min<size_t>(names.size(), 6));

  UString fast = text, simple = text;
  QZCFStringDeletePaperSizeArray(fast, &names);
  for (const UString& name : names) SimpleDeletePaperSize(simple, name);
  FUZZ_CHECK(fast == simple, Diff(text, fast, simple));

  fast = simple = text;
  QZCFStringDeleteKeywordOption(fast, keyword, names[0]);
  SimpleDeleteKeywordOption(simple, keyword, names[0]);
  FUZZ_CHECK(fast == simple, Diff(text, fast, simple));

  fast = simple = text;
  QZCFStringDeleteEnvelpes(fast, names);
  SimpleDeleteEnvelpes(simple, names);
  FUZZ_CHECK(fast == simple, Diff(text, fast, simple));
  return 0;
}
