// Fast literal searches over UTF-16 code units. With SSE2 they compare eight
// code units at a time; elsewhere they fall back to plain loops.
#ifndef PPDLOCALIZE_PPDTEXT_UNIT_SEARCH_H_
#define PPDLOCALIZE_PPDTEXT_UNIT_SEARCH_H_

#include <cstddef>

// Offset of the first `c` in [text, text + n), or n.
size_t FindUnit(const char16_t* text, size_t n, char16_t c);

// Calls on(i), in order, for every i in [0, n) where text[i] is `a`, `b`, `c`
// or `d`, until `on` answers false.
template <typename On>
void ForEachUnitAmong(const char16_t* text, size_t n, char16_t a, char16_t b, char16_t c, char16_t d, On on);

// Calls visit(i), in order, for every i in [0, n - 1) where text[i] is `a`
// or `b` and text[i + 1] is one of the `count` (1 to 4) units of `next`.
template <typename Visit>
void ForEachUnitPair(const char16_t* text, size_t n, char16_t a, char16_t b, const char16_t* next,
                     size_t count, Visit visit);

// Offset of the first occurrence of [needle, needle + m) (m >= 1) that lies
// wholly inside [text, text + n), or n.
size_t FindUnits(const char16_t* text, size_t n, const char16_t* needle, size_t m);

// Implementation.

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

template <typename Visit>
void ForEachUnitPair(const char16_t* text, size_t n, char16_t a, char16_t b, const char16_t* next,
                     size_t count, Visit visit) {
  if (n < 2) return;
  const size_t starts = n - 1;
  size_t i = 0;
#if defined(__SSE2__)
  auto load = [](const char16_t* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); };
  auto splat = [](char16_t c) { return _mm_set1_epi16(static_cast<short>(c)); };
  const __m128i lead_a = splat(a), lead_b = splat(b);
  auto follows = [&](char16_t c) {
    for (size_t k = 0; k < count; ++k) {
      if (c == next[k]) return true;
    }
    return false;
  };
  // Leads are found eight at a time; the unit after each is checked alone,
  // which costs less than comparing every unit with every wanted follower.
  for (; i + 8 <= starts; i += 8) {
    const __m128i block = load(text + i);
    const __m128i lead = _mm_or_si128(_mm_cmpeq_epi16(block, lead_a), _mm_cmpeq_epi16(block, lead_b));
    // Each matching unit sets two adjacent bits of the mask.
    for (unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(lead)); mask != 0; mask &= mask - 1, mask &= mask - 1) {
      const size_t at = i + static_cast<size_t>(__builtin_ctz(mask)) / 2;
      if (follows(text[at + 1])) visit(at);
    }
  }
#endif
  for (; i < starts; ++i) {
    if (text[i] != a && text[i] != b) continue;
    for (size_t k = 0; k < count; ++k) {
      if (text[i + 1] == next[k]) {
        visit(i);
        break;
      }
    }
  }
}

template <typename On>
void ForEachUnitAmong(const char16_t* text, size_t n, char16_t a, char16_t b, char16_t c, char16_t d, On on) {
  size_t i = 0;
#if defined(__SSE2__)
  const __m128i wanted[] = {_mm_set1_epi16(static_cast<short>(a)), _mm_set1_epi16(static_cast<short>(b)),
                            _mm_set1_epi16(static_cast<short>(c)), _mm_set1_epi16(static_cast<short>(d))};
  for (; i + 8 <= n; i += 8) {
    const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + i));
    const __m128i any = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi16(block, wanted[0]), _mm_cmpeq_epi16(block, wanted[1])),
                                     _mm_or_si128(_mm_cmpeq_epi16(block, wanted[2]), _mm_cmpeq_epi16(block, wanted[3])));
    // Each matching unit sets two adjacent bits of the mask.
    for (unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(any)); mask != 0; mask &= mask - 1, mask &= mask - 1) {
      if (!on(i + static_cast<size_t>(__builtin_ctz(mask)) / 2)) return;
    }
  }
#endif
  for (; i < n; ++i) {
    if ((text[i] == a || text[i] == b || text[i] == c || text[i] == d) && !on(i)) return;
  }
}

#endif  // PPDLOCALIZE_PPDTEXT_UNIT_SEARCH_H_
