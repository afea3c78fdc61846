// Rewriting the icon file named in the PPD text. A PPD may name the printer's
// icon by a path ending in `<base name>.icns`; these operations swap that
// file name for another and leave the rest of the path alone.
#ifndef PPDLOCALIZE_EXTRAS_ICNS_H_
#define PPDLOCALIZE_EXTRAS_ICNS_H_

#include <optional>

#include "ppdtext/ustring.h"

// The expression that finds the current icon base name: "QZ", one character
// that is not a slash, at least one more character, then ".icns", all on one
// line (REG_NEWLINE). By POSIX leftmost-longest matching, group 1 runs from
// the first suitable "QZ" to the last ".icns" on that line.
inline constexpr const char kIconNameExpression[] = "(QZ[^/].+)[.]icns";

// Replaces the first occurrence of `<current>.icns` in `text` with
// `<replacement>.icns`. Later occurrences, and whatever precedes the base
// name in the path, stay as they were. No occurrence: no change.
void QZCFStringModifyICNS(UString& text, UStringView current, UStringView replacement);

// Takes the new icon base name from the main bundle's information dictionary
// (bundle_info.h): `QZBundleIcon` -> `outerKey` -> `middleKey` -> `innerKey`,
// a string. Note the argument order: the middle key comes last. Finds the
// current base name in `text` with kIconNameExpression and replaces its first
// reference with the new one. A missing or mistyped level, a leaf that is not
// a string, or a text without a current name leaves `text` unchanged.
void QZCFStringReplaceICNS2(UString& text, UStringView outerKey, UStringView innerKey,
                            UStringView middleKey);

// The text that capture group 1 of the POSIX extended expression
// `expression` (compiled with REG_EXTENDED | REG_NEWLINE) matches at its first
// match in `text`, matched against the UTF-8 encoding of `text`. Answers
// nothing when `expression` is null or does not compile, when `text` does not
// encode (a lone surrogate), when there is no match, or when group 1 did not
// take part, or when it cut a character in two (an expression that matches
// single bytes). Matching stops at a U+0000 in `text`, as for any C string.
std::optional<UString> QZCFStringCreateFind(const char* expression, UStringView text);

#endif  // PPDLOCALIZE_EXTRAS_ICNS_H_
