// ppd-localize [OPTION]... <ignored> <file.ppd> [<ignored>]
//
// Localises the PPD to the user's country; see command_line.cc and the
// manual page.
#include <cerrno>
#include <cstdio>
#include <cstring>

#include <optional>
#include <string>

#include "cli/command_line.h"
#include "setup/rule_set.h"

namespace {

// Whether all that was printed reached standard output: a text longer than
// the buffer may have failed part-way before the flush.
int Flushed() {
  if (std::fflush(stdout) == 0 && !std::ferror(stdout)) return kRunOk;
  std::fprintf(stderr, "ppd-localize: standard output: cannot write the output: %s\n",
               errno != 0 ? std::strerror(errno) : "write error");
  return kRunFailed;
}

}  // namespace

int main(int argc, char** argv) {
  const CommandLine line = ParseCommandLine(argc, argv);
  switch (line.action) {
    case CommandLine::kHelp:
      std::fputs(kUsage, stdout);
      return Flushed();
    case CommandLine::kVersion:
      std::printf("ppd-localize %s\n", PPD_LOCALIZE_VERSION);
      return Flushed();
    case CommandLine::kUsageError:
      if (!line.error.empty()) std::fprintf(stderr, "ppd-localize: %s\n", line.error.c_str());
      std::fwrite(kUsage, 1, std::strchr(kUsage, '\n') + 1 - kUsage, stderr);
      std::fputs("Try 'ppd-localize --help' for more.\n", stderr);
      return kRunUsage;
    case CommandLine::kPrintRules:
      std::fputs(kBuiltinRulesText, stdout);
      return Flushed();
    case CommandLine::kCheckRules:
    case CommandLine::kRun:
      break;
  }
  if (line.action == CommandLine::kCheckRules) {
    std::string error;
    const std::optional<RuleSet> rules = LoadRules({line.rules}, &error);
    if (!rules) {
      std::fprintf(stderr, "ppd-localize: %s\n", error.c_str());
      return kRunUsage;
    }
    std::printf("%s: %zu tables, %zu rows, well formed\n", line.rules.c_str(), rules->tables().size(),
                rules->row_count());
    return Flushed();
  }
  RunOptions options = line.options;
  if (!line.rules.empty()) options.rules_files = {line.rules};
  return setupPPD(line.path, options);
}
