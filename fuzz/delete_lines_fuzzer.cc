// QZCFStringDeleteEnvelpes and QZCFStringDeleteAutoSetup on arbitrary texts
// and names: only whole lines go, every line holding a name goes, and the
// auto-setup deletion takes the first line holding "QzAutoSetup" and leaves
// the text before it alone.
//
// Input: names separated by 0x1F, NUL, text.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "fuzz_support.h"
#include "ppdtext/line_deletion.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const fuzz::Fields in = fuzz::SplitFields(data, size, 1);
  const UString text = fuzz::ToText(in.rest);
  std::vector<UString> names = StringCreateArrayBySeparatingStrings(fuzz::ToText(in.fields[0]), u"\x1f");
  if (names.size() > 8) names.resize(8);

  UString out = text;
  QZCFStringDeleteEnvelpes(out, names);
  FUZZ_CHECK(fuzz::IsWholeLineSubsequence(text, out), fuzz::Show(out));
  bool any = false;
  for (const UString& name : names) {
    any = any || fuzz::Contains(text, name);
    // A name holding a line terminator can span lines; it still goes, since
    // a line holding its start is removed as long as one is left.
    FUZZ_CHECK(!fuzz::Contains(out, name), "a line holding a name stayed: " + fuzz::Show(name));
  }
  if (!any) FUZZ_CHECK(out == text, "no name in the text, yet it changed");

  UString setup = text;
  QZCFStringDeleteAutoSetup(setup);
  FUZZ_CHECK(fuzz::IsWholeLineSubsequence(text, setup), fuzz::Show(setup));
  const size_t at = text.find(u"QzAutoSetup");
  if (at == UStringView::npos) {
    FUZZ_CHECK(setup == text, "no QzAutoSetup, yet the text changed");
  } else {
    size_t line_start = at;
    while (line_start > 0 && text[line_start - 1] != u'\n' && text[line_start - 1] != u'\r') --line_start;
    FUZZ_CHECK(setup.size() < text.size(), "the QzAutoSetup line stayed");
    FUZZ_CHECK(UStringView(setup).substr(0, line_start) == UStringView(text).substr(0, line_start),
               "text before the QzAutoSetup line changed");
  }
  return 0;
}
