// The edits of a PPD text, recorded rather than carried out at once.
//
// A sequence of edits of a large PPD text would move the text's tail once
// per removed or rewritten statement. TextEdits instead keeps the removed
// ranges and the lines that replace statements aside, and answers questions
// about the text as it would stand after them, with positions of the
// original text. Removing or replacing whole statements leaves every other
// statement as it was, so one statement index of the original text serves
// every edit of a run. At the end the edits are carried out in one pass
// (ApplyTo), or the pieces of the edited text are handed out in order
// (ForEachPiece) so that it can be written without being put together.
//
// The original text must stay as it is while a TextEdits refers to it. A
// copy shares the index and the scan made ahead, and goes on on its own: it
// is the cheap way to try several sequences of edits on one text.
#ifndef PPDLOCALIZE_PPDTEXT_TEXT_EDITS_H_
#define PPDLOCALIZE_PPDTEXT_TEXT_EDITS_H_

#include <map>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "ppdtext/option_occurrences.h"
#include "ppdtext/statements.h"
#include "ppdtext/ustring.h"

class TextEdits {
 public:
  explicit TextEdits(UStringView text) : text_(text), index_(std::make_shared<const StatementIndex>(text)) {}
  TextEdits(const TextEdits&) = default;
  TextEdits& operator=(const TextEdits&) = default;
  TextEdits(TextEdits&&) = default;
  TextEdits& operator=(TextEdits&&) = default;

  // The original text.
  UStringView text() const { return text_; }

  // The statement whose lines hold `at`.
  Statement Holding(size_t at) const { return index_->Holding(at); }

  // True when a pattern found at `at` counts: `at` lies in the head of a
  // statement that is left and that the edits may remove.
  bool Matchable(size_t at) const { return !IsRemoved(at) && index_->InEditableHead(at); }

  // True when `at` lies in a removed or replaced range.
  bool IsRemoved(size_t at) const;

  // `at` itself when it is left, otherwise the first position after the
  // removed ranges that hold it (a replaced range stops it: what stands
  // there now is the replacing line).
  size_t SkipRemoved(size_t at) const;

  // Removes the statement holding `at` (Matchable), and a directly following
  // `*End` statement when it spans several lines.
  void RemoveStatementAt(size_t at);

  // The first statement, in the text as it stands, whose head begins with
  // `prefix` (which begins with '*'): its begin, or nothing. A replacing line
  // counts as the statement it replaced.
  std::optional<size_t> FindStatementStartingWith(UStringView prefix);

  // Replaces the statement that begins at `begin` (found above), and a
  // directly following `*End` statement when it spans several lines, by
  // `line`. A statement whose value never closes stays as it is.
  void ReplaceStatementAt(size_t begin, UStringView line);

  // What FindOptionOccurrences finds in the original text. The occurrences
  // of any option and the heads that ScanAhead looked for already are taken
  // from that scan instead of scanning the text again.
  OptionOccurrences FindOptions(std::span<const UStringView> keywords, std::span<const UStringView> options,
                                std::span<const UStringView> heads);

  // How many times FindOptions had to scan the text, its question not
  // covered by ScanAhead's: none when the scan ahead was complete.
  size_t FullScans() const { return full_scans_; }

  // Scans the text once, now, for the edits to come (see FindOptions): for
  // work that can be done before it is known which edits a run makes.
  void ScanAhead(std::span<const UStringView> keywords, std::span<const UStringView> options,
                 std::span<const UStringView> heads);

  // Calls piece(view) for each piece of the edited text in order: the parts
  // of the original text that are left and the replacing lines.
  template <typename Piece>
  void ForEachPiece(Piece piece) const {
    size_t kept = 0;
    for (const auto& [begin, edit] : edits_) {
      if (begin > kept) piece(text_.substr(kept, begin - kept));
      if (edit.line >= 0) piece(UStringView(lines_[static_cast<size_t>(edit.line)]));
      kept = edit.end;
    }
    if (kept < text_.size()) piece(text_.substr(kept));
  }

  // The size of the edited text.
  size_t EditedSize() const;

  // Carries out every edit on `text`, which must be the original text.
  void ApplyTo(UString& text) const;

 private:
  struct Edit {
    size_t end;
    int line;  // index into lines_, or -1 for a removal
  };
  struct Scan {
    std::vector<UString> keywords, options, heads;
    OptionOccurrences found;
  };

  // Where a removal that ends at `end` ends in the text as it will stand: a
  // lone CR there joins an LF that directly follows what is removed after it.
  size_t JoinedEnd(size_t end) const;
  // The end of a multi-line statement `s` together with a directly
  // following, closed `*End` statement.
  size_t ExtentEnd(const Statement& s) const;
  void Remove(size_t begin, size_t end);
  bool Covers(std::span<const UStringView> keywords, std::span<const UStringView> options,
              std::span<const UStringView> heads) const;

  UStringView text_;
  std::shared_ptr<const StatementIndex> index_;
  size_t full_scans_ = 0;
  std::map<size_t, Edit> edits_;  // begin -> edit; disjoint; removals never touch each other
  std::vector<UString> lines_;
  std::shared_ptr<const Scan> scan_;
};

#endif  // PPDLOCALIZE_PPDTEXT_TEXT_EDITS_H_
