// The PPD text as libcups reads it: a sequence of statements.
//
// A statement starts at a line start. On its first line (its head) the double
// quotes after the line's first colon count, and none count in a comment
// (a line that starts with `*%`); on every further line all quotes count.
// While the count is odd at a line end, the next line belongs to the same
// statement: that is a quoted value running over several lines. A value that
// never closes runs to the end of the text.
//
// Every edit of the PPD text matches its patterns in heads only, and removes
// or rewrites whole statements: text inside a multi-line value is never
// matched, and a value's tail is never left behind for libcups to misread.
// A statement whose value never closes is never removed or rewritten, nor is
// a structural one (IsStructural).
#ifndef PPDLOCALIZE_PPDTEXT_STATEMENTS_H_
#define PPDLOCALIZE_PPDTEXT_STATEMENTS_H_

#include <optional>
#include <vector>

#include "ppdtext/ustring.h"

struct Statement {
  size_t begin;    // the head's first character
  size_t headEnd;  // the head's first terminator character, or the text's end
  size_t end;      // just past the last line's terminator, or the text's end
  bool closed;     // false when the value runs on to the end of the text
  bool multiLine;  // true when it spans more than its head line
};

// The statement that begins at `begin`, which must be a line start.
Statement StatementAt(UStringView text, size_t begin);

// Where `s` ends together with a directly following, closed `*End` statement
// when `s` spans several lines: what an edit of `s` takes.
size_t StatementExtentEnd(UStringView text, const Statement& s);

// True for a statement that opens or closes the file, an option or a group
// (`*PPD-Adobe`, `*OpenUI`, `*CloseUI`, `*OpenGroup`, ...): libcups cannot read
// a file that lacks one, so no edit removes it, whatever name it mentions.
bool IsStructural(UStringView text, const Statement& s);

// The first statement whose head begins with `prefix`, or nothing.
std::optional<Statement> FindStatementStartingWith(UStringView text, UStringView prefix);

// Where the statements of one text lie, from one scan. Only the statements
// that span several lines or never close are kept: every other line is a
// statement of its own.
class StatementIndex {
 public:
  explicit StatementIndex(UStringView text);

  // The statement whose lines hold `at`.
  Statement Holding(size_t at) const;

  // True when `at` lies in the head of a statement that the edits may match
  // and remove: a closed one that is not structural.
  bool InEditableHead(size_t at) const;

 private:
  UStringView text_;
  std::vector<Statement> long_;  // in text order
};

#endif  // PPDLOCALIZE_PPDTEXT_STATEMENTS_H_
