// Removals of whole statements that are recorded rather than carried out at
// once.
//
// A sequence of removals from a large PPD text would move the text's tail
// once per removed statement. StatementRemovals instead keeps the removed
// ranges aside and answers questions about the text as it would stand after
// them, with positions of the original text; Apply() then closes all gaps in
// one pass. Removing whole statements leaves every other statement as it was,
// so the statements found in the original text stay valid throughout.
#ifndef PPDLOCALIZE_PPDTEXT_STATEMENT_REMOVALS_H_
#define PPDLOCALIZE_PPDTEXT_STATEMENT_REMOVALS_H_

#include <map>

#include "ppdtext/statements.h"
#include "ppdtext/ustring.h"

class StatementRemovals {
 public:
  explicit StatementRemovals(UString& text) : text_(text), index_(text) {}
  StatementRemovals(const StatementRemovals&) = delete;
  StatementRemovals& operator=(const StatementRemovals&) = delete;

  UStringView text() const { return text_; }

  // The statement whose lines hold `at`.
  Statement Holding(size_t at) const { return index_.Holding(at); }

  // True when a pattern found at `at` counts: `at` lies in the head of a
  // statement that is left and that the edits may remove.
  bool Matchable(size_t at) const { return !IsRemoved(at) && index_.InEditableHead(at); }

  bool IsRemoved(size_t at) const;

  // `at` itself when it is left, otherwise the first position after the
  // removed range that holds it.
  size_t SkipRemoved(size_t at) const;

  // Removes the statement holding `at` (Matchable), and a directly following
  // `*End` statement when it spans several lines.
  void RemoveStatementAt(size_t at);

  // Carries out every recorded removal on the text and forgets them.
  void Apply();

 private:
  // Where a removal that ends at `end` ends in the text as it will stand: a
  // lone CR there joins an LF that directly follows what is removed after it.
  size_t JoinedEnd(size_t end) const;
  void Remove(size_t begin, size_t end);

  UString& text_;
  StatementIndex index_;
  std::map<size_t, size_t> removed_;  // begin -> end; disjoint, never touching
};

#endif  // PPDLOCALIZE_PPDTEXT_STATEMENT_REMOVALS_H_
