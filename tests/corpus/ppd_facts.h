// What libcups reads from a PPD file, as far as the harness needs it.
#ifndef PPDLOCALIZE_TESTS_CORPUS_PPD_FACTS_H_
#define PPDLOCALIZE_TESTS_CORPUS_PPD_FACTS_H_

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "paper_rules.h"

namespace corpus {

struct PPDFacts {
  bool opens = false;
  std::string open_error;  // libcups's reason when it does not open
  Printer printer;
  // An option and one of its choices to write constraints against, or empty.
  std::string constraint_option;
  std::string constraint_choice;
  std::vector<std::string> languages;  // *cupsLanguages
  bool has_duplex_option = false;
  // Of Duplex and QZDuplex, those with no DuplexNoTumble choice (or no option
  // at all): setting their default to DuplexNoTumble names a missing choice.
  std::vector<std::string> duplex_keywords_without_no_tumble;
};

PPDFacts ReadFacts(const std::string& path);

// The whole file at `path`, decompressed when it is gzip data; none when it
// cannot be read.
std::optional<std::string> ReadPPDBytes(const std::string& path);

// Why the tool must refuse a file with these (decompressed) bytes, in the
// words of its error message, or "" when they are UTF-8 text it can load.
std::string TextProblem(std::string_view bytes);

}  // namespace corpus

#endif  // PPDLOCALIZE_TESTS_CORPUS_PPD_FACTS_H_
