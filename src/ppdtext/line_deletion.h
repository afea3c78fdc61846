// Deleting whole lines by a name they mention, whatever their keyword. Each
// removed line takes the rest of its statement with it when it opens a
// multi-line value (see statement_lines.h).
#ifndef PPDLOCALIZE_PPDTEXT_LINE_DELETION_H_
#define PPDLOCALIZE_PPDTEXT_LINE_DELETION_H_

#include <vector>

#include "ppdtext/ustring.h"

// For each name in order, removes every line that holds it as a plain
// substring: option, translation, constraint and default lines, comments, and
// lines where it is part of a longer word. An empty name removes nothing.
void QZCFStringDeleteEnvelpes(UString& text, const std::vector<UString>& names);

// Removes the first line that holds "QzAutoSetup", if any.
void QZCFStringDeleteAutoSetup(UString& text);

#endif  // PPDLOCALIZE_PPDTEXT_LINE_DELETION_H_
