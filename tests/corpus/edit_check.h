// Checks that the lines a run removed or rewrote are ones it may remove or
// rewrite.
#ifndef PPDLOCALIZE_TESTS_CORPUS_EDIT_CHECK_H_
#define PPDLOCALIZE_TESTS_CORPUS_EDIT_CHECK_H_

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace corpus {

// A line of PPD text: its contents and its terminator (LF, CR, CR LF, or
// nothing for a last line without one).
struct Line {
  std::string_view text;
  std::string_view end;
};
std::vector<Line> SplitLines(std::string_view text);

// Whether `line` names `*<keyword> <name>` or `.<keyword> <name>` for one of
// the four paper keywords and one of `names`, the name ending at a slash,
// colon, double quote, blank, tab or the end of the line: the option lines,
// translation lines and constraint lines of those paper sizes.
bool NamesPaper(std::string_view line, const std::vector<std::string_view>& names);

// What a run was allowed to do.
struct AllowedEdits {
  std::vector<std::string_view> deleted_names;
  bool duplex_default = false;  // *DefaultDuplex (or *DefaultQZDuplex) -> DuplexNoTumble
  bool country_code = false;    // *ISOCountryCode -> the country
  std::string country;
};

// What the comparison found; `problem` is empty when the output is right.
struct EditReport {
  std::string problem;
  size_t removed_lines = 0;
  size_t rewritten_lines = 0;
};

// Compares `input` with `output` (the run's standard output less the one
// newline that every run adds). Every output line must be an input line, in
// order and with its terminator, except a rewritten default or country-code
// line; every input line missing from the output must name a deleted paper
// size, or be a continuation, the closing line or the *End line of a
// multi-line value opened on such a line that went too.
EditReport CheckEdits(std::string_view input, std::string_view output, const AllowedEdits& allowed);

}  // namespace corpus

#endif  // PPDLOCALIZE_TESTS_CORPUS_EDIT_CHECK_H_
