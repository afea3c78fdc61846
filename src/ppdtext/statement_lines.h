// Whole PPD statements as line ranges of the PPD text.
//
// A statement's quoted value may run over several lines: the line that opens
// it holds an odd number of double quotes, a later line closes it, and an
// `*End` line often follows. Editing only the first line would leave the rest
// of the value behind, and its stray quote would swallow the statements after
// it, so the edits here always take the whole statement.
#ifndef PPDLOCALIZE_PPDTEXT_STATEMENT_LINES_H_
#define PPDLOCALIZE_PPDTEXT_STATEMENT_LINES_H_

#include "ppdtext/ustring.h"

// [begin, end) of the statement whose first line holds `index`: that line
// with its terminator; when the line holds an odd number of double quotes,
// also the following lines through the one where the value's quotes balance
// (the first later line, among those holding a double quote, that holds an
// odd number of them: as libcups reads it, a line like `a" "b` closes the
// value and opens it again), and then a directly following line that begins
// with `*End`. Without such a line, only the first line.
struct StatementRange {
  size_t begin;
  size_t end;
};
StatementRange StatementRangeAt(UStringView text, size_t index);

// Removes the statement at `index`; answers where it began, which is where
// the text that followed it now starts.
size_t RemoveStatementAt(UString& text, size_t index);

// Replaces the statement at `index` with `line` (which carries its own
// terminator).
void ReplaceStatementAt(UString& text, size_t index, UStringView line);

// Position of the first line that begins with `prefix`, or kNotFound.
size_t FindLineStartingWith(UStringView text, UStringView prefix);

// Position of an option's own line: the first line that begins with
// `*<keyword> <option>/` or `*<keyword> <option>:`, or kNotFound. A statement
// begins its line, so a comment (`*%*PageSize A4/...`) or a value that quotes
// the pattern is not the option's line.
size_t FindOptionLine(UStringView text, UStringView keyword, UStringView option);

#endif  // PPDLOCALIZE_PPDTEXT_STATEMENT_LINES_H_
