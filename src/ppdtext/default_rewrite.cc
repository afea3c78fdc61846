#include "ppdtext/default_rewrite.h"

#include <optional>

namespace {

constexpr UStringView kVendorPrefix = u"QZ";

bool HasVendorPrefix(UStringView keyword) { return StringFind(keyword, kVendorPrefix) != kNotFound; }

// Replaces the first statement whose head begins with `*<keyword>:` by the
// line that `format` makes of the keyword and `value`, with a directly
// following `*End` statement when it spans several lines. A statement whose
// value never closes stays as it is. Answers whether there was a statement.
bool RewriteStatement(TextEdits& edits, UStringView keyword, const char* format, UStringView value) {
  const std::optional<UString> head = StringCreateWithFormat("*%@:", {keyword});
  const std::optional<size_t> at = head ? edits.FindStatementStartingWith(*head) : std::nullopt;
  if (!at) return false;
  if (const std::optional<UString> line = StringCreateWithFormat(format, {keyword, value})) {
    edits.ReplaceStatementAt(*at, *line);
  }
  return true;
}

template <typename Edit>
void OnText(UString& text, Edit edit) {
  TextEdits edits(text);
  edit(edits);
  edits.ApplyTo(text);
}

}  // namespace

void QZCFStringChangeDefault(UString& text, UStringView keyword, UStringView value) {
  OnText(text, [&](TextEdits& edits) { ChangeDefault(edits, keyword, value); });
}

void QZCFStringChangeGeneralInformation(UString& text, UStringView keyword, UStringView value) {
  OnText(text, [&](TextEdits& edits) { ChangeGeneralInformation(edits, keyword, value); });
}

void ChangeDefault(TextEdits& edits, UStringView keyword, UStringView value) {
  const std::optional<UString> default_keyword = StringCreateWithFormat("%@%@", {u"Default", keyword});
  if (!default_keyword || RewriteStatement(edits, *default_keyword, "*%@: %@\n", value)) return;
  if (HasVendorPrefix(keyword)) return;
  if (const std::optional<UString> prefixed = StringCreateWithFormat("QZ%@", {keyword})) {
    ChangeDefault(edits, *prefixed, value);
  }
}

void ChangeGeneralInformation(TextEdits& edits, UStringView keyword, UStringView value) {
  if (RewriteStatement(edits, keyword, "*%@: \"%@\"\n", value)) return;
  if (HasVendorPrefix(keyword)) return;
  if (const std::optional<UString> prefixed = StringCreateWithFormat("QZ%@", {keyword})) {
    ChangeDefault(edits, *prefixed, value);
  }
}
