// A file descriptor that is closed at scope end.
#ifndef PPDLOCALIZE_PPDIO_UNIQUE_FD_H_
#define PPDLOCALIZE_PPDIO_UNIQUE_FD_H_

#include <unistd.h>

#include <utility>

class UniqueFd {
 public:
  explicit UniqueFd(int fd = -1) : fd_(fd) {}
  ~UniqueFd() {
    if (fd_ >= 0) close(fd_);
  }
  UniqueFd(const UniqueFd&) = delete;
  UniqueFd& operator=(const UniqueFd&) = delete;
  UniqueFd(UniqueFd&& other) noexcept : fd_(other.release()) {}
  UniqueFd& operator=(UniqueFd&& other) noexcept {
    if (this != &other) {
      if (fd_ >= 0) close(fd_);
      fd_ = other.release();
    }
    return *this;
  }

  int get() const { return fd_; }
  // Hands the descriptor to whoever closes it from now on.
  int release() { return std::exchange(fd_, -1); }

 private:
  int fd_;
};

#endif  // PPDLOCALIZE_PPDIO_UNIQUE_FD_H_
