#include "ppdtext/line_deletion.h"

#include "ppdtext/statement_lines.h"

void QZCFStringDeleteEnvelpes(UString& text, const std::vector<UString>& names) {
  for (const UString& name : names) {
    if (name.empty()) continue;
    // The text before a removed line is unchanged and held no occurrence, so
    // only one that straddles the join can be new: resume just before it.
    size_t from = 0;
    for (size_t at; (at = StringFind(text, name, from)) != kNotFound;) {
      const size_t begin = RemoveStatementAt(text, at);
      from = begin >= name.size() - 1 ? begin - (name.size() - 1) : 0;
    }
  }
}

void QZCFStringDeleteAutoSetup(UString& text) {
  const size_t at = StringFind(text, u"QzAutoSetup");
  if (at != kNotFound) RemoveStatementAt(text, at);
}
