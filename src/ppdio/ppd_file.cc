#include "ppdio/ppd_file.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "ppdio/ppd_bytes.h"

PPDFile PPDOpenBytes(std::string_view bytes, std::string* error) {
  std::optional<PPDBytes> file = PPDBytesFromMemory(bytes, error);
  if (!file) return nullptr;
  PPDRead read = PPDReadDescriptor(file->fd());
  if (!read.error.empty()) *error = read.error;
  return std::move(read.ppd);
}

PPDRead PPDReadDescriptor(int fd) {
  PPDRead read;
  const int own = dup(fd);
  if (own < 0 || lseek(own, 0, SEEK_SET) != 0) {
    read.error = std::string("cannot hold the PPD in memory: ") + std::strerror(errno);
    if (own >= 0) close(own);
    return read;
  }
  read.ppd.reset(ppdOpenFd(own));  // which closes the descriptor
  if (!read.ppd) read.status = ppdLastError(&read.line);
  return read;
}
