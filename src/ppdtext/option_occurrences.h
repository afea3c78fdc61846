// Finding, in one pass over a text, every place where one of a few keywords
// introduces one of a few options: `*<keyword> <option>` or
// `.<keyword> <option>`, with the position just past the option. Between
// keyword and option stands one blank (the literal form that option and
// translation statements are looked for in) or any run of blanks and tabs
// (the spaced form, as libcups reads a constraint).
#ifndef PPDLOCALIZE_PPDTEXT_OPTION_OCCURRENCES_H_
#define PPDLOCALIZE_PPDTEXT_OPTION_OCCURRENCES_H_

#include <cstdint>
#include <span>
#include <vector>

#include "ppdtext/ustring.h"

struct OptionOccurrence {
  size_t at;        // the leading '*' or '.'
  uint32_t keyword; // index into the keywords searched for
  char16_t lead;    // '*' or '.'
  size_t after;     // the position just past the option
  uint8_t forms;    // kLiteral, kSpaced or both
};
inline constexpr uint8_t kLiteral = 1;
inline constexpr uint8_t kSpaced = 2;

struct OptionOccurrences {
  // For each option, its occurrences under any of the keywords, in text order.
  std::vector<std::vector<OptionOccurrence>> options;
  // Where lines begin with one of the heads asked for, in text order.
  std::vector<size_t> heads;
};

// Keywords and options must not hold a line terminator; each head must begin
// with '*'.
OptionOccurrences FindOptionOccurrences(UStringView text, std::span<const UStringView> keywords,
                                        std::span<const UStringView> options,
                                        std::span<const UStringView> heads = {});

#endif  // PPDLOCALIZE_PPDTEXT_OPTION_OCCURRENCES_H_
