#include "fuzz_support.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace fuzz {

void Fail(const char* property, std::string_view detail) {
  std::fprintf(stderr, "\n*** property broken: %s\n", property);
  if (!detail.empty()) {
    std::fprintf(stderr, "%.*s\n", static_cast<int>(std::min<size_t>(detail.size(), 4000)), detail.data());
  }
  std::fflush(stderr);
  std::abort();
}

Fields SplitFields(const uint8_t* data, size_t size, size_t count) {
  std::string_view rest(reinterpret_cast<const char*>(data), size);
  Fields out;
  for (size_t i = 0; i < count; ++i) {
    const size_t zero = rest.find('\0');
    if (zero == std::string_view::npos) {
      out.fields.push_back(rest);
      rest = {};
      continue;
    }
    out.fields.push_back(rest.substr(0, zero));
    rest.remove_prefix(zero + 1);
  }
  out.rest = rest;
  return out;
}

UString ToText(std::string_view bytes) {
  if (std::optional<UString> text = StringCreateWithUTF8(bytes)) return *std::move(text);
  UString widened;
  widened.reserve(bytes.size());
  for (const char c : bytes) widened.push_back(static_cast<unsigned char>(c));
  return widened;
}

std::string Show(UStringView text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] >= 0xD800 && text[i] <= 0xDFFF) {
      const bool pair = text[i] <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
                        text[i + 1] <= 0xDFFF;
      if (pair) {
        StringAppendUTF8(text.substr(i, 2), out);
        ++i;
      } else {
        out.push_back('?');
      }
      continue;
    }
    StringAppendUTF8(text.substr(i, 1), out);
  }
  return out;
}

namespace {

// End of the line that starts at `begin`: past its terminator, or the end.
size_t LineEnd(UStringView text, size_t begin) {
  size_t at = begin;
  while (at < text.size() && text[at] != u'\n' && text[at] != u'\r') ++at;
  if (at == text.size()) return at;
  if (text[at] == u'\r' && at + 1 < text.size() && text[at + 1] == u'\n') return at + 2;
  return at + 1;
}

// Start of the line that holds `index` (not a position after a CR of CR LF).
size_t LineStartOf(UStringView text, size_t index) {
  while (index > 0 && text[index - 1] != u'\n' && text[index - 1] != u'\r') --index;
  return index;
}

void AddPosition(std::vector<size_t>& positions, size_t p) {
  const auto at = std::lower_bound(positions.begin(), positions.end(), p);
  if (at == positions.end() || *at != p) positions.insert(at, p);
}

}  // namespace

std::vector<UStringView> Lines(UStringView text) {
  std::vector<UStringView> lines;
  for (size_t at = 0; at < text.size();) {
    const size_t end = LineEnd(text, at);
    lines.push_back(text.substr(at, end - at));
    at = end;
  }
  return lines;
}

UStringView LineFrom(UStringView text, size_t begin) {
  return text.substr(begin, LineEnd(text, begin) - begin);
}

UStringView Contents(UStringView line) {
  while (!line.empty() && (line.back() == u'\n' || line.back() == u'\r')) line.remove_suffix(1);
  return line;
}

bool HasLineTerminator(UStringView text) {
  return text.find_first_of(u"\r\n") != UStringView::npos;
}

bool IsWholeLineSubsequence(UStringView in, UStringView out,
                            const std::function<bool(UStringView line)>& inserted) {
  // The output positions that the input lines taken so far can reach. Of two
  // positions at the start of an output line, the later one does at least as
  // well, since every such position is also a boundary between the lines
  // that make up the rest; so only the furthest of them is kept, with the
  // furthest that lies between a CR and its LF (where an input line ending
  // in CR met an output line ending in CR LF).
  std::vector<size_t> reach = {0};
  auto prune = [&] {
    size_t clean = 0;
    size_t split = 0;
    bool have_clean = false;
    bool have_split = false;
    for (const size_t p : reach) {
      const bool between = p > 0 && p < out.size() && out[p - 1] == u'\r' && out[p] == u'\n';
      if (between) {
        split = have_split ? std::max(split, p) : p;
        have_split = true;
      } else {
        clean = have_clean ? std::max(clean, p) : p;
        have_clean = true;
      }
    }
    reach.clear();
    if (have_clean) reach.push_back(clean);
    if (have_split) reach.push_back(split);
    std::sort(reach.begin(), reach.end());
  };
  auto close_over_inserted = [&] {
    if (!inserted) return;
    for (size_t i = 0; i < reach.size(); ++i) {  // `reach` grows at the back only
      const size_t p = reach[i];
      if (p >= out.size()) continue;
      const size_t end = LineEnd(out, p);
      if (inserted(out.substr(p, end - p))) AddPosition(reach, end);
    }
  };
  close_over_inserted();
  for (const UStringView line : Lines(in)) {
    const size_t count = reach.size();
    for (size_t i = 0; i < count; ++i) {
      const size_t p = reach[i];
      if (out.substr(p).starts_with(line)) reach.push_back(p + line.size());
    }
    prune();
    close_over_inserted();
    prune();
  }
  return std::binary_search(reach.begin(), reach.end(), out.size());
}

size_t StatementEnd(UStringView text, size_t begin) {
  const size_t line_end = LineEnd(text, begin);
  const UStringView line = Contents(text.substr(begin, line_end - begin));
  if (std::count(line.begin(), line.end(), u'"') % 2 == 0) return line_end;
  size_t end = line_end;
  for (bool open = true; open;) {
    const size_t close = text.find(u'"', end);
    if (close == UStringView::npos) return line_end;
    const size_t closing_end = LineEnd(text, LineStartOf(text, close));
    const UStringView rest = Contents(text.substr(close, closing_end - close));
    open = std::count(rest.begin(), rest.end(), u'"') % 2 == 0;
    end = closing_end;
  }
  if (text.substr(end).starts_with(u"*End")) end = LineEnd(text, end);
  return end;
}

std::vector<size_t> TopLevelStatementStarts(UStringView text) {
  std::vector<size_t> starts;
  for (size_t at = 0; at < text.size(); at = StatementEnd(text, at)) starts.push_back(at);
  return starts;
}

bool MentionsOtherPaperOption(UStringView line) {
  const UStringView rest = line.substr(1);  // past the option's own asterisk
  for (const UStringView keyword : {u"PageRegion ", u"PageSize ", u"PaperDimension ", u"ImageableArea "}) {
    for (size_t at = rest.find(keyword); at != UStringView::npos; at = rest.find(keyword, at + 1)) {
      if (at > 0 && (rest[at - 1] == u'*' || rest[at - 1] == u'.')) return true;
    }
  }
  return Contains(line, u"UIConstraints");
}

bool MatchesOnlyAtStatementStarts(UStringView text, const std::function<bool(UStringView line)>& matches) {
  const std::vector<size_t> starts = TopLevelStatementStarts(text);
  for (size_t at = 0; at < text.size();) {
    const size_t end = LineEnd(text, at);
    if (matches(text.substr(at, end - at)) && !std::binary_search(starts.begin(), starts.end(), at)) return false;
    at = end;
  }
  return true;
}

size_t FirstLineStartingWith(UStringView text, UStringView prefix) {
  if (prefix.empty()) return kNotFound;
  for (size_t at = 0; at < text.size(); at = LineEnd(text, at)) {
    if (text.substr(at).starts_with(prefix)) return at;
  }
  return kNotFound;
}

bool Contains(UStringView text, UStringView needle) {
  return !needle.empty() && text.find(needle) != UStringView::npos;
}

std::string MustEncode(UStringView text, const char* what) {
  std::optional<std::string> bytes = StringCopyUTF8(text);
  if (!bytes) Fail(what, Show(text));
  return *std::move(bytes);
}

}  // namespace fuzz
