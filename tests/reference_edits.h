// The straightforward forms of the deletions: every search walks the
// statements of the text as it stands, and every removal closes its gap at
// once. They define what the fast forms in src/ppdtext must give, byte for
// byte; the differential test and fuzz target compare the two.
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
