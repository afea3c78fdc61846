// Writing the PPD text out.
#ifndef PPDLOCALIZE_PPDIO_PPD_OUTPUT_H_
#define PPDLOCALIZE_PPDIO_PPD_OUTPUT_H_

#include <cstdio>

#include "ppdtext/text_edits.h"
#include "ppdtext/ustring.h"

// What follows the text when it is written out: always one newline (standard
// output), or one only when the text does not end with a line end already
// (a file, which a second run then leaves as it is).
enum class FinalNewline { kAlways, kUnlessAtLineEnd };

// True when `newline` adds a newline after `text`.
bool AddsNewline(UStringView text, FinalNewline newline);

// Writes `text` to `out` in `encoding` followed by one newline (with
// kAlways, also when the text already ends with one). An empty text, or one
// that does not encode (a lone surrogate; a unit above U+00FF as bytes),
// writes nothing at all. Answers false when writing failed; the stream is
// flushed so that a full disk or closed pipe shows here.
bool CFStringOutputPPD(UStringView text, FILE* out = stdout, TextEncoding encoding = TextEncoding::kUTF8,
                       FinalNewline newline = FinalNewline::kAlways);

// Writes exactly what CFStringOutputPPD writes for the text that `edits`
// make of theirs, without putting that text together: the pieces the edits
// leave and the lines that replace statements, one after another. The
// original text must encode, as a text decoded from a PPD's bytes does
// (ppd_load.h): only the replacing lines are checked.
bool OutputEditedPPD(const TextEdits& edits, FILE* out = stdout, TextEncoding encoding = TextEncoding::kUTF8,
                     FinalNewline newline = FinalNewline::kAlways);

// Diagnosis aid: writes `Ready to show CFStringRef:{"<text>"}` and a newline
// to `err`, or `Ready to show CFStringRef:"<none!>"}` and a newline for an
// empty string or one that does not encode.
void QZDebugPrintCFStringRef(const UString* string, FILE* err = stderr);

#endif  // PPDLOCALIZE_PPDIO_PPD_OUTPUT_H_
