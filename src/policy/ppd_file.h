// Ownership of a PPD opened through libcups.
#ifndef PPDLOCALIZE_POLICY_PPD_FILE_H_
#define PPDLOCALIZE_POLICY_PPD_FILE_H_

#include <cups/ppd.h>

#include <memory>

struct PPDFileCloser {
  void operator()(ppd_file_t* ppd) const { ppdClose(ppd); }
};
using PPDFile = std::unique_ptr<ppd_file_t, PPDFileCloser>;

#endif  // PPDLOCALIZE_POLICY_PPD_FILE_H_
