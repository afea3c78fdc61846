// What a run may take away or rewrite, by printer kind, model number and
// country: the harness's own copy of the laser rule rows, kept as data so that
// it does not lean on the code it checks.
#ifndef PPDLOCALIZE_TESTS_CORPUS_PAPER_RULES_H_
#define PPDLOCALIZE_TESTS_CORPUS_PAPER_RULES_H_

#include <string>
#include <string_view>
#include <vector>

namespace corpus {

// The libcups facts the rules read. The classifier only ever answers the two
// laser kinds (ColorDevice true or false), so the ink rows cannot be reached
// through the command line and are not copied here.
struct Printer {
  bool color = false;
  int model = 0;  // *cupsModelNumber, 0 when absent
};

// The paper names deleted for this printer in `country` ("" when the locale
// names no country), in the order of the rule row.
const std::vector<std::string_view>& DeletedPaperNames(const Printer& printer, std::string_view country);

// Every paper name that some row deletes.
const std::vector<std::string_view>& AllRulePaperNames();

// Whether the default of Duplex (or of the vendor's QZDuplex when there is no
// *DefaultDuplex) is set to DuplexNoTumble.
bool RewritesDuplexDefault(const Printer& printer, std::string_view country);

// Whether *ISOCountryCode is rewritten to carry the country.
bool RewritesCountryCode(std::string_view country);

}  // namespace corpus

#endif  // PPDLOCALIZE_TESTS_CORPUS_PAPER_RULES_H_
