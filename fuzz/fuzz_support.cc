#include "fuzz_support.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace fuzz {

void Fail(const char* property, std::string_view detail) {
  std::fprintf(stderr, "\n*** property broken: %s\n", property);
  std::fwrite(detail.data(), 1, std::min<size_t>(detail.size(), 8000), stderr);
  std::fflush(stderr);
  std::abort();
}

UString ToText(std::string_view bytes) {
  if (std::optional<UString> text = StringCreateWithUTF8(bytes)) return *std::move(text);
  UString widened;
  for (const char c : bytes) widened.push_back(static_cast<unsigned char>(c));
  return widened;
}

std::string Show(UStringView text) {
  std::string out;
  for (const char16_t c : text) {
    if (!StringAppendUTF8(UStringView(&c, 1), out)) out.push_back('?');
  }
  return out;
}

}  // namespace fuzz
