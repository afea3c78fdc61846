#include "ppdtext/option_occurrences.h"

#include <unordered_map>

#include "ppdtext/unit_search.h"

namespace {

// The characters that can follow an option in the patterns looked for; an
// option free of them ends exactly where the run of other characters ends.
constexpr bool IsOptionEnd(char16_t c) {
  return c == u'/' || c == u':' || c == u'"' || c == u' ' || c == u'\t' || c == u'\r' || c == u'\n';
}

bool HasOptionEnd(UStringView option) {
  for (const char16_t c : option) {
    if (IsOptionEnd(c)) return true;
  }
  return false;
}

}  // namespace

std::vector<std::vector<OptionOccurrence>> FindOptionOccurrences(UStringView text,
                                                                 std::span<const UStringView> keywords,
                                                                 std::span<const UStringView> options) {
  std::vector<std::vector<OptionOccurrence>> found(options.size());
  // Options are looked up by the run they would occupy; the rare option that
  // holds an end character itself is compared directly.
  std::unordered_map<UStringView, std::vector<size_t>> by_run;
  std::vector<size_t> direct;
  for (size_t i = 0; i < options.size(); ++i) {
    if (HasOptionEnd(options[i])) {
      direct.push_back(i);
    } else {
      by_run[options[i]].push_back(i);
    }
  }

  const size_t n = text.size();
  for (size_t pos = 0; pos < n;) {
    const size_t at = pos + FindEitherUnit(text.data() + pos, n - pos, u'*', u'.');
    if (at >= n) break;
    pos = at + 1;
    for (uint32_t k = 0; k < keywords.size(); ++k) {
      const UStringView keyword = keywords[k];
      const size_t space = at + 1 + keyword.size();
      if (space >= n || text[space] != u' ' || text.substr(at + 1, keyword.size()) != keyword) continue;
      const size_t start = space + 1;
      size_t end = start;
      while (end < n && !IsOptionEnd(text[end])) ++end;
      if (auto it = by_run.find(text.substr(start, end - start)); it != by_run.end()) {
        for (const size_t i : it->second) found[i].push_back({at, k, text[at], end});
      }
      for (const size_t i : direct) {
        if (text.substr(start).starts_with(options[i])) {
          found[i].push_back({at, k, text[at], start + options[i].size()});
        }
      }
    }
  }
  return found;
}
