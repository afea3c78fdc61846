// The string layer under the PPD text: strings of UTF-16 code units with the
// few operations the edits rely on. Indices, lengths and ranges count code
// units. Searches are literal and case-sensitive, return the first occurrence,
// and never find the empty string.
#ifndef PPDLOCALIZE_PPDTEXT_USTRING_H_
#define PPDLOCALIZE_PPDTEXT_USTRING_H_

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

using UString = std::u16string;
using UStringView = std::u16string_view;

inline constexpr size_t kNotFound = UString::npos;

// Position of the first occurrence of `needle` that lies wholly inside
// [from, to) of `text`, or kNotFound. An empty needle is never found.
size_t StringFind(UStringView text, UStringView needle, size_t from = 0,
                  size_t to = kNotFound);

// A line runs from `begin` to `end`, just past its terminator (LF, CR or
// CR LF), or to the end of the text. `contentsEnd` is its first terminator
// character (or the end of the text).
struct LineBounds {
  size_t begin;
  size_t contentsEnd;
  size_t end;
};

// The bounds of the line that holds `index` (index <= text.size()). An index
// on the LF of a CR LF pair belongs to the line that the pair ends.
LineBounds StringGetLineBounds(UStringView text, size_t index);

// True for the code units that end a line.
constexpr bool IsLineTerminator(char16_t c) { return c == u'\n' || c == u'\r'; }

// True when `index` is the first code unit of a line.
bool IsLineStart(UStringView text, size_t index);

// Replaces [begin, end) of `text` with `with`; an empty `with` deletes it.
void StringReplace(UString& text, size_t begin, size_t end, UStringView with);

// Replaces occurrences of `find` inside [begin, end) with `with`. Unanchored,
// every non-overlapping occurrence; anchored, only one standing at `begin`.
// Returns the number of replacements.
size_t StringFindAndReplace(UString& text, UStringView find, UStringView with,
                            size_t begin, size_t end, bool anchored);

// One argument of StringCreateWithFormat: "%@" takes a string, "%d" a signed
// 32-bit integer, "%s" a NUL-terminated UTF-8 byte string.
using FormatArg = std::variant<UStringView, int32_t, const char*>;

// Fills `format` (ASCII) with `args`, in order. "%%" writes one percent sign.
// Answers nothing when a directive has no argument of its kind, an argument is
// left over, or a "%s" argument is null or not UTF-8.
std::optional<UString> StringCreateWithFormat(std::string_view format,
                                              std::span<const FormatArg> args);
inline std::optional<UString> StringCreateWithFormat(std::string_view format,
                                                     std::initializer_list<FormatArg> args) {
  return StringCreateWithFormat(format, std::span<const FormatArg>(args.begin(), args.size()));
}

// The fields between the separators, in order ("a  b" on " " gives "a", "",
// "b"). An empty separator gives the whole text as the one field.
std::vector<UString> StringCreateArrayBySeparatingStrings(UStringView text,
                                                          UStringView separator);

// Strict UTF-8 decoding: overlong forms, encoded surrogates, code points past
// U+10FFFF and truncated sequences answer nothing. A zero byte is decoded as
// U+0000; callers that want NUL-terminated semantics cut the bytes first.
std::optional<UString> StringCreateWithUTF8(std::string_view bytes);

// Decodes bytes[*at, ...) as StringCreateWithUTF8 does and appends the result
// to `out`, stopping at `until` or, when a sequence starts before `until`
// and ends after it, just past that sequence; *at then says where it stopped.
// False when the bytes are not valid UTF-8 there (`out` and *at then hold
// some of what was decoded). Lets a large text be decoded part by part.
bool StringAppendDecodedUTF8(std::string_view bytes, size_t* at, size_t until, UString& out);

// How a text maps to bytes: UTF-8, or one byte per code unit (U+0000 to
// U+00FF) for text in any other encoding (Latin-1, Shift-JIS, ...), which is
// thus kept byte for byte without being converted.
enum class TextEncoding { kUTF8, kBytes };

// One code unit per byte.
UString StringCreateWithBytes(std::string_view bytes);

// Appends one code unit per byte of `bytes` to `out`.
void StringAppendBytes(std::string_view bytes, UString& out);

// Writes one byte per code unit of `text` to `out`, which must have room for
// text.size() bytes; a unit above U+00FF answers nothing.
std::optional<size_t> StringEncodeBytes(UStringView text, char* out);

// Writes `text` to `out` in `encoding` (StringEncodeUTF8 or StringEncodeBytes),
// which must have room for StringGetMaximumUTF8Size(text.size()) bytes.
std::optional<size_t> StringEncode(UStringView text, TextEncoding encoding, char* out);

// Decodes 7-bit ASCII; any byte above 127 answers nothing.
std::optional<UString> StringCreateWithASCII(std::string_view bytes);

// Encodes to UTF-8; a lone surrogate answers nothing.
std::optional<std::string> StringCopyUTF8(UStringView text);

// Writes the UTF-8 encoding of `text` to `out`, which must have room for
// StringGetMaximumUTF8Size(text.size()) bytes; answers the bytes written, or
// nothing on a lone surrogate.
std::optional<size_t> StringEncodeUTF8(UStringView text, char* out);

// Appends the UTF-8 encoding of `text` to `out`; false (with `out` as it
// was) on a lone surrogate.
bool StringAppendUTF8(UStringView text, std::string& out);

// The size of the UTF-8 encoding of `text`, which holds no lone surrogate.
uint64_t StringGetUTF8Size(UStringView text);

// The largest UTF-8 size a text of `length` code units can need: three bytes
// per code unit (a surrogate pair needs four bytes for two units).
constexpr uint64_t StringGetMaximumUTF8Size(size_t length) {
  return static_cast<uint64_t>(length) * 3;
}

// A string of ASCII text, for literals and keywords built from byte strings.
UString StringFromASCII(std::string_view ascii);

// The pieces one after another.
UString StringConcat(std::initializer_list<UStringView> pieces);

#endif  // PPDLOCALIZE_PPDTEXT_USTRING_H_
