#include "ppdtext/statement_removals.h"

#include <algorithm>
#include <iterator>

bool StatementRemovals::IsRemoved(size_t at) const {
  auto it = removed_.upper_bound(at);
  return it != removed_.begin() && at < std::prev(it)->second;
}

size_t StatementRemovals::SkipRemoved(size_t at) const {
  auto it = removed_.upper_bound(at);
  if (it == removed_.begin()) return at;
  --it;
  return at < it->second ? it->second : at;
}

size_t StatementRemovals::JoinedEnd(size_t end) const {
  if (end == 0 || text_[end - 1] != u'\r') return end;
  const size_t next = SkipRemoved(end);
  return next < text_.size() && text_[next] == u'\n' ? next + 1 : end;
}

void StatementRemovals::RemoveStatementAt(size_t at) {
  const Statement s = index_.Holding(at);
  const size_t end = JoinedEnd(s.end);
  Remove(s.begin, end);
  if (!s.multiLine) return;
  const size_t next = SkipRemoved(end);
  if (UStringView(text_).substr(next).starts_with(u"*End")) {
    const Statement closing = index_.Holding(next);
    if (closing.closed) Remove(next, JoinedEnd(closing.end));
  }
}

void StatementRemovals::Remove(size_t begin, size_t end) {
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

void StatementRemovals::Apply() {
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
