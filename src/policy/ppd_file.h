// A PPD opened through libcups, and opening one from bytes in memory.
#ifndef PPDLOCALIZE_POLICY_PPD_FILE_H_
#define PPDLOCALIZE_POLICY_PPD_FILE_H_

#include <cups/ppd.h>

#include <memory>
#include <string>
#include <string_view>

struct PPDFileCloser {
  void operator()(ppd_file_t* ppd) const { ppdClose(ppd); }
};
using PPDFile = std::unique_ptr<ppd_file_t, PPDFileCloser>;

// Has libcups read exactly `bytes` as a PPD, through an in-memory file, so
// that what it says about the printer comes from the very bytes that are
// edited. Null when libcups cannot read them (ppdLastError tells why), or
// when the in-memory file cannot be made: then `error` says why.
PPDFile PPDOpenBytes(std::string_view bytes, std::string* error);

#endif  // PPDLOCALIZE_POLICY_PPD_FILE_H_
