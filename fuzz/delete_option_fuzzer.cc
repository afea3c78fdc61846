// QZCFStringDeleteKeywordOption on arbitrary texts and names.
//
// Input: keyword NUL option NUL text.
#include <cstddef>
#include <cstdint>

#include "fuzz_support.h"
#include "ppdtext/option_deletion.h"

namespace {

// Occurrences that begin a line: only those can be the option's own line.
size_t CountAtLineStarts(UStringView text, UStringView needle) {
  size_t count = 0;
  for (size_t at = text.find(needle); at != UStringView::npos; at = text.find(needle, at + 1)) {
    if (at == 0 || text[at - 1] == u'\n' || text[at - 1] == u'\r') ++count;
  }
  return count;
}

// A line that holds "UIConstraints" and `*<keyword> <option>` ended by a
// double quote, blank, tab, line terminator or the end of the text.
bool IsConstraintLine(UStringView line, UStringView pattern) {
  if (!fuzz::Contains(line, u"UIConstraints")) return false;
  for (size_t at = line.find(pattern); at != UStringView::npos; at = line.find(pattern, at + 1)) {
    const size_t after = at + pattern.size();
    if (after == line.size()) return true;
    const char16_t c = line[after];
    if (c == u'"' || c == u' ' || c == u'\t' || c == u'\n' || c == u'\r') return true;
  }
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const fuzz::Fields in = fuzz::SplitFields(data, size, 2);
  const UString keyword = fuzz::ToText(in.fields[0]);
  const UString option = fuzz::ToText(in.fields[1]);
  const UString text = fuzz::ToText(in.rest);

  UString out = text;
  QZCFStringDeleteKeywordOption(out, keyword, option);

  FUZZ_CHECK(fuzz::IsWholeLineSubsequence(text, out), fuzz::Show(out));
  FUZZ_CHECK(!StringCopyUTF8(text) || StringCopyUTF8(out));

  const UString with_text = u"*" + keyword + u" " + option + u"/";
  const UString without_text = u"*" + keyword + u" " + option + u":";
  const size_t before = CountAtLineStarts(text, with_text) + CountAtLineStarts(text, without_text);
  if (before == 0) {
    FUZZ_CHECK(out == text, "no option line, yet the text changed");
    return 0;
  }
  FUZZ_CHECK(out.size() < text.size(), "the option line stayed");
  if (fuzz::HasLineTerminator(keyword) || fuzz::HasLineTerminator(option)) return 0;

  // Patterns within one line: removing whole lines never makes new ones, nor
  // moves one to a line's start.
  FUZZ_CHECK(CountAtLineStarts(out, with_text) + CountAtLineStarts(out, without_text) < before, "the option line stayed");
  FUZZ_CHECK(!fuzz::Contains(out, u"." + keyword + u" " + option + u"/"), "a translation line stayed");
  if (keyword == u"PageSize" || keyword == u"PageRegion") {
    const UString constraint = u"*" + keyword + u" " + option;
    for (const UStringView line : fuzz::Lines(out)) {
      FUZZ_CHECK(!IsConstraintLine(line, constraint), "a constraint line stayed: " + fuzz::Show(line));
    }
  }
  return 0;
}
