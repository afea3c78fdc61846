// Deleting an option of a PPD keyword from the PPD text: its option
// statement, the translations that name it and, for the paper-size keywords
// PageSize and PageRegion, the `UIConstraints` statements that name it. Every
// operation edits the text in place and leaves it unchanged where nothing
// matches. Patterns count in statement heads only, and statements go whole
// (see statements.h).
#ifndef PPDLOCALIZE_PPDTEXT_OPTION_DELETION_H_
#define PPDLOCALIZE_PPDTEXT_OPTION_DELETION_H_

#include <span>
#include <vector>

#include "ppdtext/text_edits.h"
#include "ppdtext/ustring.h"

// Removes, for `keyword` (no asterisk, e.g. "PageSize") and `option` (e.g.
// "A4"):
//  1. the option's own statement: the first whose head begins with
//     `*<keyword> <option>/` or `*<keyword> <option>:`. Without one (or when
//     that one's value never closes) nothing else is removed either;
//  2. every statement whose head holds `.<keyword> <option>/` (the
//     translations);
//  3. for PageSize and PageRegion only, every statement whose head holds
//     "UIConstraints" and `*<keyword>`, one or more blanks or tabs and
//     `<option>` followed by a double quote, a blank, a tab, a line
//     terminator or the end of the text (as libcups reads a constraint).
// The character after the option bounds it: `A4` never matches `A4Small`.
void QZCFStringDeleteKeywordOption(UString& text, UStringView keyword, UStringView option);

// Deletes `paper` from PageRegion, PageSize, PaperDimension and ImageableArea,
// in that order. A paper size that a `*DefaultPageSize:`, `*DefaultPageRegion:`,
// `*DefaultPaperDimension:` or `*DefaultImageableArea:` statement selects is
// kept whole: deleting it would leave a default that names no choice.
void QZCFStringDeletePaperSize(UString& text, UStringView paper);

// Deletes each paper size of `papers` in order; null deletes nothing.
void QZCFStringDeletePaperSizeArray(UString& text, const std::vector<UString>* papers);

// The same on recorded edits: deletes each paper size of `papers` in order.
void DeletePaperSizes(TextEdits& edits, std::span<const UStringView> papers);

// Scans the text ahead (TextEdits::ScanAhead) for the deletion of any of
// `papers`, and for statements that begin with one of `more_heads`.
void ScanAheadForPaperSizes(TextEdits& edits, std::span<const UStringView> papers,
                            std::span<const UStringView> more_heads);

#endif  // PPDLOCALIZE_PPDTEXT_OPTION_DELETION_H_
