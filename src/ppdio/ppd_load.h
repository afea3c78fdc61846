// Loading a PPD into the PPD text. The PPD's bytes are read once; the text
// and libcups's view of the printer are both made from those bytes.
#ifndef PPDLOCALIZE_PPDIO_PPD_LOAD_H_
#define PPDLOCALIZE_PPDIO_PPD_LOAD_H_

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "ppdio/ppd_bytes.h"
#include "ppdtext/ustring.h"

// The PPD's text and how it maps back to the file's bytes.
struct PPDText {
  UString text;
  TextEncoding encoding = TextEncoding::kUTF8;
};

// The name of the input for messages: "standard input" for "-".
std::string PPDInputName(const char* path);

// The bytes ReadPPDBytes reads (ppd_bytes.h), as a string.
std::optional<std::string> ReadPPDFileBytes(const char* path, std::string* reason = nullptr,
                                            uint64_t limit = kPPDMaxFileBytes);

// Decodes a PPD file's bytes: as UTF-8 when they are valid UTF-8, otherwise
// one code unit per byte (the file's own encoding, kept byte for byte). A
// zero byte ("not a text file") or no bytes at all is a failure. A byte order
// mark passes through as U+FEFF.
std::optional<PPDText> DecodePPDBytes(std::string_view bytes, std::string* reason = nullptr);

// The same for bytes held in memory by a run. The bytes' pages are given
// back part by part as the text takes them over, and the text's own pages
// are mapped part by part ahead of the decoding, so that the two never
// take the memory of both whole at once.
std::optional<PPDText> DecodePPDBytes(PPDBytes& bytes, std::string* reason = nullptr);

// The PPD at `path` as text, or nothing when there is no path or it cannot
// be read or decoded (see above); `reason` then says why.
std::optional<PPDText> QZCFStringCreateWithPPDFile(const char* path, std::string* reason = nullptr);

#endif  // PPDLOCALIZE_PPDIO_PPD_LOAD_H_
