// Loading a PPD into the PPD text. The PPD's bytes are read once; the text
// and libcups's view of the printer are both made from those bytes.
#ifndef PPDLOCALIZE_PPDIO_PPD_LOAD_H_
#define PPDLOCALIZE_PPDIO_PPD_LOAD_H_

#include <cstdint>
#include <optional>
#include <stop_token>
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

// How far the decoding of a run's bytes may run ahead of the reader that
// reads them through their descriptor at the same time (libcups): the bytes
// can be freed only behind both, and the text takes two bytes a character.
struct DecodePace {
  double ahead;                  // the bytes held and the text stay under ahead x the bytes' size,
  size_t always;                 // or the decoding is at most this far ahead of the reader;
  std::stop_token reader_done;   // requested when the reader is done: then nothing holds it back
};

// The same for bytes held in memory by a run. The bytes' pages are freed
// part by part as the text takes them over and the reader through their
// descriptor is past them (PPDBytes::ReleaseReadUpTo), and the text's own
// pages are mapped part by part ahead of the decoding. With `pace`, the
// decoding waits for the reader where going on would hold more than it
// allows, so that the bytes and the text never take the memory of both
// whole at once.
std::optional<PPDText> DecodePPDBytes(PPDBytes& bytes, std::string* reason = nullptr,
                                      const DecodePace* pace = nullptr);

// The PPD at `path` as text, or nothing when there is no path or it cannot
// be read or decoded (see above); `reason` then says why.
std::optional<PPDText> QZCFStringCreateWithPPDFile(const char* path, std::string* reason = nullptr);

#endif  // PPDLOCALIZE_PPDIO_PPD_LOAD_H_
