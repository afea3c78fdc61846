// Loading a PPD into the PPD text. The PPD's bytes are read once; the text
// and libcups's view of the printer are both made from those bytes.
#ifndef PPDLOCALIZE_PPDTEXT_PPD_LOAD_H_
#define PPDLOCALIZE_PPDTEXT_PPD_LOAD_H_

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "ppdtext/ustring.h"

// PPDs whose (decompressed) size reaches this are refused: the PPD text of
// such a file would not fit the 32-bit sizes the format's tools use.
inline constexpr uint64_t kPPDMaxFileBytes = uint64_t{1} << 32;

// The PPD's text and how it maps back to the file's bytes.
struct PPDText {
  UString text;
  TextEncoding encoding = TextEncoding::kUTF8;
};

// The name of the input for messages: "standard input" for "-".
std::string PPDInputName(const char* path);

// Reads the whole PPD at `path`, or standard input for "-": a regular file
// or a pipe, opened once; anything else (a directory, a device, a socket) is
// refused before reading. Data that starts like gzip is decompressed and
// checked (CRC-32 and length). A read error, empty data, a size of `limit`
// bytes or more (compressed or not), or damaged gzip data are failures:
// nothing is answered and `reason`, when given, says why in a few words.
std::optional<std::string> ReadPPDFileBytes(const char* path, std::string* reason = nullptr,
                                            uint64_t limit = kPPDMaxFileBytes);

// Decodes a PPD file's bytes: as UTF-8 when they are valid UTF-8, otherwise
// one code unit per byte (the file's own encoding, kept byte for byte). A
// zero byte ("not a text file") or no bytes at all is a failure. A byte order
// mark passes through as U+FEFF.
std::optional<PPDText> DecodePPDBytes(std::string_view bytes, std::string* reason = nullptr);

// The PPD at `path` as text, or nothing when there is no path or it cannot
// be read or decoded (see above); `reason` then says why.
std::optional<PPDText> QZCFStringCreateWithPPDFile(const char* path, std::string* reason = nullptr);

#endif  // PPDLOCALIZE_PPDTEXT_PPD_LOAD_H_
