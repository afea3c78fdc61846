// ppd-localize list | ppd-localize cat PPD-NAME
//
// The CUPS driver program: cups-driverd runs it from CUPS's driver directory
// to list the PPDs it offers and to write the one a queue is set up with;
// see driver_commands.h and the manual page ppd-localize-driver(8).
#include <cstdio>
#include <cstring>
#include <string>

#include "driver/driver_commands.h"
#include "driver/driver_config.h"
#include "setup/rule_set.h"

namespace {

constexpr const char kUsage[] = "Usage: ppd-localize list | ppd-localize cat PPD-NAME\n";

}  // namespace

int main(int argc, char** argv) {
  const bool list = argc == 2 && std::strcmp(argv[1], "list") == 0;
  const bool cat = argc == 3 && std::strcmp(argv[1], "cat") == 0;
  if (!list && !cat) {
    std::fputs(kUsage, stderr);
    return 1;
  }
  const std::string path = DriverConfigPath();
  std::string error;
  const std::optional<DriverConfig> config = ReadDriverConfig(path, &error);
  if (!config) {
    std::fprintf(stderr, "ERROR: ppd-localize: %s\n", error.c_str());
    return 1;
  }
  // Rules that cannot be read fail both commands, as a bad configuration does.
  std::optional<RuleSet> rules;
  if (!config->rules.empty() && !(rules = LoadRules(config->rules, &error))) {
    std::fprintf(stderr, "ERROR: ppd-localize: %s\n", error.c_str());
    return 1;
  }
  return list ? RunList(*config, stdout, stderr) : RunCat(*config, argv[2], stdout, stderr, rules ? &*rules : nullptr);
}
