// ppd-localize <ignored> <file.ppd> [<ignored>]
//
// Prints the PPD localised to the user's country on standard output.
#include <cstdio>
#include <cstring>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include "setup/setup_ppd.h"

namespace {

constexpr const char kUsage[] =
    "usage: ppd-localize <ignored> <file.ppd> [<ignored>]\n"
    "Prints the PPD localised to the country of the current locale\n"
    "(LC_ALL, LC_PAPER or LANG) on standard output.\n";

// A run allocates a few large buffers one after another: the file's bytes,
// the decoded text, then libcups's parse. Served from the heap and kept when
// freed, the memory of the bytes is reused by the parse instead of being
// returned to the kernel and faulted in again page by page.
void KeepLargeBuffersInHeap() {
#if defined(__GLIBC__)
  mallopt(M_MMAP_THRESHOLD, 32 << 20);  // glibc's largest
  mallopt(M_TRIM_THRESHOLD, 512 << 20);
#endif
}

}  // namespace

int main(int argc, char** argv) {
  KeepLargeBuffersInHeap();
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
