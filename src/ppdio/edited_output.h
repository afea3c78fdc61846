// Writing an edited PPD text from the bytes it was decoded from.
//
// Valid UTF-8 decodes and encodes back to the very same bytes, and so does
// text taken one byte per code unit: every part of the text that the edits
// leave is, byte for byte, the part of the file it came from. Those parts are
// therefore copied from the bytes as they were read, and only the lines that
// replace statements are encoded.
#ifndef PPDLOCALIZE_PPDIO_EDITED_OUTPUT_H_
#define PPDLOCALIZE_PPDIO_EDITED_OUTPUT_H_

#include <cstdio>

#include "ppdio/ppd_bytes.h"
#include "ppdio/ppd_output.h"
#include "ppdtext/text_edits.h"
#include "ppdtext/ustring.h"

// Writes to `out` exactly what CFStringOutputPPD writes for the edited text
// that `edits` makes of its text, which was decoded from `bytes` in
// `encoding`: the edited text and the newline `newline` asks for, or nothing
// at all when it is empty or a replacing line does not encode. Answers false
// when writing failed.
bool OutputEditedPPD(const TextEdits& edits, PPDBytes& bytes, TextEncoding encoding, FILE* out,
                     FinalNewline newline = FinalNewline::kAlways);

#endif  // PPDLOCALIZE_PPDIO_EDITED_OUTPUT_H_
