// Loading a PPD file into the PPD text.
#ifndef PPDLOCALIZE_PPDTEXT_PPD_LOAD_H_
#define PPDLOCALIZE_PPDTEXT_PPD_LOAD_H_

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "ppdtext/ustring.h"

// The file is read in chunks of this size into one growing, zero-filled buffer.
inline constexpr size_t kPPDReadChunk = 65535;

// Files whose (decompressed) size reaches this are refused: the PPD text of
// such a file would not fit the 32-bit sizes the format's tools use.
inline constexpr uint64_t kPPDMaxFileBytes = uint64_t{1} << 32;

// Reads the whole file at `path` through libcups, which decompresses gzip
// transparently. The path must name a regular file (symlinks followed): the
// PPD is read again by libcups later, and a stream cannot be read twice.
// A read error, an empty file, a size of `limit` bytes or more, or gzip data
// whose trailer (CRC-32 and length) does not match what was read are failures:
// nothing is answered and `reason`, when given, says why in a few words.
std::optional<std::string> ReadPPDFileBytes(const char* path, std::string* reason = nullptr,
                                            uint64_t limit = kPPDMaxFileBytes);

// Decodes a PPD file's bytes: a zero byte ("not a text file") or invalid UTF-8
// is a failure. A byte order mark passes through as U+FEFF.
std::optional<UString> DecodePPDBytes(std::string_view bytes, std::string* reason = nullptr);

// The PPD file at `path` as text, or nothing when there is no path or the file
// cannot be read or decoded (see above); `reason` then says why.
std::optional<UString> QZCFStringCreateWithPPDFile(const char* path, std::string* reason = nullptr);

#endif  // PPDLOCALIZE_PPDTEXT_PPD_LOAD_H_
