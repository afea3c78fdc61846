#include "ppdtext/default_rewrite.h"

#include <optional>

#include "ppdtext/statements.h"

namespace {

constexpr UStringView kVendorPrefix = u"QZ";

bool HasVendorPrefix(UStringView keyword) { return StringFind(keyword, kVendorPrefix) != kNotFound; }

// Replaces the first statement whose head begins with `*<keyword>:` by the
// line that `format` makes of the keyword and `value`, with a directly
// following `*End` statement when it spans several lines. A statement whose
// value never closes stays as it is. Answers whether there was a statement.
bool RewriteStatement(UString& text, UStringView keyword, const char* format, UStringView value) {
  const std::optional<UString> head = StringCreateWithFormat("*%@:", {keyword});
  const std::optional<Statement> s = head ? FindStatementStartingWith(text, *head) : std::nullopt;
  if (!s) return false;
  const std::optional<UString> line = StringCreateWithFormat(format, {keyword, value});
  if (!s->closed || !line) return true;
  StringReplace(text, s->begin, StatementExtentEnd(text, *s), *line);
  return true;
}

}  // namespace

void QZCFStringChangeDefault(UString& text, UStringView keyword, UStringView value) {
  const std::optional<UString> default_keyword = StringCreateWithFormat("%@%@", {u"Default", keyword});
  if (!default_keyword || RewriteStatement(text, *default_keyword, "*%@: %@\n", value)) return;
  if (HasVendorPrefix(keyword)) return;
  if (const std::optional<UString> prefixed = StringCreateWithFormat("QZ%@", {keyword})) {
    QZCFStringChangeDefault(text, *prefixed, value);
  }
}

void QZCFStringChangeGeneralInformation(UString& text, UStringView keyword, UStringView value) {
  if (RewriteStatement(text, keyword, "*%@: \"%@\"\n", value)) return;
  if (HasVendorPrefix(keyword)) return;
  if (const std::optional<UString> prefixed = StringCreateWithFormat("QZ%@", {keyword})) {
    QZCFStringChangeDefault(text, *prefixed, value);
  }
}
