#include "ppdio/text_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "ppdio/unique_fd.h"

std::optional<std::string> ReadTextFile(const std::string& path) {
  const UniqueFd fd(open(path.c_str(), O_RDONLY | O_CLOEXEC));
  struct stat info;
  if (fd.get() < 0 || fstat(fd.get(), &info) != 0) return std::nullopt;
  if (S_ISDIR(info.st_mode)) {
    errno = EISDIR;
    return std::nullopt;
  }
  // Read straight into the string, sized by the file when it has a size
  // (a pipe or a file in /proc has none).
  std::string text;
  size_t used = 0;
  text.resize(S_ISREG(info.st_mode) && info.st_size > 0 ? static_cast<size_t>(info.st_size) + 1 : 1 << 16);
  for (;;) {
    if (used == text.size()) text.resize(text.size() * 2);
    const ssize_t got = read(fd.get(), text.data() + used, text.size() - used);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return std::nullopt;
    if (got == 0) {
      text.resize(used);
      return text;
    }
    used += static_cast<size_t>(got);
  }
}
