#include "driver/driver_config.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "ppdio/text_file.h"
#include "setup/config_lines.h"
#include "setup/locale_country.h"

std::string DriverConfigPath() {
  const char* root = std::getenv("CUPS_SERVERROOT");
  return std::string(root != nullptr && *root != '\0' ? root : "/etc/cups") + "/ppd-localize.conf";
}

std::optional<DriverConfig> ParseDriverConfig(std::string_view text, const std::string& path, std::string* error) {
  DriverConfig config;
  bool directories_given = false;
  int country_line = 0, default_country_line = 0;
  std::string problem;  // for the line that fails, when one does
  const int zero = ForEachConfigLine(text, [&](const ConfigLine& line) {
    const auto fail = [&](const std::string& reason) {
      problem = path + ": line " + std::to_string(line.number) + ": " + reason;
      return false;
    };
    const std::string value(line.value);
    if (DirectiveIs(line.directive, "PPDDirectory") || DirectiveIs(line.directive, "Rules")) {
      const bool rules = DirectiveIs(line.directive, "Rules");
      if (value.empty() || value.front() != '/') {
        return fail(rules ? "Rules takes an absolute file or directory" : "PPDDirectory takes an absolute directory");
      }
      if (!rules && !directories_given) config.ppd_directories.clear();
      directories_given = directories_given || !rules;
      const size_t last = value.find_last_not_of('/');  // "/a/" names files "/a/x", not "/a//x"
      (rules ? config.rules : config.ppd_directories).push_back(last == std::string::npos ? "/" : value.substr(0, last + 1));
    } else if (DirectiveIs(line.directive, "Country") || DirectiveIs(line.directive, "DefaultCountry")) {
      const bool forced = DirectiveIs(line.directive, "Country");
      const char* spelled = forced ? "Country" : "DefaultCountry";
      int& seen = forced ? country_line : default_country_line;
      if (seen != 0) return fail(std::string(spelled) + " given again (first on line " + std::to_string(seen) + ")");
      if (const std::optional<std::string> bad = GivenCountryCodeProblem(value)) {
        return fail(std::string(spelled) + " " + *bad);
      }
      seen = line.number;
      (forced ? config.country : config.default_country) = value;
    } else {
      return fail("unknown directive \"" + std::string(line.directive) + "\"");
    }
    return true;
  });
  if (zero != 0) problem = path + ": line " + std::to_string(zero) + ": holds a zero byte";
  if (!problem.empty()) {
    *error = problem;
    return std::nullopt;
  }
  return config;
}

std::optional<DriverConfig> ReadDriverConfig(const std::string& path, std::string* error) {
  const std::optional<TextFile> file = TextFile::Read(path);
  if (!file && errno == ENOENT) return DriverConfig{};
  if (!file) {
    *error = path + ": cannot read it: " + std::strerror(errno);
    return std::nullopt;
  }
  return ParseDriverConfig(file->text(), path, error);
}
