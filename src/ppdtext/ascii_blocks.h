// Copying runs of ASCII between UTF-8 bytes and UTF-16 code units, sixteen
// or eight at a time where SSE2 is there. A PPD is nearly all ASCII, so these
// carry most of the decoding and encoding work.
#ifndef PPDLOCALIZE_PPDTEXT_ASCII_BLOCKS_H_
#define PPDLOCALIZE_PPDTEXT_ASCII_BLOCKS_H_

#include <cstddef>

// Widens the leading ASCII bytes of [in, in + n) into `out`; answers how many
// were copied (it may stop a little before the first non-ASCII byte, never
// after it).
size_t WidenAscii(const unsigned char* in, size_t n, char16_t* out);

// Narrows the leading code units below 0x80 of [in, in + n) into `out`;
// answers how many were copied (it may stop a little before the first other
// unit, never after it).
size_t NarrowAscii(const char16_t* in, size_t n, char* out);

// True when [in, in + n) holds a code unit in the surrogate range.
bool HasSurrogate(const char16_t* in, size_t n);

#endif  // PPDLOCALIZE_PPDTEXT_ASCII_BLOCKS_H_
