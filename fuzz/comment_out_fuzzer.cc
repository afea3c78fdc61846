// QZCFStringCommentOutKeywordOption on arbitrary texts and names: it only
// inserts "%" right after some asterisks, all of them in the option's own
// line (the first that begins with the pattern) and only a line's first one
// in translation lines; it removes nothing.
//
// Input: keyword NUL option NUL text.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "fuzz_support.h"
#include "ppdtext/comment_out.h"

namespace {

// Positions of the asterisks of `text`.
std::vector<size_t> Stars(UStringView text) {
  std::vector<size_t> stars;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == u'*') stars.push_back(i);
  }
  return stars;
}

// The line of `text` that holds `index`.
UStringView LineAt(UStringView text, size_t index) {
  size_t begin = index;
  while (begin > 0 && text[begin - 1] != u'\n' && text[begin - 1] != u'\r') --begin;
  size_t end = index;
  while (end < text.size() && text[end] != u'\n' && text[end] != u'\r') ++end;
  return text.substr(begin, end - begin);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const fuzz::Fields in = fuzz::SplitFields(data, size, 2);
  const UString keyword = fuzz::ToText(in.fields[0]);
  const UString option = fuzz::ToText(in.fields[1]);
  const UString text = fuzz::ToText(in.rest);

  UString out = text;
  QZCFStringCommentOutKeywordOption(out, keyword, option);

  const UString with_text = u"*" + keyword + u" " + option + u"/";
  const UString without_text = u"*" + keyword + u" " + option + u":";
  // The option's own line begins with the pattern.
  const size_t option_at =
      std::min(fuzz::FirstLineStartingWith(text, with_text), fuzz::FirstLineStartingWith(text, without_text));
  if (option_at == kNotFound) {
    FUZZ_CHECK(out == text, "no option line, yet the text changed");
    return 0;
  }

  // Asterisks are neither added nor removed, so the k-th of the output is the
  // k-th of the input; after it the output has the same text, or "%" and the
  // same text.
  const std::vector<size_t> in_stars = Stars(text);
  const std::vector<size_t> out_stars = Stars(out);
  FUZZ_CHECK(in_stars.size() == out_stars.size(), "asterisks were added or removed");
  FUZZ_CHECK(UStringView(out).substr(0, out_stars.empty() ? out.size() : out_stars[0]) ==
             UStringView(text).substr(0, in_stars.empty() ? text.size() : in_stars[0]));
  const UStringView option_line = LineAt(text, option_at);
  const size_t option_line_begin = static_cast<size_t>(option_line.data() - text.data());
  const UString translation = u"." + keyword + u" " + option + u"/";
  bool option_line_marked = false;
  for (size_t k = 0; k < in_stars.size(); ++k) {
    const size_t i = in_stars[k];
    const size_t o = out_stars[k];
    const UStringView in_seg = UStringView(text).substr(i + 1, (k + 1 < in_stars.size() ? in_stars[k + 1] : text.size()) - i - 1);
    const UStringView out_seg = UStringView(out).substr(o + 1, (k + 1 < out_stars.size() ? out_stars[k + 1] : out.size()) - o - 1);
    if (out_seg == in_seg) {
      FUZZ_CHECK(!(i >= option_line_begin && i < option_line_begin + option_line.size()),
                 "an asterisk of the option line was left: " + fuzz::Show(option_line));
      continue;
    }
    const UStringView line = LineAt(text, i);
    const bool in_option_line = line.data() == option_line.data();
    const bool translation_start = (i == 0 || text[i - 1] == u'\n' || text[i - 1] == u'\r') &&
                                   fuzz::Contains(line, translation);
    FUZZ_CHECK(in_option_line || translation_start,
               "an asterisk outside the option line and translation starts: " + fuzz::Show(line));
    // One "%" per asterisk; two when the option line itself holds the
    // translation pattern, since both steps then mark its first asterisk.
    const size_t added = in_option_line && translation_start ? out_seg.size() - in_seg.size() : 1;
    FUZZ_CHECK((added == 1 || added == 2) && out_seg.size() == in_seg.size() + added &&
                   out_seg.substr(0, added) == UStringView(u"%%").substr(0, added) && out_seg.substr(added) == in_seg,
               "more than a \"%\" after an asterisk changed");
    option_line_marked = option_line_marked || in_option_line;
  }
  FUZZ_CHECK(option_line_marked, "the option line was not commented out");
  return 0;
}
