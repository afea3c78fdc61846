// Deleting whole statements by a name their heads mention, whatever their
// keyword (see statements.h for what a statement and its head are).
#ifndef PPDLOCALIZE_PPDTEXT_LINE_DELETION_H_
#define PPDLOCALIZE_PPDTEXT_LINE_DELETION_H_

#include <vector>

#include "ppdtext/text_edits.h"
#include "ppdtext/ustring.h"

// For each name in order, removes every statement whose head holds it as a
// plain substring: option, translation, constraint and default statements,
// comments, and heads where it is part of a longer word. An empty name, or
// one that spans lines, removes nothing.
void QZCFStringDeleteEnvelpes(UString& text, const std::vector<UString>& names);

// The same on recorded edits.
void DeleteEnvelopes(TextEdits& edits, const std::vector<UString>& names);

// Removes the first statement whose head holds "QzAutoSetup", if any.
void QZCFStringDeleteAutoSetup(UString& text);

#endif  // PPDLOCALIZE_PPDTEXT_LINE_DELETION_H_
