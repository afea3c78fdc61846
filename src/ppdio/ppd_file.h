// A PPD opened through libcups, from bytes in memory or from a descriptor.
#ifndef PPDLOCALIZE_PPDIO_PPD_FILE_H_
#define PPDLOCALIZE_PPDIO_PPD_FILE_H_

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

// What libcups made of a file.
struct PPDRead {
  PPDFile ppd;                   // null when libcups cannot read the file
  ppd_status_t status = PPD_OK;  // then what ppdLastError said,
  int line = 0;                  // and on which line
  std::string error;             // not empty when libcups could not be given the file
};

// Has libcups read the file that `fd` refers to, from its start, through a
// descriptor of its own; `fd` stays the caller's. The file's offset is
// shared with `fd` and moves.
PPDRead PPDReadDescriptor(int fd);

#endif  // PPDLOCALIZE_PPDIO_PPD_FILE_H_
