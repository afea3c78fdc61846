// Line removals that are recorded rather than carried out at once.
//
// A sequence of removals from a large PPD text would move the text's tail
// once per removed line. LineRemovals instead keeps the removed ranges aside
// and answers questions about the text as it would stand after them ("the
// current text"), with positions of the original text; Apply() then closes
// all gaps in one pass. Removed ranges always run from a line's begin to a
// line's end, so every line that is left stays whole and keeps its original
// position.
#ifndef PPDLOCALIZE_PPDTEXT_LINE_REMOVALS_H_
#define PPDLOCALIZE_PPDTEXT_LINE_REMOVALS_H_

#include <map>

#include "ppdtext/statement_lines.h"
#include "ppdtext/ustring.h"

class LineRemovals {
 public:
  explicit LineRemovals(UString& text) : text_(text) {}
  LineRemovals(const LineRemovals&) = delete;
  LineRemovals& operator=(const LineRemovals&) = delete;

  UStringView text() const { return text_; }

  // True when `at` lies in a removed range.
  bool IsRemoved(size_t at) const;

  // `at` itself when it is left, otherwise the first position after the
  // removed range that holds it.
  size_t SkipRemoved(size_t at) const;

  // The statement at `at` (which must be left) as StatementRangeAt would
  // find it in the current text, in original positions; the range may span
  // ranges removed before.
  StatementRange StatementAt(size_t at) const;

  // Removes the statement at `at` (which must be left).
  void RemoveStatementAt(size_t at);

  // Carries out every recorded removal on the text and forgets them.
  void Apply();

  // Where the line holding `at` (which must be left) begins, and its first
  // terminator (or the end of the text).
  size_t LineBegin(size_t at) const;
  size_t ContentsEnd(size_t at) const;

 private:
  // The end of the line whose first terminator is at `contents_end`: a CR
  // whose next character left is an LF ends together with it.
  size_t LineEnd(size_t contents_end) const;
  // The next '"' left at or after `from`, or kNotFound.
  size_t NextQuote(size_t from) const;
  void Remove(size_t begin, size_t end);

  UString& text_;
  std::map<size_t, size_t> removed_;  // begin -> end; disjoint, never touching
};

#endif  // PPDLOCALIZE_PPDTEXT_LINE_REMOVALS_H_
