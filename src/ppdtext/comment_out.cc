#include "ppdtext/comment_out.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "ppdtext/statements.h"

namespace {

// The option's own statement: the first closed one whose head begins with
// `*<keyword> <option>/` or `*<keyword> <option>:`; or kNotFound.
size_t FindOptionStatement(UStringView text, const StatementIndex& index, UStringView keyword, UStringView option) {
  size_t first = kNotFound;
  for (const char* format : {"*%@ %@/", "*%@ %@:"}) {
    const std::optional<UString> pattern = StringCreateWithFormat(format, {keyword, option});
    if (!pattern) return kNotFound;
    for (size_t at = StringFind(text, *pattern); at < first; at = StringFind(text, *pattern, at + 1)) {
      if (IsLineStart(text, at) && index.InEditableHead(at)) first = at;
    }
  }
  return first;
}

// Makes comments of the statement `s` and of a directly following `*End`
// when it spans several lines: in the head every "*" (or only a leading one)
// becomes "*%", and every further line gets "*%" in front, so that no line of
// its value is left for libcups to read as a statement.
void CommentOut(UString& text, const Statement& s, bool every_asterisk) {
  const size_t end = StatementExtentEnd(text, s);
  std::vector<size_t> further;
  for (size_t at = StringGetLineBounds(text, s.begin).end; at < end; at = StringGetLineBounds(text, at).end) {
    further.push_back(at);
  }
  for (auto at = further.rbegin(); at != further.rend(); ++at) text.insert(*at, u"*%");
  StringFindAndReplace(text, u"*", u"*%", s.begin, s.headEnd, /*anchored=*/!every_asterisk);
}

}  // namespace

void QZCFStringCommentOutKeywordOption(UString& text, UStringView keyword, UStringView option) {
  const StatementIndex index(text);
  const size_t option_at = FindOptionStatement(text, index, keyword, option);
  if (option_at == kNotFound) return;
  std::vector<Statement> targets = {index.Holding(option_at)};
  if (const std::optional<UString> translation = StringCreateWithFormat(".%@ %@/", {keyword, option})) {
    for (size_t at = StringFind(text, *translation); at != kNotFound; at = StringFind(text, *translation, at + 1)) {
      if (!index.InEditableHead(at)) continue;
      const Statement s = index.Holding(at);
      if (s.begin != targets.front().begin) targets.push_back(s);
      at = s.headEnd;
    }
  }
  // The statements are found in the text as it was; edits from the last one
  // back leave the positions of those before valid.
  std::sort(targets.begin(), targets.end(), [](const Statement& a, const Statement& b) { return a.begin < b.begin; });
  for (auto s = targets.rbegin(); s != targets.rend(); ++s) CommentOut(text, *s, s->begin == option_at);
}
