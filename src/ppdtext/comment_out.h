// Turning an option of a PPD keyword into comments instead of removing it.
#ifndef PPDLOCALIZE_PPDTEXT_COMMENT_OUT_H_
#define PPDLOCALIZE_PPDTEXT_COMMENT_OUT_H_

#include "ppdtext/ustring.h"

// In the option's own line (the first that begins with `*<keyword> <option>/`
// or `*<keyword> <option>:`)
// every "*" becomes "*%"; in every line holding `.<keyword> <option>/` a "*"
// that begins the line becomes "*%". Without an option line nothing changes.
// No line is removed and constraint lines are left alone.
void QZCFStringCommentOutKeywordOption(UString& text, UStringView keyword, UStringView option);

#endif  // PPDLOCALIZE_PPDTEXT_COMMENT_OUT_H_
