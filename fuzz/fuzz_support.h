// What the fuzz targets share.
#ifndef PPDLOCALIZE_FUZZ_FUZZ_SUPPORT_H_
#define PPDLOCALIZE_FUZZ_FUZZ_SUPPORT_H_

#include <cstdio>
#include <cstdlib>
#include <string>

#include "ppdtext/ustring.h"

namespace fuzz {

// Stops the run, which the fuzzer reports with its input: a property failed.
[[noreturn]] inline void Fail(const char* property, const std::string& detail) {
  std::fprintf(stderr, "\n*** property broken: %s\n%s\n", property, detail.substr(0, 8000).c_str());
  std::abort();
}
#define FUZZ_CHECK(condition, detail) \
  if (!(condition)) ::fuzz::Fail(#condition, detail)

inline std::string Show(UStringView text) { return StringCopyUTF8(text).value_or("(a text that does not encode)"); }

}  // namespace fuzz

#endif  // PPDLOCALIZE_FUZZ_FUZZ_SUPPORT_H_
