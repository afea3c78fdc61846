#include "ppdio/text_file.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

#include "ppdio/unique_fd.h"

namespace {

// Reads what is left of `fd` to the end into [at, at + room); answers how
// much, or -1 (errno set). Stops when the room is full.
ssize_t ReadInto(int fd, char* at, size_t room) {
  size_t used = 0;
  while (used < room) {
    const ssize_t got = read(fd, at + used, room - used);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return -1;
    if (got == 0) break;
    used += static_cast<size_t>(got);
  }
  return static_cast<ssize_t>(used);
}

}  // namespace

TextFile::TextFile(TextFile&& other) noexcept
    : mapped_(std::exchange(other.mapped_, nullptr)),
      mapped_size_(std::exchange(other.mapped_size_, 0)),
      size_(std::exchange(other.size_, 0)),
      read_(std::move(other.read_)) {}

TextFile::~TextFile() {
  if (mapped_ != nullptr) munmap(mapped_, mapped_size_);
}

std::optional<TextFile> TextFile::Read(const std::string& path) {
  const UniqueFd fd(open(path.c_str(), O_RDONLY | O_CLOEXEC));
  struct stat info;
  if (fd.get() < 0 || fstat(fd.get(), &info) != 0) return std::nullopt;
  if (S_ISDIR(info.st_mode)) {
    errno = EISDIR;
    return std::nullopt;
  }
  TextFile file;
  if (S_ISREG(info.st_mode) && info.st_size > 0) {
    // A byte more than the size, to see a file that grew meanwhile.
    const size_t room = static_cast<size_t>(info.st_size) + 1;
    void* pages = mmap(nullptr, room, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_POPULATE, -1, 0);
    if (pages == MAP_FAILED) return std::nullopt;
    file.mapped_ = static_cast<char*>(pages);
    file.mapped_size_ = room;
    const ssize_t got = ReadInto(fd.get(), file.mapped_, room);
    if (got < 0) return std::nullopt;
    file.size_ = static_cast<size_t>(got);
    if (file.size_ < room) return file;
    // It grew: the rest goes after it, in a string.
    file.read_.assign(file.mapped_, file.size_);
    munmap(std::exchange(file.mapped_, nullptr), std::exchange(file.mapped_size_, 0));
  }
  for (;;) {
    const size_t used = file.read_.size();
    file.read_.resize(used + (size_t{1} << 16));
    const ssize_t got = ReadInto(fd.get(), file.read_.data() + used, size_t{1} << 16);
    if (got < 0) return std::nullopt;
    file.read_.resize(used + static_cast<size_t>(got));
    if (got < (ssize_t{1} << 16)) return file;
  }
}
