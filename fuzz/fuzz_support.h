// What the fuzz targets share: failing a run with a message the fuzzer
// reports with the input, and turning bytes into text.
#ifndef PPDLOCALIZE_FUZZ_FUZZ_SUPPORT_H_
#define PPDLOCALIZE_FUZZ_FUZZ_SUPPORT_H_

#include <cstdio>
#include <cstdlib>
#include <string>

#include "ppdtext/ustring.h"

#define FUZZ_CHECK(condition, detail)                                               \
  do {                                                                              \
    if (!(condition)) {                                                             \
      const std::string shown = (detail);                                           \
      std::fprintf(stderr, "\n*** property broken: %s\n", #condition);              \
      std::fwrite(shown.data(), 1, std::min<size_t>(shown.size(), 8000), stderr);   \
      std::abort();                                                                 \
    }                                                                               \
  } while (0)

namespace fuzz {

// UTF-8 when the bytes are UTF-8, otherwise one code unit per byte.
inline UString ToText(std::string_view bytes) {
  return StringCreateWithUTF8(bytes).value_or(StringCreateWithBytes(bytes));
}

inline std::string Show(UStringView text) { return StringCopyUTF8(text).value_or("(a text that does not encode)"); }

}  // namespace fuzz

#endif  // PPDLOCALIZE_FUZZ_FUZZ_SUPPORT_H_
