// Reading a configuration file as CUPS's own files are read: a '#' starts a
// comment to the end of the line ("\#" is a '#' instead), the blanks around
// what is left are dropped, and a line left empty is skipped. What remains
// of a line is a directive, up to the first blank, and its value, the rest.
#ifndef PPDLOCALIZE_SETUP_CONFIG_LINES_H_
#define PPDLOCALIZE_SETUP_CONFIG_LINES_H_

#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>

struct ConfigLine {
  int number;                  // counted from 1
  std::string_view directive;  // as written
  std::string_view value;      // blanks around it dropped
};

// Calls on(line) for each line that holds a directive, in order, until it
// answers false. The views are valid during the call only. A line that holds
// a zero byte ends the reading: the answer is its number; otherwise 0.
template <typename On>
int ForEachConfigLine(std::string_view text, On on);

// Whether `directive` is `name`, whose case does not matter (as in CUPS).
bool DirectiveIs(std::string_view directive, std::string_view name);

// Implementation.

// The part of `line` before its comment, "\#" made '#' (in `scratch`), without
// the blanks around it: for a line that holds an escaped '#'.
std::string_view UnescapedLine(std::string_view line, std::string& scratch);

template <typename On>
int ForEachConfigLine(std::string_view text, On on) {
  // Rules files run to thousands of short lines: each line's end is found
  // with memchr, and comments and zero bytes, which most lines lack, are
  // looked for once over the whole text.
  std::string scratch;
  const char* p = text.data();
  const char* const end = p + text.size();
  const auto next = [&](const char* from, char c) {
    const void* found = from < end ? std::memchr(from, c, static_cast<size_t>(end - from)) : nullptr;
    return found != nullptr ? static_cast<const char*>(found) : end;
  };
  const char* hash = next(p, '#');
  const bool zeros = next(p, '\0') != end;
  for (int number = 1; p < end; ++number) {
    while (p < end && (*p == ' ' || *p == '\t')) ++p;
    const char* const begin = p;
    const char* const newline = next(p, '\n');
    p = newline + (newline < end ? 1 : 0);
    const char* stop = newline;
    bool escaped = false;
    for (; hash < newline; hash = next(hash + 1, '#')) {
      if (hash < begin) continue;
      if (hash > begin && hash[-1] == '\\') {
        escaped = true;
        continue;
      }
      stop = hash;
      break;
    }
    if (hash < newline) hash = next(newline, '#');
    std::string_view line;
    if (escaped) {
      line = UnescapedLine(std::string_view(begin, static_cast<size_t>(newline - begin)), scratch);
    } else {
      while (stop > begin && (stop[-1] == ' ' || stop[-1] == '\t' || stop[-1] == '\r')) --stop;
      line = std::string_view(begin, static_cast<size_t>(stop - begin));
    }
    if (line.empty()) continue;
    if (zeros && line.find('\0') != std::string_view::npos) return number;
    size_t split = 0;
    while (split < line.size() && line[split] != ' ' && line[split] != '\t') ++split;
    size_t value = split;
    while (value < line.size() && (line[value] == ' ' || line[value] == '\t')) ++value;
    if (!on(ConfigLine{number, line.substr(0, split), line.substr(value)})) return 0;
  }
  return 0;
}

#endif  // PPDLOCALIZE_SETUP_CONFIG_LINES_H_
