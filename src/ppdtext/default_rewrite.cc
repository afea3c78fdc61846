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

bool ChangeDefault(TextEdits& edits, UStringView keyword, UStringView value) {
  const std::optional<UString> default_keyword = StringCreateWithFormat("%@%@", {u"Default", keyword});
  if (!default_keyword) return false;
  if (RewriteStatement(edits, *default_keyword, "*%@: %@\n", value)) return true;
  if (HasVendorPrefix(keyword)) return false;
  const std::optional<UString> prefixed = StringCreateWithFormat("QZ%@", {keyword});
  return prefixed && ChangeDefault(edits, *prefixed, value);
}

bool ChangeGeneralInformation(TextEdits& edits, UStringView keyword, UStringView value) {
  if (RewriteStatement(edits, keyword, "*%@: \"%@\"\n", value)) return true;
  if (HasVendorPrefix(keyword)) return false;
  const std::optional<UString> prefixed = StringCreateWithFormat("QZ%@", {keyword});
  return prefixed && ChangeDefault(edits, *prefixed, value);
}

bool OffersChoice(TextEdits& edits, UStringView keyword, UStringView choice) {
  for (const char16_t end : {u'/', u':'}) {
    const UString head = StringConcat({u"*", keyword, u" ", choice, UStringView(&end, 1)});
    if (edits.FindStatementStartingWith(head)) return true;
  }
  return false;
}

namespace {

bool IsPaperKeyword(UStringView keyword) { return keyword == u"PageSize" || keyword == u"PageRegion"; }

constexpr UStringView kPaperDefaults[] = {u"PageSize", u"PageRegion", u"PaperDimension", u"ImageableArea"};

}  // namespace

DefaultSetting SetDefaultWhereOffered(TextEdits& edits, UStringView keyword, UStringView choice) {
  if (IsPaperKeyword(keyword)) {
    if (!OffersChoice(edits, u"PageSize", choice) && !OffersChoice(edits, u"PageRegion", choice)) {
      return DefaultSetting::kNotOffered;
    }
    bool set = false;
    for (const UStringView paper : kPaperDefaults) set = ChangeDefault(edits, paper, choice) || set;
    return set ? DefaultSetting::kSet : DefaultSetting::kNoDefault;
  }
  const UString vendor = StringConcat({u"QZ", keyword});
  if (!OffersChoice(edits, keyword, choice) && (HasVendorPrefix(keyword) || !OffersChoice(edits, vendor, choice))) {
    return DefaultSetting::kNotOffered;
  }
  return ChangeDefault(edits, keyword, choice) ? DefaultSetting::kSet : DefaultSetting::kNoDefault;
}

std::vector<UString> SetDefaultHeads(UStringView keyword, UStringView choice) {
  std::vector<UString> heads;
  const std::vector<UStringView> keywords = IsPaperKeyword(keyword) ? std::vector<UStringView>(std::begin(kPaperDefaults), std::end(kPaperDefaults))
                                                                    : std::vector<UStringView>{keyword};
  for (const UStringView k : keywords) {
    heads.push_back(StringConcat({u"*Default", k, u":"}));
    heads.push_back(StringConcat({u"*DefaultQZ", k, u":"}));
    for (const UStringView end : {u"/", u":"}) {
      heads.push_back(StringConcat({u"*", k, u" ", choice, end}));
      heads.push_back(StringConcat({u"*QZ", k, u" ", choice, end}));
    }
  }
  return heads;
}
