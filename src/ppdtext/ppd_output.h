// Writing the PPD text out.
#ifndef PPDLOCALIZE_PPDTEXT_PPD_OUTPUT_H_
#define PPDLOCALIZE_PPDTEXT_PPD_OUTPUT_H_

#include <cstdio>

#include "ppdtext/ustring.h"

// Writes `text` to `out` in `encoding` followed by one newline (also when
// the text already ends with one). An empty text, or one that does not
// encode (a lone surrogate; a unit above U+00FF as bytes), writes nothing at
// all. Answers false when writing failed; the stream is flushed so that a
// full disk or closed pipe shows here.
bool CFStringOutputPPD(UStringView text, FILE* out = stdout, TextEncoding encoding = TextEncoding::kUTF8);

// Diagnosis aid: writes `Ready to show CFStringRef:{"<text>"}` and a newline
// to `err`, or `Ready to show CFStringRef:"<none!>"}` and a newline for an
// empty string or one that does not encode.
void QZDebugPrintCFStringRef(const UString* string, FILE* err = stderr);

#endif  // PPDLOCALIZE_PPDTEXT_PPD_OUTPUT_H_
