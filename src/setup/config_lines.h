// Reading a configuration file as CUPS's own files are read: a '#' starts a
// comment to the end of the line ("\#" is a '#' instead), the blanks around
// what is left are dropped, and a line left empty is skipped. What remains
// of a line is a directive, up to the first blank, and its value, the rest.
#ifndef PPDLOCALIZE_SETUP_CONFIG_LINES_H_
#define PPDLOCALIZE_SETUP_CONFIG_LINES_H_

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

// The part of `line` before its comment, "\#" made '#' (in `scratch` when
// there is one), without the blanks around it.
std::string_view UncommentedLine(std::string_view line, std::string& scratch);

template <typename On>
int ForEachConfigLine(std::string_view text, On on) {
  std::string scratch;
  for (int number = 1; !text.empty(); ++number) {
    const size_t end = text.find('\n');
    const std::string_view raw = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    const std::string_view line = UncommentedLine(raw, scratch);
    if (line.empty()) continue;
    if (line.find('\0') != std::string_view::npos) return number;
    size_t split = 0;
    while (split < line.size() && line[split] != ' ' && line[split] != '\t') ++split;
    std::string_view value = line.substr(split);
    while (!value.empty() && (value.front() == ' ' || value.front() == '\t')) value.remove_prefix(1);
    if (!on(ConfigLine{number, line.substr(0, split), value})) return 0;
  }
  return 0;
}

#endif  // PPDLOCALIZE_SETUP_CONFIG_LINES_H_
