// Deleting an option of a PPD keyword from the PPD text: its option line, the
// translation lines that name it and, for the paper-size keywords PageSize
// and PageRegion, the `UIConstraints` lines that name it. Every operation
// edits the text in place and leaves it unchanged where nothing matches. Each
// removed line takes the rest of its statement with it when it opens a
// multi-line value (see statement_lines.h).
#ifndef PPDLOCALIZE_PPDTEXT_OPTION_DELETION_H_
#define PPDLOCALIZE_PPDTEXT_OPTION_DELETION_H_

#include <vector>

#include "ppdtext/ustring.h"

// Removes, for `keyword` (no asterisk, e.g. "PageSize") and `option` (e.g.
// "A4"):
//  1. the option's own line: the first line that begins with
//     `*<keyword> <option>/` or `*<keyword> <option>:` (not a comment or a
//     value quoting it). Without one nothing else is removed either;
//  2. every line holding `.<keyword> <option>/` (the translations);
//  3. for PageSize and PageRegion only, every line holding "UIConstraints"
//     and `*<keyword> <option>` followed by a double quote, a blank, a tab, a
//     line terminator or the end of the text.
// The character after the option bounds it: `A4` never matches `A4Small`.
void QZCFStringDeleteKeywordOption(UString& text, UStringView keyword, UStringView option);

// Deletes `paper` from PageRegion, PageSize, PaperDimension and ImageableArea,
// in that order. A paper size that a `*DefaultPageSize:`, `*DefaultPageRegion:`,
// `*DefaultPaperDimension:` or `*DefaultImageableArea:` statement selects is
// kept whole: deleting it would leave a default that names no choice.
void QZCFStringDeletePaperSize(UString& text, UStringView paper);

// Deletes each paper size of `papers` in order; null deletes nothing.
void QZCFStringDeletePaperSizeArray(UString& text, const std::vector<UString>* papers);

#endif  // PPDLOCALIZE_PPDTEXT_OPTION_DELETION_H_
