#include "policy/ppd_file.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "ppdtext/unique_fd.h"

namespace {

// An anonymous file: in memory where the system offers that, else a
// temporary file that is already unlinked.
int AnonymousFile() {
#if defined(MFD_CLOEXEC)
  return memfd_create("ppd", MFD_CLOEXEC);
#else
  FILE* file = std::tmpfile();
  const int fd = file != nullptr ? dup(fileno(file)) : -1;
  if (file != nullptr) std::fclose(file);
  return fd;
#endif
}

}  // namespace

PPDFile PPDOpenBytes(std::string_view bytes, std::string* error) {
  UniqueFd fd(AnonymousFile());
  bool written = fd.get() >= 0;
  for (size_t done = 0; written && done < bytes.size();) {
    const ssize_t n = write(fd.get(), bytes.data() + done, bytes.size() - done);
    written = n > 0 || (n < 0 && errno == EINTR);
    done += n > 0 ? static_cast<size_t>(n) : 0;
  }
  if (!written || lseek(fd.get(), 0, SEEK_SET) != 0) {
    *error = std::string("cannot hold the PPD in memory: ") + std::strerror(errno);
    return nullptr;
  }
  return PPDFile(ppdOpenFd(fd.release()));  // which closes the descriptor
}
