// The straightforward forms of the deletions and rewrites, which the recorded
// ones in src/ppdtext must match byte for byte: every search walks the
// statements of the text as it stands, and every edit is carried out at once.
#ifndef PPDLOCALIZE_TESTS_REFERENCE_EDITS_H_
#define PPDLOCALIZE_TESTS_REFERENCE_EDITS_H_

#include <vector>

#include "ppdtext/ustring.h"

// Same contracts as QZCFStringDeleteKeywordOption, QZCFStringDeletePaperSize
// and QZCFStringDeleteEnvelpes.
void SimpleDeleteKeywordOption(UString& text, UStringView keyword, UStringView option);
void SimpleDeletePaperSize(UString& text, UStringView paper);
void SimpleDeleteEnvelpes(UString& text, const std::vector<UString>& names);

// Same contracts as QZCFStringChangeDefault and QZCFStringChangeGeneralInformation.
void SimpleChangeDefault(UString& text, UStringView keyword, UStringView value);
void SimpleChangeGeneralInformation(UString& text, UStringView keyword, UStringView value);

// What a run in Germany does to a text: the paper deletions of `names`, then
// the duplex and country-code rewrites. Recorded on one TextEdits, as the run
// makes them, and the straightforward way.
void RecordedRunEdits(UString& text, const std::vector<UString>& names);
void SimpleRunEdits(UString& text, const std::vector<UString>& names);

#endif  // PPDLOCALIZE_TESTS_REFERENCE_EDITS_H_
