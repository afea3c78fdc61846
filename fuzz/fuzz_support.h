// Shared pieces of the fuzz targets: turning fuzz bytes into texts and names,
// and the properties that the edits of the PPD text must keep. Everything
// here is written from the header contracts alone, independently of how the
// edits are carried out, so that it keeps checking them when those change.
#ifndef PPDLOCALIZE_FUZZ_FUZZ_SUPPORT_H_
#define PPDLOCALIZE_FUZZ_FUZZ_SUPPORT_H_

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "ppdtext/ustring.h"

namespace fuzz {

// Stops the run with a message that the fuzzer reports as a crash, together
// with the input that caused it.
[[noreturn]] void Fail(const char* property, std::string_view detail = {});
#define FUZZ_CHECK(condition, ...) \
  do {                             \
    if (!(condition)) ::fuzz::Fail(#condition __VA_OPT__(, ) __VA_ARGS__); \
  } while (0)

// Splits `data` at its first `count` zero bytes: `count` fields, then the rest
// (the text). Missing fields are empty.
struct Fields {
  std::vector<std::string_view> fields;
  std::string_view rest;
};
Fields SplitFields(const uint8_t* data, size_t size, size_t count);

// Bytes as text: UTF-8 when they are UTF-8, otherwise one code unit per byte,
// so that any byte string reaches the edits.
UString ToText(std::string_view bytes);

// Text as printable bytes for failure messages (lone surrogates as '?').
std::string Show(UStringView text);

// The lines of `text`: each runs through its terminator (LF, CR LF, or a CR
// not followed by LF); the last may have none. An empty text has no lines.
std::vector<UStringView> Lines(UStringView text);

// The line that starts at `begin`, with its terminator.
UStringView LineFrom(UStringView text, size_t begin);

// A line without its terminator.
UStringView Contents(UStringView line);

bool HasLineTerminator(UStringView text);

// True when `out` is the concatenation of some of `in`'s lines, in order,
// i.e. `out` is `in` with whole lines removed. When `inserted` is given, an
// output line for which it answers true may also stand where no input line
// does (a rewritten line).
bool IsWholeLineSubsequence(UStringView in, UStringView out,
                            const std::function<bool(UStringView line)>& inserted = {});

// The end of the statement whose first line starts at `begin` (a line start),
// as statement_lines.h describes it: through the line's terminator; when the
// line holds an odd number of double quotes, through the first later line
// that holds an odd number of them (where the value's quotes balance, as
// libcups reads it), and then a directly following line that begins with
// "*End". Without such a line, only the first line.
size_t StatementEnd(UStringView text, size_t begin);

// The line starts of statements that are not inside another's multi-line
// value, scanning from the start of the text.
std::vector<size_t> TopLevelStatementStarts(UStringView text);

// True when `line`, an option line of a paper keyword, mentions past its own
// option an option or translation of a paper keyword (`*PageSize `,
// `.PageRegion ` and so on) or a constraint. The deletions find such patterns
// anywhere in a line, so deleting another paper size may rightly take such a
// line along; the default-paper checks leave these lines out.
bool MentionsOtherPaperOption(UStringView line);

// True when every line of `text` for which `matches` answers true begins a
// statement of its own (is not inside another statement's multi-line value).
// The edits find their lines anywhere and remove each as a statement; a line
// found inside another's value is taken for the start of one, which is not
// what libcups reads, so the checks of what must stay assume this holds.
bool MatchesOnlyAtStatementStarts(UStringView text, const std::function<bool(UStringView line)>& matches);

// Position of the first line that begins with `prefix`, or kNotFound.
size_t FirstLineStartingWith(UStringView text, UStringView prefix);

bool Contains(UStringView text, UStringView needle);

// Encodes text that is known to encode; fails the run otherwise.
std::string MustEncode(UStringView text, const char* what);

}  // namespace fuzz

#endif  // PPDLOCALIZE_FUZZ_FUZZ_SUPPORT_H_
