// Deleting a rule row's paper names from the PPD text.
#ifndef PPDLOCALIZE_SETUP_PAPER_RULE_H_
#define PPDLOCALIZE_SETUP_PAPER_RULE_H_

#include <span>

#include "ppdtext/text_edits.h"
#include "ppdtext/ustring.h"

// Joins `papers` with single blanks into one list, splits it again and
// deletes each name in order from the four paper keywords. If the list cannot
// be formed nothing is deleted. (No paper name holds a blank, so the split
// gives back exactly the row's names.)
void deleteRulePapers(TextEdits& edits, std::span<const UStringView> papers);

#endif  // PPDLOCALIZE_SETUP_PAPER_RULE_H_
