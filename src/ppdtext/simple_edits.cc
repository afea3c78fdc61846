#include "ppdtext/simple_edits.h"

#include <algorithm>
#include <optional>

#include "ppdtext/statement_lines.h"

namespace {

constexpr UStringView kConstraintMarker = u"UIConstraints";
constexpr UStringView kPaperKeywords[] = {u"PageRegion", u"PageSize", u"PaperDimension",
                                          u"ImageableArea"};
constexpr UStringView kPaperDefaults[] = {u"*DefaultPageSize:", u"*DefaultPageRegion:",
                                          u"*DefaultPaperDimension:", u"*DefaultImageableArea:"};

std::optional<UString> Pattern(const char* format, UStringView keyword, UStringView option) {
  return StringCreateWithFormat(format, {keyword, option});
}

// How a constraint pattern must end to count: the pattern itself holds its
// closing character, or the character after it must end the option.
enum class OptionEnd { kInPattern, kTerminatorOrTab };

bool EndsOption(UStringView text, size_t after) {
  return after == text.size() || text[after] == u'\t' || IsLineTerminator(text[after]);
}

// Removes every constraint line that holds `pattern`. A line without the
// marker stays and the search goes on after its contents.
void DeleteConstraintLines(UString& text, UStringView pattern, OptionEnd end) {
  size_t from = 0;
  for (size_t at; (at = StringFind(text, pattern, from)) != kNotFound;) {
    if (end == OptionEnd::kTerminatorOrTab && !EndsOption(text, at + pattern.size())) {
      from = at + 1;
      continue;
    }
    const LineBounds line = StringGetLineBounds(text, at);
    if (StringFind(text, kConstraintMarker, line.begin, line.end) != kNotFound) {
      from = RemoveStatementAt(text, at);
    } else {
      from = line.contentsEnd;
    }
  }
}

// Trims blanks and tabs at both ends.
UStringView TrimBlanks(UStringView value) {
  const size_t first = value.find_first_not_of(u" \t");
  if (first == UStringView::npos) return {};
  return value.substr(first, value.find_last_not_of(u" \t") - first + 1);
}

bool IsDefaultPaperSize(UStringView text, UStringView paper) {
  for (const UStringView statement : kPaperDefaults) {
    for (size_t at = StringFind(text, statement); at != kNotFound;
         at = StringFind(text, statement, at + 1)) {
      if (!IsLineStart(text, at)) continue;
      const size_t value = at + statement.size();
      const LineBounds line = StringGetLineBounds(text, at);
      if (TrimBlanks(text.substr(value, line.contentsEnd - value)) == paper) return true;
    }
  }
  return false;
}

}  // namespace

void SimpleDeleteKeywordOption(UString& text, UStringView keyword, UStringView option) {
  const size_t main_line = FindOptionLine(text, keyword, option);
  if (main_line == kNotFound) return;
  RemoveStatementAt(text, main_line);

  if (const std::optional<UString> translation = Pattern(".%@ %@/", keyword, option)) {
    size_t from = 0;
    for (size_t at; (at = StringFind(text, *translation, from)) != kNotFound;) {
      from = RemoveStatementAt(text, at);
    }
  }

  if (keyword != u"PageSize" && keyword != u"PageRegion") return;
  if (const std::optional<UString> quoted = Pattern("*%@ %@\"", keyword, option)) {
    DeleteConstraintLines(text, *quoted, OptionEnd::kInPattern);
  }
  if (const std::optional<UString> blank = Pattern("*%@ %@ ", keyword, option)) {
    DeleteConstraintLines(text, *blank, OptionEnd::kInPattern);
  }
  if (const std::optional<UString> last = Pattern("*%@ %@", keyword, option)) {
    DeleteConstraintLines(text, *last, OptionEnd::kTerminatorOrTab);
  }
}

void SimpleDeletePaperSize(UString& text, UStringView paper) {
  if (IsDefaultPaperSize(text, paper)) return;
  for (const UStringView keyword : kPaperKeywords) {
    SimpleDeleteKeywordOption(text, keyword, paper);
  }
}

void SimpleDeleteEnvelpes(UString& text, const std::vector<UString>& names) {
  for (const UString& name : names) {
    for (size_t at; (at = StringFind(text, name)) != kNotFound;) RemoveStatementAt(text, at);
  }
}
