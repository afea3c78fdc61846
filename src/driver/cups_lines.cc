#include "driver/cups_lines.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <climits>

bool CupsLines::Fill() {
  if (failed_) return false;
  buffer_.erase(0, at_);
  at_ = 0;
  const size_t old_size = buffer_.size();
  buffer_.resize(old_size + 16384);
  const long got = source_(buffer_.data() + old_size, 16384);
  buffer_.resize(old_size + static_cast<size_t>(std::max(got, 0L)));
  if (got < 0) failed_ = true;
  return got > 0;
}

bool CupsLines::Next(std::string& line) {
  line.clear();
  while (line.size() < max_bytes_) {
    if (at_ >= buffer_.size() && !Fill()) {
      if (line.empty()) return false;
      break;
    }
    // The bytes up to a line end, the buffer's end or the line's limit.
    const char* begin = buffer_.data() + at_;
    const char* stop = begin + std::min(buffer_.size() - at_, max_bytes_ - line.size());
    const char* end = begin;
    while (end != stop && *end != '\n' && *end != '\r') ++end;
    line.append(begin, end);
    at_ += static_cast<size_t>(end - begin);
    if (end == stop) continue;
    ++at_;
    if (*end == '\r' && (at_ < buffer_.size() || Fill()) && buffer_[at_] == '\n') ++at_;
    break;
  }
  line.resize(std::min(line.size(), line.find('\0')));
  return true;
}

CupsLines LinesOfBytes(std::string_view bytes, size_t max_bytes) {
  return CupsLines(
      [bytes](char* buffer, size_t size) mutable {
        const size_t n = std::min(size, bytes.size());
        std::copy_n(bytes.data(), n, buffer);
        bytes.remove_prefix(n);
        return static_cast<long>(n);
      },
      max_bytes);
}

GzFile::GzFile(const std::string& path) : file_(nullptr, gzclose) {
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return;
  file_.reset(gzdopen(fd, "rb"));
  if (!file_) {
    close(fd);
    return;
  }
  gzbuffer(file_.get(), 16384);
}

CupsLines GzFile::Lines(size_t max_bytes) {
  gzFile file = file_.get();
  return CupsLines(
      [file](char* buffer, size_t size) {
        return static_cast<long>(gzread(file, buffer, static_cast<unsigned>(std::min<size_t>(size, INT_MAX))));
      },
      max_bytes);
}
