#include "ppdtext/text_edits.h"

#include <algorithm>
#include <iterator>

namespace {

bool Holds(std::span<const UString> list, UStringView item) {
  return std::find(list.begin(), list.end(), item) != list.end();
}

}  // namespace

bool TextEdits::IsRemoved(size_t at) const {
  auto it = edits_.upper_bound(at);
  return it != edits_.begin() && at < std::prev(it)->second.end;
}

size_t TextEdits::SkipRemoved(size_t at) const {
  for (;;) {
    auto it = edits_.upper_bound(at);
    if (it == edits_.begin()) return at;
    --it;
    if (at >= it->second.end) return at;
    if (it->second.line >= 0) return it->first;
    at = it->second.end;  // a removal may touch a replaced range
  }
}

size_t TextEdits::JoinedEnd(size_t end) const {
  if (end == 0 || text_[end - 1] != u'\r') return end;
  const size_t next = SkipRemoved(end);
  return next < text_.size() && text_[next] == u'\n' && !IsRemoved(next) ? next + 1 : end;
}

size_t TextEdits::ExtentEnd(const Statement& s) const {
  if (!s.multiLine) return s.end;
  // A replacing line is never taken for an `*End`.
  const size_t next = SkipRemoved(s.end);
  if (IsRemoved(next) || !text_.substr(next).starts_with(u"*End")) return s.end;
  const Statement closing = index_->Holding(next);
  return closing.closed ? closing.end : s.end;
}

void TextEdits::RemoveStatementAt(size_t at) {
  const Statement s = index_->Holding(at);
  const size_t end = JoinedEnd(s.end);
  Remove(s.begin, end);
  if (!s.multiLine) return;
  const size_t next = SkipRemoved(end);
  if (!IsRemoved(next) && text_.substr(next).starts_with(u"*End")) {
    const Statement closing = index_->Holding(next);
    if (closing.closed) Remove(next, JoinedEnd(closing.end));
  }
}

void TextEdits::Remove(size_t begin, size_t end) {
  if (begin >= end) return;
  // Merge with every removal that overlaps or touches [begin, end).
  auto it = edits_.upper_bound(begin);
  if (it != edits_.begin() && std::prev(it)->second.end >= begin && std::prev(it)->second.line < 0) --it;
  while (it != edits_.end() && it->first <= end && it->second.line < 0) {
    begin = std::min(begin, it->first);
    end = std::max(end, it->second.end);
    it = edits_.erase(it);
  }
  edits_.emplace(begin, Edit{end, -1});
}

std::optional<size_t> TextEdits::FindStatementStartingWith(UStringView prefix) {
  if (prefix.empty() || prefix[0] != u'*' || prefix.find_first_of(u"\r\n") != UStringView::npos) return std::nullopt;
  std::optional<size_t> found;
  for (const size_t at : FindOptions({}, {}, {&prefix, 1}).heads) {
    if (!IsRemoved(at) && index_->Holding(at).begin == at) {
      found = at;
      break;
    }
  }
  for (const auto& [begin, edit] : edits_) {
    if (found && begin > *found) break;
    if (edit.line >= 0 && UStringView(lines_[static_cast<size_t>(edit.line)]).starts_with(prefix)) return begin;
  }
  return found;
}

void TextEdits::ReplaceStatementAt(size_t begin, UStringView line) {
  if (auto it = edits_.find(begin); it != edits_.end() && it->second.line >= 0) {
    lines_[static_cast<size_t>(it->second.line)] = line;
    return;
  }
  const Statement s = index_->Holding(begin);
  if (!s.closed) return;
  const size_t end = ExtentEnd(s);
  // What lies between the statement and its `*End` is removed already.
  edits_.erase(edits_.lower_bound(begin), edits_.lower_bound(end));
  edits_.emplace(begin, Edit{end, static_cast<int>(lines_.size())});
  lines_.emplace_back(line);
}

bool TextEdits::Covers(std::span<const UStringView> keywords, std::span<const UStringView> options,
                       std::span<const UStringView> heads) const {
  // Without options the keywords make no difference.
  if (!scan_ || (!options.empty() && !std::equal(keywords.begin(), keywords.end(), scan_->keywords.begin(),
                                                  scan_->keywords.end()))) {
    return false;
  }
  return std::all_of(options.begin(), options.end(), [&](UStringView o) { return Holds(scan_->options, o); }) &&
         std::all_of(heads.begin(), heads.end(), [&](UStringView h) { return Holds(scan_->heads, h); });
}

OptionOccurrences TextEdits::FindOptions(std::span<const UStringView> keywords, std::span<const UStringView> options,
                                         std::span<const UStringView> heads) {
  if (!Covers(keywords, options, heads)) {
    ++full_scans_;
    return FindOptionOccurrences(text_, keywords, options, heads);
  }
  // Each option's occurrences, and where each head stands, do not depend on
  // what else a scan looked for.
  OptionOccurrences found;
  for (const UStringView option : options) {
    const size_t i = std::find(scan_->options.begin(), scan_->options.end(), option) - scan_->options.begin();
    found.options.push_back(scan_->found.options[i]);
  }
  for (const size_t at : scan_->found.heads) {
    const UStringView line = text_.substr(at);
    if (std::any_of(heads.begin(), heads.end(), [&](UStringView h) { return line.starts_with(h); })) {
      found.heads.push_back(at);
    }
  }
  return found;
}

void TextEdits::ScanAhead(std::span<const UStringView> keywords, std::span<const UStringView> options,
                          std::span<const UStringView> heads) {
  auto scan = std::make_shared<Scan>(
      Scan{{keywords.begin(), keywords.end()}, {options.begin(), options.end()}, {heads.begin(), heads.end()}, {}});
  scan->found = FindOptionOccurrences(text_, keywords, options, heads);
  scan_ = std::move(scan);
}

size_t TextEdits::EditedSize() const {
  size_t size = 0;
  ForEachPiece([&](UStringView piece) { size += piece.size(); });
  return size;
}

void TextEdits::ApplyTo(UString& text) const {
  if (edits_.empty()) return;
  if (lines_.empty()) {
    // Removals only: the gaps close in place, front to back.
    char16_t* data = text.data();
    size_t write = edits_.begin()->first;
    for (auto it = edits_.begin(); it != edits_.end(); ++it) {
      const size_t keep_end = std::next(it) == edits_.end() ? text.size() : std::next(it)->first;
      std::copy(data + it->second.end, data + keep_end, data + write);
      write += keep_end - it->second.end;
    }
    text.resize(write);
    return;
  }
  UString edited;
  edited.reserve(EditedSize());
  ForEachPiece([&](UStringView piece) { edited.append(piece); });
  text.swap(edited);
}
