// Fast literal searches over UTF-16 code units. With SSE2 they compare eight
// code units at a time; elsewhere they fall back to plain loops.
#ifndef PPDLOCALIZE_PPDTEXT_UNIT_SEARCH_H_
#define PPDLOCALIZE_PPDTEXT_UNIT_SEARCH_H_

#include <cstddef>

// Offset of the first `c` in [text, text + n), or n.
size_t FindUnit(const char16_t* text, size_t n, char16_t c);

// Offset of the first unit in [text, text + n) that is `a` or `b`, or n.
size_t FindEitherUnit(const char16_t* text, size_t n, char16_t a, char16_t b);

// Offset of the first occurrence of [needle, needle + m) (m >= 1) that lies
// wholly inside [text, text + n), or n.
size_t FindUnits(const char16_t* text, size_t n, const char16_t* needle, size_t m);

#endif  // PPDLOCALIZE_PPDTEXT_UNIT_SEARCH_H_
