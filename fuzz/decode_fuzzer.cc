// The loader's decoding step on raw bytes: DecodePPDBytes accepts exactly the
// non-empty, zero-free, well-formed UTF-8 byte strings, and the text it
// answers encodes back to the very same bytes.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_support.h"
#include "ppdtext/ppd_load.h"

namespace {

// Well-formed UTF-8, checked byte by byte against the table of valid
// sequences rather than by decoding.
bool IsWellFormedUTF8(std::string_view bytes) {
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  const size_t n = bytes.size();
  auto in = [](unsigned char b, unsigned lo, unsigned hi) { return b >= lo && b <= hi; };
  for (size_t i = 0; i < n;) {
    const unsigned char b = p[i];
    if (b <= 0x7F) {
      i += 1;
    } else if (in(b, 0xC2, 0xDF)) {
      if (i + 1 >= n || !in(p[i + 1], 0x80, 0xBF)) return false;
      i += 2;
    } else if (in(b, 0xE0, 0xEF)) {
      const unsigned lo = b == 0xE0 ? 0xA0 : 0x80;
      const unsigned hi = b == 0xED ? 0x9F : 0xBF;
      if (i + 2 >= n || !in(p[i + 1], lo, hi) || !in(p[i + 2], 0x80, 0xBF)) return false;
      i += 3;
    } else if (in(b, 0xF0, 0xF4)) {
      const unsigned lo = b == 0xF0 ? 0x90 : 0x80;
      const unsigned hi = b == 0xF4 ? 0x8F : 0xBF;
      if (i + 3 >= n || !in(p[i + 1], lo, hi) || !in(p[i + 2], 0x80, 0xBF) ||
          !in(p[i + 3], 0x80, 0xBF)) {
        return false;
      }
      i += 4;
    } else {
      return false;
    }
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  std::string reason;
  const std::optional<UString> text = DecodePPDBytes(bytes, &reason);
  const bool acceptable = !bytes.empty() && bytes.find('\0') == std::string_view::npos &&
                          IsWellFormedUTF8(bytes);
  FUZZ_CHECK(text.has_value() == acceptable, reason);
  if (!text) {
    FUZZ_CHECK(!reason.empty());
    return 0;
  }
  // UTF-8 in equals UTF-8 out, and the text has one unit per ASCII byte.
  FUZZ_CHECK(fuzz::MustEncode(*text, "decoded text encodes") == bytes);
  FUZZ_CHECK(text->size() <= bytes.size());
  for (size_t i = 0, j = 0; i < bytes.size(); ++i) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    if ((b & 0xC0) == 0x80) continue;  // continuation bytes add no code unit of their own
    FUZZ_CHECK(j < text->size());
    if (b < 0x80) FUZZ_CHECK((*text)[j] == b);
    j += b >= 0xF0 ? 2 : 1;
  }
  return 0;
}
