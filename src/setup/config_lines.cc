#include "setup/config_lines.h"

#include <strings.h>

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

}  // namespace

std::string_view UnescapedLine(std::string_view line, std::string& scratch) {
  scratch.clear();
  for (size_t at = 0; at < line.size() && line[at] != '#'; ++at) {
    if (line[at] == '\\' && at + 1 < line.size() && line[at + 1] == '#') ++at;
    scratch += line[at];
  }
  return Trim(scratch);
}

bool DirectiveIs(std::string_view directive, std::string_view name) {
  return directive.size() == name.size() && strncasecmp(directive.data(), name.data(), name.size()) == 0;
}
