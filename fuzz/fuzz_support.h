// What the fuzz targets share: failing a run with a message, and turning
// bytes into text.
#ifndef PPDLOCALIZE_FUZZ_FUZZ_SUPPORT_H_
#define PPDLOCALIZE_FUZZ_FUZZ_SUPPORT_H_

#include <string>
#include <string_view>

#include "ppdtext/ustring.h"

namespace fuzz {

// Stops the run with a message that the fuzzer reports as a crash, together
// with the input that caused it.
[[noreturn]] void Fail(const char* property, std::string_view detail = {});
#define FUZZ_CHECK(condition, ...) \
  do {                             \
    if (!(condition)) ::fuzz::Fail(#condition __VA_OPT__(, ) __VA_ARGS__); \
  } while (0)

// Bytes as text: UTF-8 when they are UTF-8, otherwise one code unit per
// byte, so that any byte string reaches the edits.
UString ToText(std::string_view bytes);

// Text as bytes for failure messages.
std::string Show(UStringView text);

}  // namespace fuzz

#endif  // PPDLOCALIZE_FUZZ_FUZZ_SUPPORT_H_
