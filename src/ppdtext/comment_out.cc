#include "ppdtext/comment_out.h"

#include "ppdtext/statement_lines.h"

#include <algorithm>
#include <optional>

void QZCFStringCommentOutKeywordOption(UString& text, UStringView keyword, UStringView option) {
  const size_t main_line = FindOptionLine(text, keyword, option);
  if (main_line == kNotFound) return;
  const LineBounds line = StringGetLineBounds(text, main_line);
  StringFindAndReplace(text, u"*", u"*%", line.begin, line.end, /*anchored=*/false);

  const std::optional<UString> translation = StringCreateWithFormat(".%@ %@/", {keyword, option});
  if (!translation) return;
  size_t from = 0;
  for (size_t at; (at = StringFind(text, *translation, from)) != kNotFound;) {
    const LineBounds found = StringGetLineBounds(text, at);
    StringFindAndReplace(text, u"*", u"*%", found.begin, found.end, /*anchored=*/true);
    from = found.contentsEnd;
  }
}
