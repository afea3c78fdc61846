#include "ppdtext/line_deletion.h"

#include <algorithm>

#include "ppdtext/line_removals.h"
#include "ppdtext/simple_edits.h"
#include "ppdtext/statement_lines.h"

void QZCFStringDeleteEnvelpes(UString& text, const std::vector<UString>& names) {
  const bool spans = std::any_of(names.begin(), names.end(), [](const UString& name) {
    return name.find_first_of(u"\r\n") != UString::npos;
  });
  if (spans) return SimpleDeleteEnvelpes(text, names);

  // A name within one line is either wholly in a removed line or wholly
  // left, so the text as it stands holds exactly the original occurrences
  // that are left: each name needs one scan, and the gaps close once.
  LineRemovals removals(text);
  for (const UString& name : names) {
    for (size_t at = StringFind(text, name); at != kNotFound; at = StringFind(text, name, at)) {
      if (!removals.IsRemoved(at)) removals.RemoveStatementAt(at);
      at = removals.SkipRemoved(at);
    }
  }
  removals.Apply();
}

void QZCFStringDeleteAutoSetup(UString& text) {
  const size_t at = StringFind(text, u"QzAutoSetup");
  if (at != kNotFound) RemoveStatementAt(text, at);
}
