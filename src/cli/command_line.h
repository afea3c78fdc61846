// The command line:
//   ppd-localize [OPTION]... <ignored> <file.ppd> [<ignored>]
// Options are long only and come first; each takes its value as
// `--name=value` or as the next argument, and `--` ends them. Every other
// argument, single-dash ones such as `-` included, is positional. An
// argument that begins with `--` among the positional arguments (unless `--`
// came first) is a usage error: an option there is not silently ignored.
#ifndef PPDLOCALIZE_CLI_COMMAND_LINE_H_
#define PPDLOCALIZE_CLI_COMMAND_LINE_H_

#include <string>

#include "setup/setup_ppd.h"

extern const char kUsage[];

struct CommandLine {
  enum Action { kRun, kHelp, kVersion, kPrintRules, kCheckRules, kUsageError } action = kRun;
  std::string error;  // for kUsageError, when more than the usage is to be said
  const char* path = nullptr;
  RunOptions options;
  std::string rules;  // --rules, or for kCheckRules the file to check
};

CommandLine ParseCommandLine(int argc, char** argv);

#endif  // PPDLOCALIZE_CLI_COMMAND_LINE_H_
