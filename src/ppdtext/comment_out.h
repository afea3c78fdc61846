// Turning an option of a PPD keyword into comments instead of removing it.
#ifndef PPDLOCALIZE_PPDTEXT_COMMENT_OUT_H_
#define PPDLOCALIZE_PPDTEXT_COMMENT_OUT_H_

#include "ppdtext/ustring.h"

// In the option's own statement (the first whose head begins with
// `*<keyword> <option>/` or `*<keyword> <option>:`) every "*" of the head
// becomes "*%"; in every statement whose head holds `.<keyword> <option>/` a
// "*" that begins the head becomes "*%". The further lines of a multi-line
// statement (and its `*End`) get "*%" in front. Without an option statement
// nothing changes. No line is removed and constraints are left alone.
void QZCFStringCommentOutKeywordOption(UString& text, UStringView keyword, UStringView option);

#endif  // PPDLOCALIZE_PPDTEXT_COMMENT_OUT_H_
