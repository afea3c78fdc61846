// Rewriting the statement that sets a default or a general-information value.
// Both operations replace an existing statement whole (see statements.h)
// with one line ending in a line feed, and never add one. The value is
// inserted as given, unescaped. A statement whose value never closes counts
// as found and stays as it is.
#ifndef PPDLOCALIZE_PPDTEXT_DEFAULT_REWRITE_H_
#define PPDLOCALIZE_PPDTEXT_DEFAULT_REWRITE_H_

#include "ppdtext/text_edits.h"
#include "ppdtext/ustring.h"

// The first statement whose head begins with `*Default<keyword>:` becomes
// `*Default<keyword>: <value>`. Without one, and when `keyword` does not hold
// "QZ", the vendor form `*DefaultQZ<keyword>:` is tried the same way.
void QZCFStringChangeDefault(UString& text, UStringView keyword, UStringView value);

// The first statement whose head begins with `*<keyword>:` becomes
// `*<keyword>: "<value>"`. Without one, and when `keyword` does not hold
// "QZ", the default rewrite runs with "QZ" + keyword.
void QZCFStringChangeGeneralInformation(UString& text, UStringView keyword, UStringView value);

// The same two on recorded edits.
void ChangeDefault(TextEdits& edits, UStringView keyword, UStringView value);
void ChangeGeneralInformation(TextEdits& edits, UStringView keyword, UStringView value);

#endif  // PPDLOCALIZE_PPDTEXT_DEFAULT_REWRITE_H_
