#include "reference_edits.h"

#include <optional>

#include "ppdtext/default_rewrite.h"
#include "ppdtext/option_deletion.h"
#include "ppdtext/statements.h"
#include "ppdtext/text_edits.h"

namespace {

// The first occurrence of `pattern` at or after `from` that lies in the head
// of an editable statement (at its start when `at_start`), or kNotFound.
size_t FindInHead(UStringView text, UStringView pattern, size_t from = 0, bool at_start = false) {
  for (size_t begin = 0; begin < text.size();) {
    const Statement s = StatementAt(text, begin);
    const bool editable = s.closed && !IsStructural(text, s);
    for (size_t at = StringFind(text, pattern, std::max(from, s.begin), s.headEnd); editable && at != kNotFound;
         at = StringFind(text, pattern, at + 1, s.headEnd)) {
      if (!at_start || at == s.begin) return at;
    }
    begin = s.end;
  }
  return kNotFound;
}

Statement Holding(UStringView text, size_t at) {
  Statement s = StatementAt(text, 0);
  while (s.end <= at) s = StatementAt(text, s.end);
  return s;
}

// Removes the statement holding `at`, and a directly following `*End` when it
// spans several lines; answers where it began.
size_t Remove(UString& text, size_t at) {
  const Statement s = Holding(text, at);
  text.erase(s.begin, s.end - s.begin);
  if (s.multiLine && UStringView(text).substr(s.begin).starts_with(u"*End")) {
    const Statement closing = StatementAt(text, s.begin);
    if (closing.closed) text.erase(s.begin, closing.end - s.begin);
  }
  return s.begin;
}

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t'; }

// Removes every constraint statement whose head holds `*<keyword>`, blanks or
// tabs, and the option ending there.
void DeleteConstraints(UString& text, UStringView keyword, UStringView option) {
  const UString lead = u"*" + UString(keyword);
  for (size_t from = 0, at; (at = FindInHead(text, lead, from)) != kNotFound;) {
    const Statement s = Holding(text, at);
    size_t start = at + lead.size();
    while (start < s.headEnd && IsBlank(text[start])) ++start;
    const size_t after = start + option.size();
    const bool names = start > at + lead.size() && after <= s.headEnd && text.substr(start, option.size()) == option &&
                       (after == s.headEnd || text[after] == u'"' || IsBlank(text[after]));
    if (!names) {
      from = at + 1;
    } else if (StringFind(text, u"UIConstraints", s.begin, s.headEnd) != kNotFound) {
      from = Remove(text, at);
    } else {
      from = s.headEnd;
    }
  }
}

UStringView TrimBlanks(UStringView value) {
  const size_t first = value.find_first_not_of(u" \t");
  if (first == UStringView::npos) return {};
  return value.substr(first, value.find_last_not_of(u" \t") - first + 1);
}

bool IsDefaultPaperSize(UStringView text, UStringView paper) {
  for (const UStringView head : {u"*DefaultPageSize:", u"*DefaultPageRegion:", u"*DefaultPaperDimension:",
                                 u"*DefaultImageableArea:"}) {
    for (size_t at = 0; (at = FindInHead(text, head, at, true)) != kNotFound; ++at) {
      const size_t value = at + head.size();
      if (TrimBlanks(text.substr(value, Holding(text, at).headEnd - value)) == paper) return true;
    }
  }
  return false;
}

}  // namespace

void SimpleDeleteKeywordOption(UString& text, UStringView keyword, UStringView option) {
  const UString option_line = u"*" + UString(keyword) + u" " + UString(option);
  const size_t main = std::min(FindInHead(text, option_line + u"/", 0, true), FindInHead(text, option_line + u":", 0, true));
  if (main == kNotFound) return;
  Remove(text, main);
  const UString translation = u"." + UString(keyword) + u" " + UString(option) + u"/";
  for (size_t from = 0, at; (at = FindInHead(text, translation, from)) != kNotFound;) from = Remove(text, at);
  if (keyword != u"PageSize" && keyword != u"PageRegion") return;
  DeleteConstraints(text, keyword, option);
}

void SimpleDeletePaperSize(UString& text, UStringView paper) {
  if (IsDefaultPaperSize(text, paper)) return;
  for (const UStringView keyword : {u"PageRegion", u"PageSize", u"PaperDimension", u"ImageableArea"}) {
    SimpleDeleteKeywordOption(text, keyword, paper);
  }
}

void SimpleDeleteEnvelpes(UString& text, const std::vector<UString>& names) {
  for (const UString& name : names) {
    for (size_t at; (at = FindInHead(text, name)) != kNotFound;) Remove(text, at);
  }
}

namespace {

bool HasVendorPrefix(UStringView keyword) { return StringFind(keyword, u"QZ") != kNotFound; }

bool SimpleRewrite(UString& text, UStringView keyword, const char* format, UStringView value) {
  const std::optional<UString> head = StringCreateWithFormat("*%@:", {keyword});
  const std::optional<Statement> s = head ? FindStatementStartingWith(text, *head) : std::nullopt;
  if (!s) return false;
  const std::optional<UString> line = StringCreateWithFormat(format, {keyword, value});
  if (s->closed && line) StringReplace(text, s->begin, StatementExtentEnd(text, *s), *line);
  return true;
}

}  // namespace

void SimpleChangeDefault(UString& text, UStringView keyword, UStringView value) {
  if (SimpleRewrite(text, u"Default" + UString(keyword), "*%@: %@\n", value) || HasVendorPrefix(keyword)) return;
  SimpleChangeDefault(text, u"QZ" + UString(keyword), value);
}

void SimpleChangeGeneralInformation(UString& text, UStringView keyword, UStringView value) {
  if (SimpleRewrite(text, keyword, "*%@: \"%@\"\n", value) || HasVendorPrefix(keyword)) return;
  SimpleChangeDefault(text, u"QZ" + UString(keyword), value);
}

void RecordedRunEdits(UString& text, const std::vector<UString>& names) {
  TextEdits run(text);
  DeletePaperSizes(run, std::vector<UStringView>(names.begin(), names.end()));
  ChangeDefault(run, u"Duplex", u"DuplexNoTumble");
  ChangeGeneralInformation(run, u"ISOCountryCode", u"DE");
  run.ApplyTo(text);
}

void SimpleRunEdits(UString& text, const std::vector<UString>& names) {
  for (const UString& name : names) SimpleDeletePaperSize(text, name);
  SimpleChangeDefault(text, u"Duplex", u"DuplexNoTumble");
  SimpleChangeGeneralInformation(text, u"ISOCountryCode", u"DE");
}
