// Rewriting the statement that sets a default or a general-information value.
// Both operations replace an existing statement (the whole statement, also
// when its value runs over several lines) with one line ending in a line
// feed, and never add one. The value is inserted as given, unescaped.
#ifndef PPDLOCALIZE_PPDTEXT_DEFAULT_REWRITE_H_
#define PPDLOCALIZE_PPDTEXT_DEFAULT_REWRITE_H_

#include "ppdtext/ustring.h"

// The first line that begins with `*Default<keyword>:` becomes
// `*Default<keyword>: <value>`. Without one, and when `keyword` does not hold
// "QZ", the vendor form `*DefaultQZ<keyword>:` is tried the same way.
void QZCFStringChangeDefault(UString& text, UStringView keyword, UStringView value);

// The first line that begins with `*<keyword>:` becomes
// `*<keyword>: "<value>"`. Without one, and when `keyword` does not hold
// "QZ", the default rewrite runs with "QZ" + keyword.
void QZCFStringChangeGeneralInformation(UString& text, UStringView keyword, UStringView value);

#endif  // PPDLOCALIZE_PPDTEXT_DEFAULT_REWRITE_H_
