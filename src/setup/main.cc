// ppd-localize <ignored> <file.ppd> [<ignored>]
//
// Prints the PPD localised to the user's country on standard output.
#include <cstdio>
#include <cstring>

#include "setup/setup_ppd.h"

namespace {

constexpr const char kUsage[] =
    "usage: ppd-localize <ignored> <file.ppd> [<ignored>]\n"
    "Prints the PPD localised to the country of the current locale\n"
    "(LC_ALL, LC_PAPER or LANG) on standard output.\n";

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2) {
    if (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0) {
      std::fputs(kUsage, stdout);
      return std::fflush(stdout) == 0 ? kRunOk : kRunFailed;
    }
    if (std::strcmp(argv[1], "--version") == 0) {
      std::printf("ppd-localize %s\n", PPD_LOCALIZE_VERSION);
      return std::fflush(stdout) == 0 ? kRunOk : kRunFailed;
    }
  }
  if (argc < 3 || argc > 4) {
    std::fputs(kUsage, stderr);
    return kRunUsage;
  }
  return setupPPD(argv[2]);
}
