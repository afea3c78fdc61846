#include "ppdtext/comment_out.h"

#include <algorithm>
#include <optional>

void QZCFStringCommentOutKeywordOption(UString& text, UStringView keyword, UStringView option) {
  const std::optional<UString> with_text = StringCreateWithFormat("*%@ %@/", {keyword, option});
  const std::optional<UString> without_text = StringCreateWithFormat("*%@ %@:", {keyword, option});
  if (!with_text || !without_text) return;
  const size_t main_line = std::min(StringFind(text, *with_text), StringFind(text, *without_text));
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
