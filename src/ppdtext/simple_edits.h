// The straightforward forms of the deletions: each search runs over the text
// as it stands and each removal closes the gap at once. They are the
// definition that the fast forms in option_deletion.cc and line_deletion.cc
// must match exactly, and those fall back to them for names or keywords that
// span lines.
#ifndef PPDLOCALIZE_PPDTEXT_SIMPLE_EDITS_H_
#define PPDLOCALIZE_PPDTEXT_SIMPLE_EDITS_H_

#include <vector>

#include "ppdtext/ustring.h"

// Same contracts as QZCFStringDeleteKeywordOption, QZCFStringDeletePaperSize
// and QZCFStringDeleteEnvelpes.
void SimpleDeleteKeywordOption(UString& text, UStringView keyword, UStringView option);
void SimpleDeletePaperSize(UString& text, UStringView paper);
void SimpleDeleteEnvelpes(UString& text, const std::vector<UString>& names);

#endif  // PPDLOCALIZE_PPDTEXT_SIMPLE_EDITS_H_
