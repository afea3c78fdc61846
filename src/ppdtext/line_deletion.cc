#include "ppdtext/line_deletion.h"

#include <algorithm>

#include "ppdtext/text_edits.h"

void QZCFStringDeleteEnvelpes(UString& text, const std::vector<UString>& names) {
  TextEdits edits(text);
  DeleteEnvelopes(edits, names);
  edits.ApplyTo(text);
}

void DeleteEnvelopes(TextEdits& removals, const std::vector<UString>& names) {
  // A name within one line is either wholly in a removed statement or wholly
  // left, so the text as it stands holds exactly the original occurrences
  // that are left: each name needs one scan, and the gaps close once.
  const UStringView text = removals.text();
  for (const UString& name : names) {
    if (name.find_first_of(u"\r\n") != UString::npos) continue;  // no head holds it
    for (size_t at = StringFind(text, name); at != kNotFound; at = StringFind(text, name, at)) {
      if (removals.Matchable(at)) removals.RemoveStatementAt(at);
      at = std::max(at + 1, removals.SkipRemoved(at));
    }
  }
}

void QZCFStringDeleteAutoSetup(UString& text) {
  TextEdits removals(text);
  for (size_t at = StringFind(text, u"QzAutoSetup"); at != kNotFound; at = StringFind(text, u"QzAutoSetup", at + 1)) {
    if (removals.Matchable(at)) {
      removals.RemoveStatementAt(at);
      break;
    }
  }
  removals.ApplyTo(text);
}
