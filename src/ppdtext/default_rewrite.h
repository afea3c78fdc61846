// Rewriting the statement that sets a default or a general-information value.
// Both operations replace an existing statement whole (see statements.h)
// with one line ending in a line feed, and never add one. The value is
// inserted as given, unescaped. A statement whose value never closes counts
// as found and stays as it is.
#ifndef PPDLOCALIZE_PPDTEXT_DEFAULT_REWRITE_H_
#define PPDLOCALIZE_PPDTEXT_DEFAULT_REWRITE_H_

#include <vector>

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

// The same two on recorded edits; each answers whether it found a statement
// to rewrite.
bool ChangeDefault(TextEdits& edits, UStringView keyword, UStringView value);
bool ChangeGeneralInformation(TextEdits& edits, UStringView keyword, UStringView value);

// Whether the text, as the edits leave it, offers `choice` under `keyword`:
// has a statement whose head begins with `*<keyword> <choice>` and a slash
// or a colon.
bool OffersChoice(TextEdits& edits, UStringView keyword, UStringView choice);

// What SetDefaultWhereOffered did.
enum class DefaultSetting { kSet, kNotOffered, kNoDefault };

// The default of `keyword` set to `choice` as ChangeDefault sets it, but only
// where the text offers that choice under `keyword` or its vendor form
// QZ<keyword>: a default never names a choice the PPD does not have. For
// PageSize and PageRegion the four paper defaults (PageSize, PageRegion,
// PaperDimension, ImageableArea) are set together, as cupsd sets them when it
// makes a queue.
DefaultSetting SetDefaultWhereOffered(TextEdits& edits, UStringView keyword, UStringView choice);

// The heads of the statements SetDefaultWhereOffered may look for or
// rewrite, for a scan made ahead (TextEdits::ScanAhead).
std::vector<UString> SetDefaultHeads(UStringView keyword, UStringView choice);

#endif  // PPDLOCALIZE_PPDTEXT_DEFAULT_REWRITE_H_
