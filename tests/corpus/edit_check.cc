#include "edit_check.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace corpus {

namespace {

constexpr std::array<std::string_view, 4> kPaperKeywords = {"PageSize", "PageRegion", "PaperDimension",
                                                           "ImageableArea"};

bool EndsName(std::string_view rest, size_t at) {
  if (at == rest.size()) return true;
  const char c = rest[at];
  return c == '/' || c == ':' || c == '"' || c == ' ' || c == '\t';
}

size_t CountQuotes(std::string_view text) { return static_cast<size_t>(std::count(text.begin(), text.end(), '"')); }

std::string Show(std::string_view text) {
  constexpr size_t kMax = 160;
  std::string shown = "`" + std::string(text.substr(0, kMax));
  if (text.size() > kMax) shown += "...";
  return shown + "`";
}

std::string ShowEnd(std::string_view end) {
  if (end == "\n") return "LF";
  if (end == "\r") return "CR";
  if (end == "\r\n") return "CR LF";
  return "none";
}

std::string JoinNames(const std::vector<std::string_view>& names) {
  if (names.empty()) return "none";
  std::string joined;
  for (std::string_view name : names) joined += (joined.empty() ? "" : " ") + std::string(name);
  return joined;
}

class Comparison {
 public:
  Comparison(std::string_view input, std::string_view output, const AllowedEdits& allowed)
      : in_(SplitLines(input)), out_(SplitLines(output)), allowed_(allowed) {
    names_.resize(in_.size());
    owner_.assign(in_.size(), kNone);
    for (size_t i = 0; i < in_.size(); ++i) {
      names_[i] = NamesPaper(in_[i].text, allowed.deleted_names);
      has_default_duplex_ = has_default_duplex_ || in_[i].text.starts_with("*DefaultDuplex:");
    }
    // A removed line that opens a quoted value without closing it takes the
    // value's lines with it, through the line holding the next double quote,
    // and a directly following *End line.
    for (size_t i = 0; i < in_.size(); ++i) {
      if (!names_[i] || CountQuotes(in_[i].text) % 2 == 0) continue;
      size_t close = i + 1;
      while (close < in_.size() && in_[close].text.find('"') == std::string_view::npos) ++close;
      if (close == in_.size()) continue;
      for (size_t j = i + 1; j <= close; ++j) {
        if (owner_[j] == kNone) owner_[j] = i;
      }
      if (close + 1 < in_.size() && in_[close + 1].text.starts_with("*End") && owner_[close + 1] == kNone) {
        owner_[close + 1] = i;
      }
    }
    country_line_ = "*ISOCountryCode: \"" + allowed.country + "\"";
  }

  EditReport Run() {
    EditReport report;
    kept_as_.assign(in_.size(), kNone);
    std::string greedy_problem = AlignGreedily();
    if (!greedy_problem.empty()) {
      kept_as_.assign(in_.size(), kNone);
      if (!AlignExhaustively()) {
        report.problem = greedy_problem;
        return report;
      }
    }
    size_t duplex_rewrites = 0;
    size_t country_rewrites = 0;
    for (size_t i = 0; i < in_.size(); ++i) {
      if (kept_as_[i] == kNone) {
        ++report.removed_lines;
        if (!names_[i] && owner_[i] != kNone && kept_as_[owner_[i]] != kNone) {
          report.problem = "input line " + std::to_string(i + 1) + " " + Show(in_[i].text) +
                           " was removed as part of the multi-line value opened on line " +
                           std::to_string(owner_[i] + 1) + ", but that line was kept";
          return report;
        }
      } else if (!Same(i, kept_as_[i])) {
        ++report.rewritten_lines;
        (in_[i].text.starts_with("*ISOCountryCode:") ? country_rewrites : duplex_rewrites)++;
      }
    }
    if (duplex_rewrites > 1 || country_rewrites > 1) {
      report.problem = "rewrote " + std::to_string(duplex_rewrites) + " duplex default lines and " +
                       std::to_string(country_rewrites) + " country-code lines; at most one of each may change";
    }
    return report;
  }

 private:
  static constexpr size_t kNone = static_cast<size_t>(-1);

  bool Deletable(size_t i) const { return names_[i] || owner_[i] != kNone; }

  bool Same(size_t i, size_t j) const { return in_[i].text == out_[j].text && in_[i].end == out_[j].end; }

  // A rewritten line is a whole new line ending in one line feed.
  bool Rewritten(size_t i, size_t j) const {
    const Line& was = in_[i];
    const Line& now = out_[j];
    if (now.end != "\n") return false;
    if (allowed_.duplex_default) {
      if (now.text == "*DefaultDuplex: DuplexNoTumble" && was.text.starts_with("*DefaultDuplex:")) return true;
      if (!has_default_duplex_ && now.text == "*DefaultQZDuplex: DuplexNoTumble" &&
          was.text.starts_with("*DefaultQZDuplex:")) {
        return true;
      }
    }
    return allowed_.country_code && now.text == country_line_ && was.text.starts_with("*ISOCountryCode:");
  }

  bool Matches(size_t i, size_t j) const { return Same(i, j) || Rewritten(i, j); }

  std::string RemovedWrongly(size_t i) const {
    return "input line " + std::to_string(i + 1) + " " + Show(in_[i].text) +
           " is missing from the output, but it names none of the paper sizes deleted here (" +
           JoinNames(allowed_.deleted_names) + ") and is no part of a removed multi-line value";
  }

  // Keeps every input line that can be kept; cheap, and right unless a
  // removable line happens to equal the next kept one.
  std::string AlignGreedily() {
    size_t i = 0;
    size_t j = 0;
    while (j < out_.size()) {
      if (i == in_.size()) {
        return "output line " + std::to_string(j + 1) + " " + Show(out_[j].text) +
               " is not an input line (or not in the input's order)";
      }
      if (Matches(i, j)) {
        kept_as_[i++] = j++;
      } else if (Deletable(i)) {
        ++i;
      } else if (in_[i].text == out_[j].text) {
        return "line " + std::to_string(i + 1) + " " + Show(in_[i].text) + " ended in " + ShowEnd(in_[i].end) +
               " in the input but ends in " + ShowEnd(out_[j].end) + " in the output";
      } else {
        for (size_t later = i + 1; later < in_.size(); ++later) {
          if (Matches(later, j)) return RemovedWrongly(i);
        }
        return "output line " + std::to_string(j + 1) + " " + Show(out_[j].text) +
               " is not an input line (nor an allowed rewrite); the input has line " + std::to_string(i + 1) +
               " " + Show(in_[i].text) + " there";
      }
    }
    for (; i < in_.size(); ++i) {
      if (!Deletable(i)) return RemovedWrongly(i);
    }
    return {};
  }

  // Every alignment that removes only removable lines, searched by dynamic
  // programming over (lines removed so far, output lines matched).
  bool AlignExhaustively() {
    const size_t n = in_.size();
    const size_t m = out_.size();
    if (m > n) return false;
    const size_t d = n - m;
    constexpr size_t kMaxCells = size_t{64} << 20;
    if ((d + 1) > kMaxCells / (m + 1)) return false;
    std::vector<uint8_t> reach((d + 1) * (m + 1), 0);
    auto at = [m](size_t k, size_t j) { return k * (m + 1) + j; };
    for (size_t k = 0; k <= d; ++k) {
      for (size_t j = 0; j <= m; ++j) {
        if (k == 0 && j == 0) {
          reach[0] = 1;
          continue;
        }
        reach[at(k, j)] = (j > 0 && reach[at(k, j - 1)] && Matches(k + j - 1, j - 1)) ||
                          (k > 0 && reach[at(k - 1, j)] && Deletable(k - 1 + j));
      }
    }
    if (!reach[at(d, m)]) return false;
    for (size_t k = d, j = m; k > 0 || j > 0;) {
      if (j > 0 && reach[at(k, j - 1)] && Matches(k + j - 1, j - 1)) {
        kept_as_[k + j - 1] = j - 1;
        --j;
      } else {
        --k;
      }
    }
    return true;
  }

  std::vector<Line> in_;
  std::vector<Line> out_;
  const AllowedEdits& allowed_;
  std::vector<char> names_;
  std::vector<size_t> owner_;
  std::vector<size_t> kept_as_;
  bool has_default_duplex_ = false;
  std::string country_line_;
};

}  // namespace

std::vector<Line> SplitLines(std::string_view text) {
  std::vector<Line> lines;
  size_t at = 0;
  while (at < text.size()) {
    const size_t stop = text.find_first_of("\r\n", at);
    if (stop == std::string_view::npos) {
      lines.push_back({text.substr(at), {}});
      break;
    }
    const size_t length = text[stop] == '\r' && stop + 1 < text.size() && text[stop + 1] == '\n' ? 2 : 1;
    lines.push_back({text.substr(at, stop - at), text.substr(stop, length)});
    at = stop + length;
  }
  return lines;
}

bool NamesPaper(std::string_view line, const std::vector<std::string_view>& names) {
  if (names.empty()) return false;
  for (std::string_view keyword : kPaperKeywords) {
    for (size_t at = line.find(keyword); at != std::string_view::npos; at = line.find(keyword, at + 1)) {
      if (at == 0 || (line[at - 1] != '*' && line[at - 1] != '.')) continue;
      const size_t blank = at + keyword.size();
      if (blank >= line.size() || line[blank] != ' ') continue;
      const std::string_view rest = line.substr(blank + 1);
      for (std::string_view name : names) {
        if (rest.starts_with(name) && EndsName(rest, name.size())) return true;
      }
    }
  }
  return false;
}

EditReport CheckEdits(std::string_view input, std::string_view output, const AllowedEdits& allowed) {
  return Comparison(input, output, allowed).Run();
}

}  // namespace corpus
