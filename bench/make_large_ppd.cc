// make_large_ppd <bytes> [mono13|color]: writes a large PPD to standard output.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "large_ppd.h"

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fputs("usage: make_large_ppd <bytes> [mono13|color]\n", stderr);
    return 2;
  }
  const bool color = argc > 2 && std::string(argv[2]) == "color";
  const std::string ppd = MakeLargePPD(std::strtoull(argv[1], nullptr, 10), color);
  return std::fwrite(ppd.data(), 1, ppd.size(), stdout) == ppd.size() ? 0 : 1;
}
