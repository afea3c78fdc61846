// A PPD text opened by libcups, for the tests of the layers that read PPDs.
#ifndef PPDLOCALIZE_TESTS_PPD_OPEN_H_
#define PPDLOCALIZE_TESTS_PPD_OPEN_H_

#include <string>
#include <string_view>

#include "ppdio/ppd_file.h"

// Null when libcups cannot read the text.
inline PPDFile OpenPPDText(std::string_view ppd_text) {
  std::string error;
  return PPDOpenBytes(ppd_text, &error);
}

#endif  // PPDLOCALIZE_TESTS_PPD_OPEN_H_
