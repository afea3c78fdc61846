#include "ppdtext/statements.h"

#include <algorithm>

#include "ppdtext/unit_search.h"

namespace {

// A comment starts with "*%". libcups drops U+001A wherever it stands, so it
// does not hide a comment either.
bool IsComment(UStringView text, size_t begin) {
  char16_t first[2] = {};
  size_t count = 0;
  for (size_t at = begin; at < text.size() && count < 2 && !IsLineTerminator(text[at]); ++at) {
    if (text[at] != u'\x1A') first[count++] = text[at];
  }
  return first[0] == u'*' && first[1] == u'%';
}

// Calls visit(s) for each statement from `begin` (a line start) on, in order,
// until it answers false. One pass over the marks that decide where statements
// end: quotes, colons and line terminators.
template <typename Visit>
void WalkStatements(UStringView text, size_t begin, Visit visit) {
  const size_t n = text.size();
  Statement s{begin, kNotFound, n, true, false};
  bool comment = IsComment(text, begin), colon = false, open = false, stopped = false;
  size_t skip = begin;  // the LF of a CR LF pair is no mark of its own
  ForEachUnitAmong(text.data() + begin, n - begin, u'"', u':', u'\n', u'\r', [&](size_t offset) {
    const size_t at = begin + offset;
    const char16_t c = text[at];
    if (at < skip) return true;
    if (c == u':' || c == u'"') {
      // Quotes count only after the first colon, and none count in a comment.
      colon = colon || (c == u':' && !comment);
      open ^= c == u'"' && colon;
      return true;
    }
    if (s.headEnd == kNotFound) s.headEnd = at;
    skip = at + (c == u'\r' && at + 1 < n && text[at + 1] == u'\n' ? 2 : 1);
    if (open) {
      s.multiLine = true;
      return true;
    }
    s.end = skip;
    if (!visit(s)) {
      stopped = true;
      return false;
    }
    s = {skip, kNotFound, n, true, false};
    comment = IsComment(text, skip);
    colon = false;
    return true;
  });
  if (stopped || s.begin >= n) return;
  if (s.headEnd == kNotFound) s.headEnd = n;
  s.closed = !open;
  visit(s);
}

}  // namespace

Statement StatementAt(UStringView text, size_t begin) {
  Statement found{begin, begin, begin, true, false};
  WalkStatements(text, begin, [&](const Statement& s) {
    found = s;
    return false;
  });
  return found;
}

size_t StatementExtentEnd(UStringView text, const Statement& s) {
  if (!s.multiLine || !text.substr(s.end).starts_with(u"*End")) return s.end;
  const Statement closing = StatementAt(text, s.end);
  return closing.closed ? closing.end : s.end;
}

bool IsStructural(UStringView text, const Statement& s) {
  static constexpr UStringView kKeywords[] = {u"*PPD-Adobe", u"*OpenUI", u"*CloseUI", u"*JCLOpenUI", u"*JCLCloseUI",
                                              u"*OpenGroup", u"*CloseGroup", u"*OpenSubGroup", u"*CloseSubGroup"};
  const UStringView head = text.substr(s.begin, s.headEnd - s.begin);
  for (const UStringView keyword : kKeywords) {
    // The keyword runs to a colon, a blank or a slash, as libcups reads it.
    const UStringView rest = head.substr(std::min(head.size(), keyword.size()));
    if (head.starts_with(keyword) && (rest.empty() || UStringView(u": \t/").find(rest[0]) != UStringView::npos)) {
      return true;
    }
  }
  return false;
}

std::optional<Statement> FindStatementStartingWith(UStringView text, UStringView prefix) {
  // Most searches find no such line at all; only a candidate needs the walk.
  size_t candidate = StringFind(text, prefix);
  while (candidate != kNotFound && !IsLineStart(text, candidate)) candidate = StringFind(text, prefix, candidate + 1);
  if (candidate == kNotFound) return std::nullopt;
  std::optional<Statement> found;
  WalkStatements(text, 0, [&](const Statement& s) {
    if (text.substr(s.begin, s.headEnd - s.begin).starts_with(prefix)) found = s;
    return !found;
  });
  return found;
}

StatementIndex::StatementIndex(UStringView text) : text_(text) {
  WalkStatements(text, 0, [&](const Statement& s) {
    if (s.multiLine || !s.closed) long_.push_back(s);
    return true;
  });
}

Statement StatementIndex::Holding(size_t at) const {
  auto after = std::upper_bound(long_.begin(), long_.end(), at,
                                [](size_t a, const Statement& s) { return a < s.begin; });
  if (after != long_.begin() && at < std::prev(after)->end) return *std::prev(after);
  const LineBounds line = StringGetLineBounds(text_, at);
  return {line.begin, line.contentsEnd, line.end, true, false};
}

bool StatementIndex::InEditableHead(size_t at) const {
  const Statement s = Holding(at);
  return s.closed && at < s.headEnd && !IsStructural(text_, s);
}
