// The alteration step: copies of real PPDs changed so that the rules reach
// them. Each copy gets a model number and a colour setting of our choice, an
// *ISOCountryCode line with look-alikes of it and of *DefaultDuplex that must
// not be rewritten, the paper sizes the rule rows name (where the PPD lacks
// them) under all four paper keywords, translations of them, constraints on
// them in both orders, some of them with multi-line values, and look-alike
// sizes that no rule names and that must therefore survive every run.
#ifndef PPDLOCALIZE_TESTS_CORPUS_ALTER_H_
#define PPDLOCALIZE_TESTS_CORPUS_ALTER_H_

#include <string>
#include <string_view>

#include "ppd_facts.h"

namespace corpus {

struct Alteration {
  std::string tag;  // names the copy in file names and reports
  bool color = false;
  int model = 0;
  bool crlf = false;  // CR LF line ends instead of LF
  bool gzip = false;
  // Translations and constraints before the PageSize option (true) or at the
  // end of the file (false).
  bool extras_first = false;
  // Which added sizes get multi-line values: those at odd (true) or even
  // (false) places of the list.
  bool odd_multiline = false;
};

// The altered text (not compressed). `facts` are those of the original.
std::string AlterPPD(std::string_view text, const PPDFacts& facts, const Alteration& how);

// `bytes` as gzip data.
std::string GzipBytes(std::string_view bytes);

}  // namespace corpus

#endif  // PPDLOCALIZE_TESTS_CORPUS_ALTER_H_
