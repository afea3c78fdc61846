// QZCFStringDeletePaperSize and QZCFStringDeletePaperSizeArray on arbitrary
// texts and paper names. Only whole lines go; a paper size that a default
// statement selects stays whole; and the deletion of one paper size is the
// deletion of its option from the four paper keywords in turn.
//
// Input: paper names separated by 0x1F, NUL, text.
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include "fuzz_support.h"
#include "ppdtext/option_deletion.h"

namespace {

constexpr UStringView kPaperKeywords[] = {u"PageRegion", u"PageSize", u"PaperDimension", u"ImageableArea"};

UStringView TrimBlanks(UStringView s) {
  while (!s.empty() && (s.front() == u' ' || s.front() == u'\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == u' ' || s.back() == u'\t')) s.remove_suffix(1);
  return s;
}

// The papers that a `*Default<paper keyword>:` line of `text` selects.
std::vector<UString> DefaultPapers(UStringView text) {
  std::vector<UString> papers;
  for (const UStringView line : fuzz::Lines(text)) {
    for (const UStringView keyword : kPaperKeywords) {
      const UString head = u"*Default" + UString(keyword) + u":";
      if (line.starts_with(head)) papers.emplace_back(TrimBlanks(fuzz::Contents(line).substr(head.size())));
    }
  }
  return papers;
}

// The option lines of the paper keywords that begin a statement of their
// own (and not inside another statement's value), with their paper names.
std::vector<std::pair<UStringView, UStringView>> OptionLines(UStringView text) {
  std::vector<std::pair<UStringView, UStringView>> lines;
  for (const size_t at : fuzz::TopLevelStatementStarts(text)) {
    const UStringView line = fuzz::LineFrom(text, at);
    for (const UStringView keyword : kPaperKeywords) {
      if (line.size() < keyword.size() + 2 || line[0] != u'*' || line.substr(1, keyword.size()) != keyword ||
          line[keyword.size() + 1] != u' ') {
        continue;
      }
      const UStringView option = line.substr(keyword.size() + 2);
      const size_t end = option.find_first_of(u"/:");
      if (end != UStringView::npos) lines.emplace_back(option.substr(0, end), line);
    }
  }
  return lines;
}

bool Holds(const std::vector<UString>& list, UStringView item) {
  for (const UString& s : list) {
    if (s == item) return true;
  }
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const fuzz::Fields in = fuzz::SplitFields(data, size, 1);
  const UString text = fuzz::ToText(in.rest);
  std::vector<UString> papers = StringCreateArrayBySeparatingStrings(fuzz::ToText(in.fields[0]), u"\x1f");
  if (papers.size() > 8) papers.resize(8);

  // One paper size.
  const UString& paper = papers.front();
  UString one = text;
  QZCFStringDeletePaperSize(one, paper);
  FUZZ_CHECK(fuzz::IsWholeLineSubsequence(text, one), fuzz::Show(one));
  const std::vector<UString> defaults = DefaultPapers(text);
  if (Holds(defaults, paper)) {
    FUZZ_CHECK(one == text, "a paper size that a default selects was edited: " + fuzz::Show(paper));
  } else {
    UString by_keyword = text;
    for (const UStringView keyword : kPaperKeywords) QZCFStringDeleteKeywordOption(by_keyword, keyword, paper);
    FUZZ_CHECK(one == by_keyword, "not the deletion from the four keywords in turn");
  }

  // Several, as the rule stage does: the papers that the defaults of the
  // result select keep the option lines that they had, whichever papers went.
  UString many = text;
  QZCFStringDeletePaperSizeArray(many, &papers);
  QZCFStringDeletePaperSizeArray(many, nullptr);
  FUZZ_CHECK(fuzz::IsWholeLineSubsequence(text, many), fuzz::Show(many));
  const bool at_starts = fuzz::MatchesOnlyAtStatementStarts(text, [&](UStringView line) {
    for (const UString& p : papers) {
      for (const UStringView keyword : kPaperKeywords) {
        if (fuzz::Contains(line, UString(keyword) + u" " + p)) return true;
      }
    }
    return false;
  });
  if (!at_starts) return 0;
  const std::vector<UString> kept_defaults = DefaultPapers(many);
  for (const auto& [option, line] : OptionLines(text)) {
    if (!Holds(kept_defaults, option) || fuzz::MentionsOtherPaperOption(line)) continue;
    FUZZ_CHECK(fuzz::Contains(many, line), "the option line of a default paper went: " + fuzz::Show(line));
  }
  return 0;
}
