#include "driver/driver_config.h"

#include <strings.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "setup/locale_country.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

// The line up to its first '#' that no backslash escapes, with each "\#"
// made '#', as in CUPS's configuration files.
std::string WithoutComment(std::string_view line) {
  std::string kept;
  for (size_t at = 0; at < line.size() && line[at] != '#'; ++at) {
    if (line[at] == '\\' && at + 1 < line.size() && line[at + 1] == '#') ++at;
    kept += line[at];
  }
  return kept;
}

bool NameIs(std::string_view name, const char* directive) {
  return name.size() == std::strlen(directive) && strncasecmp(name.data(), directive, name.size()) == 0;
}

}  // namespace

std::string DriverConfigPath() {
  const char* root = std::getenv("CUPS_SERVERROOT");
  return std::string(root != nullptr && *root != '\0' ? root : "/etc/cups") + "/ppd-localize.conf";
}

std::optional<DriverConfig> ParseDriverConfig(std::string_view text, const std::string& path, std::string* error) {
  DriverConfig config;
  bool directories_given = false;
  int country_line = 0, default_country_line = 0;
  int number = 0;
  const auto fail = [&](const std::string& reason) -> std::optional<DriverConfig> {
    *error = path + ": line " + std::to_string(number) + ": " + reason;
    return std::nullopt;
  };
  while (!text.empty()) {
    ++number;
    const size_t end = text.find('\n');
    const std::string uncommented = WithoutComment(text.substr(0, end));
    const std::string_view line = Trim(uncommented);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (line.empty()) continue;
    if (line.find('\0') != std::string_view::npos) return fail("holds a zero byte");
    size_t split = 0;
    while (split < line.size() && !IsBlank(line[split])) ++split;
    const std::string_view name = line.substr(0, split);
    const std::string value(Trim(line.substr(split)));
    if (NameIs(name, "PPDDirectory")) {
      if (value.empty() || value.front() != '/') return fail("PPDDirectory takes an absolute directory");
      if (!directories_given) config.ppd_directories.clear();
      directories_given = true;
      const size_t last = value.find_last_not_of('/');  // "/a/" names files "/a/x", not "/a//x"
      config.ppd_directories.push_back(last == std::string::npos ? "/" : value.substr(0, last + 1));
    } else if (NameIs(name, "Country") || NameIs(name, "DefaultCountry")) {
      const bool forced = NameIs(name, "Country");
      const char* spelled = forced ? "Country" : "DefaultCountry";
      int& seen = forced ? country_line : default_country_line;
      if (seen != 0) return fail(std::string(spelled) + " given again (first on line " + std::to_string(seen) + ")");
      if (const std::optional<std::string> problem = GivenCountryCodeProblem(value)) {
        return fail(std::string(spelled) + " " + *problem);
      }
      seen = number;
      (forced ? config.country : config.default_country) = value;
    } else {
      return fail("unknown directive \"" + std::string(name) + "\"");
    }
  }
  return config;
}

std::optional<DriverConfig> ReadDriverConfig(const std::string& path, std::string* error) {
  FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) {
    if (errno == ENOENT) return DriverConfig{};
    *error = path + ": cannot read it: " + std::strerror(errno);
    return std::nullopt;
  }
  std::string text;
  char buffer[4096];
  size_t got = 0;
  while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) text.append(buffer, got);
  const bool failed = std::ferror(file) != 0;
  const int read_errno = errno;
  std::fclose(file);
  if (failed) {
    *error = path + ": cannot read it: " + std::strerror(read_errno);
    return std::nullopt;
  }
  return ParseDriverConfig(text, path, error);
}
