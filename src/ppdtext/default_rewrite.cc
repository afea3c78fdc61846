#include "ppdtext/default_rewrite.h"

#include <optional>

#include "ppdtext/statement_lines.h"

namespace {

constexpr UStringView kVendorPrefix = u"QZ";

bool HasVendorPrefix(UStringView keyword) { return StringFind(keyword, kVendorPrefix) != kNotFound; }

// Position of the statement whose main keyword is `keyword`, or kNotFound.
size_t FindStatement(UStringView text, UStringView keyword) {
  const std::optional<UString> head = StringCreateWithFormat("*%@:", {keyword});
  return head ? FindLineStartingWith(text, *head) : kNotFound;
}

}  // namespace

void QZCFStringChangeDefault(UString& text, UStringView keyword, UStringView value) {
  const std::optional<UString> default_keyword = StringCreateWithFormat("%@%@", {u"Default", keyword});
  if (!default_keyword) return;
  const size_t at = FindStatement(text, *default_keyword);
  if (at != kNotFound) {
    if (const std::optional<UString> line = StringCreateWithFormat("*%@: %@\n", {*default_keyword, value})) {
      ReplaceStatementAt(text, at, *line);
    }
    return;
  }
  if (HasVendorPrefix(keyword)) return;
  if (const std::optional<UString> prefixed = StringCreateWithFormat("QZ%@", {keyword})) {
    QZCFStringChangeDefault(text, *prefixed, value);
  }
}

void QZCFStringChangeGeneralInformation(UString& text, UStringView keyword, UStringView value) {
  const size_t at = FindStatement(text, keyword);
  if (at != kNotFound) {
    if (const std::optional<UString> line = StringCreateWithFormat("*%@: \"%@\"\n", {keyword, value})) {
      ReplaceStatementAt(text, at, *line);
    }
    return;
  }
  if (HasVendorPrefix(keyword)) return;
  if (const std::optional<UString> prefixed = StringCreateWithFormat("QZ%@", {keyword})) {
    QZCFStringChangeDefault(text, *prefixed, value);
  }
}
