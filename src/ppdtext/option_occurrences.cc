#include "ppdtext/option_occurrences.h"

#include <algorithm>
#include <bitset>
#include <cstring>
#include <unordered_map>

#include "ppdtext/unit_search.h"

namespace {

// The characters that can follow an option in the patterns looked for; an
// option free of them ends exactly where the run of other characters ends.
constexpr bool IsOptionEnd(char16_t c) {
  return c == u'/' || c == u':' || c == u'"' || c == u' ' || c == u'\t' || c == u'\r' || c == u'\n';
}

constexpr bool IsBlank(char16_t c) { return c == u' ' || c == u'\t'; }

bool HasOptionEnd(UStringView option) {
  for (const char16_t c : option) {
    if (IsOptionEnd(c)) return true;
  }
  return false;
}

}  // namespace

OptionOccurrences FindOptionOccurrences(UStringView text, std::span<const UStringView> keywords,
                                        std::span<const UStringView> options, std::span<const UStringView> heads) {
  OptionOccurrences found;
  found.options.resize(options.size());
  // Options are looked up by the run they would occupy; the rare option that
  // holds an end character itself is compared directly. Runs whose first
  // unit no option starts with are passed over without a lookup.
  std::unordered_map<UStringView, std::vector<size_t>> by_run;
  std::vector<size_t> direct;
  std::bitset<128> run_firsts;
  bool any_run_first = false;  // an empty option, or one starting above ASCII
  for (size_t i = 0; i < options.size(); ++i) {
    if (HasOptionEnd(options[i])) {
      direct.push_back(i);
      continue;
    }
    by_run[options[i]].push_back(i);
    if (options[i].empty() || options[i][0] >= 128) {
      any_run_first = true;
    } else {
      run_firsts.set(options[i][0]);
    }
  }
  auto may_start_run = [&](char16_t c) { return any_run_first || (c < 128 && run_firsts.test(c)); };

  // Only a lead followed by a keyword's or a head's next unit can start
  // something wanted.
  std::vector<char16_t> seconds;
  auto want_second = [&](char16_t c) {
    if (std::find(seconds.begin(), seconds.end(), c) == seconds.end()) seconds.push_back(c);
  };
  for (const UStringView keyword : keywords) want_second(keyword.empty() ? u' ' : keyword[0]);
  for (const UStringView head : heads) want_second(head.size() > 1 ? head[1] : u'\0');

  const size_t n = text.size();
  auto visit = [&](size_t at) {
    if (text[at] == u'*' && !heads.empty() && IsLineStart(text, at)) {
      for (const UStringView head : heads) {
        if (text.substr(at).starts_with(head)) {
          found.heads.push_back(at);
          break;
        }
      }
    }
    for (uint32_t k = 0; k < keywords.size(); ++k) {
      const UStringView keyword = keywords[k];
      const size_t gap = at + 1 + keyword.size();
      if ((!keyword.empty() && text[at + 1] != keyword[0]) || gap >= n || !IsBlank(text[gap]) ||
          std::memcmp(text.data() + at + 1, keyword.data(), keyword.size() * sizeof(char16_t)) != 0) {
        continue;
      }
      size_t spaced = gap;
      while (spaced < n && IsBlank(text[spaced])) ++spaced;
      const auto add = [&](size_t start, uint8_t forms) {
        if (start < n ? may_start_run(text[start]) : any_run_first) {
          size_t end = start;
          while (end < n && !IsOptionEnd(text[end])) ++end;
          if (auto it = by_run.find(text.substr(start, end - start)); it != by_run.end()) {
            for (const size_t i : it->second) found.options[i].push_back({at, k, text[at], end, forms});
          }
        }
        for (const size_t i : direct) {
          if (text.substr(start).starts_with(options[i])) {
            found.options[i].push_back({at, k, text[at], start + options[i].size(), forms});
          }
        }
      };
      const bool literal = text[gap] == u' ';
      if (literal) add(gap + 1, spaced == gap + 1 ? kLiteral | kSpaced : kLiteral);
      if (!literal || spaced != gap + 1) add(spaced, kSpaced);
    }
  };
  if (seconds.size() <= 4) {
    ForEachUnitPair(text.data(), n, u'*', u'.', seconds.data(), seconds.size(), visit);
  } else {
    // More than four distinct second units: visit every lead instead.
    for (size_t at = 0; at + 1 < n; ++at) {
      if ((text[at] == u'*' || text[at] == u'.') &&
          std::find(seconds.begin(), seconds.end(), text[at + 1]) != seconds.end()) {
        visit(at);
      }
    }
  }
  return found;
}
