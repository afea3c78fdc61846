// Finding, in one pass over a text, every place where one of a few keywords
// introduces one of a few options: `*<keyword> <option>` or
// `.<keyword> <option>`, with the position just past the option.
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
};

// For each of `options`, its occurrences under any of `keywords`, in text
// order. Keywords and options must not hold a line terminator.
std::vector<std::vector<OptionOccurrence>> FindOptionOccurrences(UStringView text,
                                                                 std::span<const UStringView> keywords,
                                                                 std::span<const UStringView> options);

#endif  // PPDLOCALIZE_PPDTEXT_OPTION_OCCURRENCES_H_
