#include "ppdtext/option_deletion.h"

#include <array>
#include <optional>

#include "ppdtext/option_occurrences.h"
#include "ppdtext/text_edits.h"

// Each deletion runs a fixed sequence of passes (option statement,
// translations, constraints) whose every search depends on what the passes
// before it removed. Rather than searching the whole text once per
// pass and closing the gap once per removed statement, the occurrences of all
// the patterns involved are found in one scan of the text, the passes walk
// those lists, and removals are recorded in TextEdits, which closes the gaps
// at the end in one pass. A pattern counts only in the head of a
// statement, so a keyword or option that spans lines matches nothing.

namespace {

constexpr UStringView kConstraintMarker = u"UIConstraints";
constexpr std::array<UStringView, 4> kPaperKeywords = {u"PageRegion", u"PageSize", u"PaperDimension",
                                                       u"ImageableArea"};
constexpr std::array<UStringView, 4> kPaperDefaults = {u"*DefaultPageSize:", u"*DefaultPageRegion:",
                                          u"*DefaultPaperDimension:", u"*DefaultImageableArea:"};

bool SpansLines(UStringView s) {
  return s.find_first_of(u"\r\n") != UStringView::npos;
}

bool TakesConstraints(UStringView keyword) { return keyword == u"PageSize" || keyword == u"PageRegion"; }

// Which occurrences a pass lands on, by the lead character, the form, the
// character after the option and, for the option's own statement, where it
// stands.
using Landing = bool (*)(const OptionOccurrence& o, UStringView text);

bool Next(const OptionOccurrence& o, UStringView text, char16_t c) {
  return o.after < text.size() && text[o.after] == c;
}
bool OptionLine(const OptionOccurrence& o, UStringView text) {
  return o.lead == u'*' && (o.forms & kLiteral) && (Next(o, text, u'/') || Next(o, text, u':')) &&
         IsLineStart(text, o.at);
}
bool TranslationLine(const OptionOccurrence& o, UStringView text) {
  return o.lead == u'.' && (o.forms & kLiteral) && Next(o, text, u'/');
}
// In a constraint the option ends at a quote, a blank, a tab, the line's end
// or the text's end; blanks and tabs before it may be many.
bool Constraint(const OptionOccurrence& o, UStringView text) {
  return o.lead == u'*' && (o.forms & kSpaced) &&
         (o.after == text.size() || Next(o, text, u'"') || Next(o, text, u' ') || Next(o, text, u'\t') ||
          IsLineTerminator(text[o.after]));
}

// One option of one keyword, deleted against recorded removals.
class OptionPasses {
 public:
  OptionPasses(TextEdits& removals, const std::vector<OptionOccurrence>& occurrences, uint32_t keyword)
      : removals_(removals), occurrences_(occurrences), keyword_(keyword) {}

  void Run(bool constraints) {
    if (!RemoveFirst(OptionLine)) return;
    ForEachLanding(TranslationLine, [&](size_t at) { removals_.RemoveStatementAt(at); });
    if (!constraints) return;
    ForEachLanding(Constraint, [&](size_t at) {
      const Statement s = removals_.Holding(at);
      if (StringFind(removals_.text(), kConstraintMarker, s.begin, s.headEnd) != kNotFound) {
        removals_.RemoveStatementAt(at);
      }
    });
  }

 private:
  bool Lands(const OptionOccurrence& o, Landing landing) const {
    return o.keyword == keyword_ && landing(o, removals_.text()) && removals_.Matchable(o.at);
  }

  bool RemoveFirst(Landing landing) {
    for (const OptionOccurrence& o : occurrences_) {
      if (Lands(o, landing)) {
        removals_.RemoveStatementAt(o.at);
        return true;
      }
    }
    return false;
  }

  // Visits the occurrences a pass lands on, in order. A pass that has looked
  // at a head goes on after it, whether it removed the statement or not, so
  // later occurrences in the same head are not visited.
  template <typename Visit>
  void ForEachLanding(Landing landing, Visit visit) {
    size_t resume = 0;
    for (const OptionOccurrence& o : occurrences_) {
      if (o.at < resume || !Lands(o, landing)) continue;
      resume = removals_.Holding(o.at).headEnd;
      visit(o.at);
    }
  }

  TextEdits& removals_;
  const std::vector<OptionOccurrence>& occurrences_;
  uint32_t keyword_;
};

UStringView TrimBlanks(UStringView value) {
  const size_t first = value.find_first_not_of(u" \t");
  if (first == UStringView::npos) return {};
  return value.substr(first, value.find_last_not_of(u" \t") - first + 1);
}

bool IsDefaultPaperSize(const TextEdits& removals, const std::vector<size_t>& defaults, UStringView paper) {
  const UStringView text = removals.text();
  for (const size_t at : defaults) {
    if (!removals.Matchable(at)) continue;
    const size_t value = at + text.substr(at).find(u':') + 1;
    if (TrimBlanks(text.substr(value, removals.Holding(at).headEnd - value)) == paper) return true;
  }
  return false;
}

// Deletes `options` in order under each of `keywords` in order.
void DeleteOptions(TextEdits& removals, std::span<const UStringView> keywords, std::span<const UStringView> options,
                   bool keep_defaults) {
  const OptionOccurrences found =
      removals.FindOptions(keywords, options, keep_defaults ? kPaperDefaults : std::span<const UStringView>());
  for (size_t i = 0; i < options.size(); ++i) {
    if (keep_defaults && IsDefaultPaperSize(removals, found.heads, options[i])) continue;
    for (uint32_t k = 0; k < keywords.size(); ++k) {
      OptionPasses(removals, found.options[i], k).Run(TakesConstraints(keywords[k]));
    }
  }
}

std::vector<UStringView> OneLinePapers(std::span<const UStringView> papers) {
  std::vector<UStringView> views;
  for (const UStringView paper : papers) {
    if (!SpansLines(paper)) views.push_back(paper);
  }
  return views;
}

}  // namespace

void QZCFStringDeleteKeywordOption(UString& text, UStringView keyword, UStringView option) {
  if (SpansLines(keyword) || SpansLines(option)) return;
  TextEdits edits(text);
  DeleteOptions(edits, {&keyword, 1}, {&option, 1}, /*keep_defaults=*/false);
  edits.ApplyTo(text);
}

void QZCFStringDeletePaperSize(UString& text, UStringView paper) {
  if (SpansLines(paper)) return;
  TextEdits edits(text);
  DeleteOptions(edits, kPaperKeywords, {&paper, 1}, /*keep_defaults=*/true);
  edits.ApplyTo(text);
}

void QZCFStringDeletePaperSizeArray(UString& text, const std::vector<UString>* papers) {
  if (papers == nullptr) return;
  const std::vector<UStringView> views(papers->begin(), papers->end());
  TextEdits edits(text);
  DeletePaperSizes(edits, views);
  edits.ApplyTo(text);
}

void DeletePaperSizes(TextEdits& edits, std::span<const UStringView> papers) {
  DeleteOptions(edits, kPaperKeywords, OneLinePapers(papers), /*keep_defaults=*/true);
}

void ScanAheadForPaperSizes(TextEdits& edits, std::span<const UStringView> papers,
                            std::span<const UStringView> more_heads) {
  std::vector<UStringView> heads(kPaperDefaults.begin(), kPaperDefaults.end());
  heads.insert(heads.end(), more_heads.begin(), more_heads.end());
  edits.ScanAhead(kPaperKeywords, OneLinePapers(papers), heads);
}
