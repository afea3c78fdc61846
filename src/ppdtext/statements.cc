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

}  // namespace

Statement StatementAt(UStringView text, size_t begin) {
  const char16_t* data = text.data();
  const size_t n = text.size();
  Statement s{begin, kNotFound, n, true, false};
  // Quotes count only after the first colon, and none count in a comment.
  const bool comment = IsComment(text, begin);
  bool colon = false;
  size_t colon_from = begin;
  bool open = false;
  for (size_t at = begin;;) {
    const size_t stop = at + FindAnyUnit(data + at, n - at, u'"', u'\n', u'\r');
    if (stop == n) {
      if (s.headEnd == kNotFound) s.headEnd = n;
      s.closed = !open;
      return s;
    }
    if (data[stop] == u'"') {
      if (!colon && !comment) {
        colon = FindUnit(data + colon_from, stop - colon_from, u':') < stop - colon_from;
        colon_from = stop;
      }
      open ^= colon;
      at = stop + 1;
      continue;
    }
    if (s.headEnd == kNotFound) s.headEnd = stop;
    at = stop + (data[stop] == u'\r' && stop + 1 < n && data[stop + 1] == u'\n' ? 2 : 1);
    if (!open) {
      s.end = at;
      return s;
    }
    s.multiLine = true;
  }
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
  for (size_t at = 0; at < text.size();) {
    const Statement s = StatementAt(text, at);
    if (text.substr(s.begin, s.headEnd - s.begin).starts_with(prefix)) return s;
    at = s.end;
  }
  return std::nullopt;
}

StatementIndex::StatementIndex(UStringView text) : text_(text) {
  for (size_t at = 0; at < text.size();) {
    const Statement s = StatementAt(text, at);
    if (s.multiLine || !s.closed) long_.push_back(s);
    at = s.end;
  }
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
