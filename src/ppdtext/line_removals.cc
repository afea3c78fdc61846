#include "ppdtext/line_removals.h"

#include <algorithm>
#include <iterator>

#include "ppdtext/unit_search.h"

bool LineRemovals::IsRemoved(size_t at) const {
  auto it = removed_.upper_bound(at);
  return it != removed_.begin() && at < std::prev(it)->second;
}

size_t LineRemovals::SkipRemoved(size_t at) const {
  auto it = removed_.upper_bound(at);
  if (it == removed_.begin()) return at;
  --it;
  return at < it->second ? it->second : at;
}

size_t LineRemovals::LineEnd(size_t contents_end) const {
  const UStringView text = text_;
  if (contents_end >= text.size()) return text.size();
  if (text[contents_end] == u'\r') {
    const size_t next = SkipRemoved(contents_end + 1);
    if (next < text.size() && text[next] == u'\n') return next + 1;
  }
  return contents_end + 1;
}

size_t LineRemovals::NextQuote(size_t from) const {
  const UStringView text = text_;
  while (from < text.size()) {
    const size_t at = from + FindUnit(text.data() + from, text.size() - from, u'"');
    if (at >= text.size()) return kNotFound;
    if (!IsRemoved(at)) return at;
    from = SkipRemoved(at);
  }
  return kNotFound;
}

size_t LineRemovals::LineBegin(size_t at) const {
  while (at > 0 && !IsLineTerminator(text_[at - 1])) --at;
  return at;
}

size_t LineRemovals::ContentsEnd(size_t at) const {
  const UStringView text = text_;
  return at + FindEitherUnit(text.data() + at, text.size() - at, u'\n', u'\r');
}

StatementRange LineRemovals::StatementAt(size_t at) const {
  // A line that is left is whole in the original text, so its begin and
  // contents end can be read there; only what follows it depends on removals.
  const UStringView text = text_;
  const size_t begin = LineBegin(at);
  const size_t contents_end = ContentsEnd(at);
  const size_t line_end = LineEnd(contents_end);
  const auto first = text.begin();
  if (std::count(first + begin, first + contents_end, u'"') % 2 == 0) return {begin, line_end};

  // Open through every later line that holds an even number of quotes (a
  // line that is left is whole, so its quotes are counted in place).
  size_t end = line_end;
  for (bool open = true; open;) {
    const size_t close = NextQuote(end);
    if (close == kNotFound) return {begin, line_end};
    const size_t close_contents_end = ContentsEnd(close);
    open = std::count(first + close, first + close_contents_end, u'"') % 2 == 0;
    end = LineEnd(close_contents_end);
  }
  const size_t next = SkipRemoved(end);
  if (text.substr(next).starts_with(u"*End")) end = LineEnd(ContentsEnd(next));
  return {begin, end};
}

void LineRemovals::RemoveStatementAt(size_t at) {
  const StatementRange range = StatementAt(at);
  Remove(range.begin, range.end);
}

void LineRemovals::Remove(size_t begin, size_t end) {
  if (begin >= end) return;
  // Merge with every range that overlaps or touches [begin, end).
  auto it = removed_.upper_bound(begin);
  if (it != removed_.begin() && std::prev(it)->second >= begin) --it;
  while (it != removed_.end() && it->first <= end) {
    begin = std::min(begin, it->first);
    end = std::max(end, it->second);
    it = removed_.erase(it);
  }
  removed_.emplace(begin, end);
}

void LineRemovals::Apply() {
  if (removed_.empty()) return;
  char16_t* data = text_.data();
  size_t write = removed_.begin()->first;
  for (auto it = removed_.begin(); it != removed_.end(); ++it) {
    const size_t keep_end = std::next(it) == removed_.end() ? text_.size() : std::next(it)->first;
    std::copy(data + it->second, data + keep_end, data + write);
    write += keep_end - it->second;
  }
  text_.resize(write);
  removed_.clear();
}
