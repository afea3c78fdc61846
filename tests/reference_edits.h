// The straightforward forms of the deletions, which the fast ones in src/ppdtext
// must match byte for byte: every search walks the statements of the text as it
// stands, and every removal closes its gap at once.
#ifndef PPDLOCALIZE_TESTS_REFERENCE_EDITS_H_
#define PPDLOCALIZE_TESTS_REFERENCE_EDITS_H_

#include <vector>

#include "ppdtext/ustring.h"

// Same contracts as QZCFStringDeleteKeywordOption, QZCFStringDeletePaperSize
// and QZCFStringDeleteEnvelpes.
void SimpleDeleteKeywordOption(UString& text, UStringView keyword, UStringView option);
void SimpleDeletePaperSize(UString& text, UStringView paper);
void SimpleDeleteEnvelpes(UString& text, const std::vector<UString>& names);

#endif  // PPDLOCALIZE_TESTS_REFERENCE_EDITS_H_
