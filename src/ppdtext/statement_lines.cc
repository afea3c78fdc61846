#include "ppdtext/statement_lines.h"

#include <algorithm>
#include <optional>

StatementRange StatementRangeAt(UStringView text, size_t index) {
  const LineBounds line = StringGetLineBounds(text, index);
  const auto first = text.begin();
  const auto quotes = std::count(first + line.begin, first + line.contentsEnd, u'"');
  if (quotes % 2 == 0) return {line.begin, line.end};

  // The value stays open through every later line that holds an even number
  // of double quotes (libcups reads `a" "b` as more of the value).
  size_t end = line.end;
  for (bool open = true; open;) {
    const size_t close = text.find(u'"', end);
    if (close == UStringView::npos) return {line.begin, line.end};
    const LineBounds closing = StringGetLineBounds(text, close);
    open = std::count(first + close, first + closing.contentsEnd, u'"') % 2 == 0;
    end = closing.end;
  }
  if (text.substr(end).starts_with(u"*End")) end = StringGetLineBounds(text, end).end;
  return {line.begin, end};
}

size_t RemoveStatementAt(UString& text, size_t index) {
  const StatementRange range = StatementRangeAt(text, index);
  text.erase(range.begin, range.end - range.begin);
  return range.begin;
}

void ReplaceStatementAt(UString& text, size_t index, UStringView line) {
  const StatementRange range = StatementRangeAt(text, index);
  StringReplace(text, range.begin, range.end, line);
}

size_t FindLineStartingWith(UStringView text, UStringView prefix) {
  for (size_t at = StringFind(text, prefix); at != kNotFound; at = StringFind(text, prefix, at + 1)) {
    if (IsLineStart(text, at)) return at;
  }
  return kNotFound;
}

size_t FindOptionLine(UStringView text, UStringView keyword, UStringView option) {
  const std::optional<UString> with_text = StringCreateWithFormat("*%@ %@/", {keyword, option});
  const std::optional<UString> without_text = StringCreateWithFormat("*%@ %@:", {keyword, option});
  if (!with_text || !without_text) return kNotFound;
  return std::min(FindLineStartingWith(text, *with_text), FindLineStartingWith(text, *without_text));
}
