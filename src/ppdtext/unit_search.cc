#include "ppdtext/unit_search.h"

#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

#if defined(__SSE2__)
constexpr size_t kBlock = 8;  // code units per 128-bit register

__m128i Load(const char16_t* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }

// Each matching code unit sets two adjacent bits of the mask.
unsigned Mask(__m128i equal) { return static_cast<unsigned>(_mm_movemask_epi8(equal)); }
#endif

}  // namespace

size_t FindUnit(const char16_t* text, size_t n, char16_t c) {
  size_t i = 0;
#if defined(__SSE2__)
  const __m128i wanted = _mm_set1_epi16(static_cast<short>(c));
  for (; i + kBlock <= n; i += kBlock) {
    if (const unsigned mask = Mask(_mm_cmpeq_epi16(Load(text + i), wanted))) {
      return i + static_cast<size_t>(__builtin_ctz(mask)) / 2;
    }
  }
#endif
  for (; i < n; ++i) {
    if (text[i] == c) return i;
  }
  return n;
}

size_t FindUnits(const char16_t* text, size_t n, const char16_t* needle, size_t m) {
  if (m == 0 || m > n) return n;
  if (m == 1) return FindUnit(text, n, needle[0]);
  const size_t last = m - 1;
  const size_t starts = n - last;  // positions where an occurrence can begin
  auto rest_matches = [&](size_t at) {
    return std::memcmp(text + at + 1, needle + 1, (m - 2) * sizeof(char16_t)) == 0;
  };
  size_t i = 0;
#if defined(__SSE2__)
  // Candidates must match both the first and the last unit of the needle.
  const __m128i first = _mm_set1_epi16(static_cast<short>(needle[0]));
  const __m128i final = _mm_set1_epi16(static_cast<short>(needle[last]));
  for (; i + kBlock <= starts; i += kBlock) {
    const __m128i equal = _mm_and_si128(_mm_cmpeq_epi16(Load(text + i), first),
                                        _mm_cmpeq_epi16(Load(text + i + last), final));
    for (unsigned mask = Mask(equal); mask != 0; mask &= mask - 1, mask &= mask - 1) {
      const size_t at = i + static_cast<size_t>(__builtin_ctz(mask)) / 2;
      if (rest_matches(at)) return at;
    }
  }
#endif
  for (; i < starts; ++i) {
    if (text[i] == needle[0] && text[i + last] == needle[last] && rest_matches(i)) return i;
  }
  return n;
}
