// ppd-localize [OPTION]... <ignored> <file.ppd> [<ignored>]
//
// Localises the PPD to the user's country; see command_line.cc and the
// manual page.
#include <cstdio>
#include <cstring>

#include "cli/command_line.h"

int main(int argc, char** argv) {
  const CommandLine line = ParseCommandLine(argc, argv);
  switch (line.action) {
    case CommandLine::kHelp:
      std::fputs(kUsage, stdout);
      return std::fflush(stdout) == 0 ? kRunOk : kRunFailed;
    case CommandLine::kVersion:
      std::printf("ppd-localize %s\n", PPD_LOCALIZE_VERSION);
      return std::fflush(stdout) == 0 ? kRunOk : kRunFailed;
    case CommandLine::kUsageError:
      if (!line.error.empty()) std::fprintf(stderr, "ppd-localize: %s\n", line.error.c_str());
      std::fwrite(kUsage, 1, std::strchr(kUsage, '\n') + 1 - kUsage, stderr);
      std::fputs("Try 'ppd-localize --help' for more.\n", stderr);
      return kRunUsage;
    case CommandLine::kRun:
      break;
  }
  return setupPPD(line.path, line.options);
}
