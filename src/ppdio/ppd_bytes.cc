#include "ppdio/ppd_bytes.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/sendfile.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

namespace {

constexpr size_t kChunk = size_t{1} << 18;        // through a buffer
constexpr size_t kKernelChunk = size_t{1} << 22;  // in the kernel

std::nullopt_t Fail(std::string* reason, std::string text) {
  if (reason != nullptr) *reason = std::move(text);
  return std::nullopt;
}

std::string NoMemory() { return std::string("cannot hold the PPD in memory: ") + std::strerror(errno); }

UniqueFd AnonymousFile() { return UniqueFd(memfd_create("ppd", MFD_CLOEXEC)); }

bool WriteAll(int fd, const char* data, size_t size) {
  while (size > 0) {
    const ssize_t n = write(fd, data, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    data += n, size -= static_cast<size_t>(n);
  }
  return true;
}

// Moves everything `in` yields into `file`, which holds `*size` bytes so far:
// in the kernel where it can (sendfile from a regular file, splice from a
// pipe), else through a small buffer. Stops with a failure on a read error,
// when `limit` is reached, or when the file cannot take more.
bool TransferAll(int in, bool pipe, int file, uint64_t limit, size_t* size, std::string* reason) {
  bool in_kernel = true;
  std::vector<char> buffer;
  for (;;) {
    ssize_t n;
    if (in_kernel) {
      n = pipe ? splice(in, nullptr, file, nullptr, kKernelChunk, SPLICE_F_MOVE)
                : sendfile(file, in, nullptr, kKernelChunk);
      if (n < 0 && (errno == EINVAL || errno == ENOSYS)) {  // not offered for these files
        in_kernel = false;
        continue;
      }
      if (n < 0 && (errno == ENOMEM || errno == ENOSPC || errno == EFBIG)) return Fail(reason, NoMemory()), false;
    } else {
      buffer.resize(kChunk);
      n = read(in, buffer.data(), buffer.size());
      if (n > 0 && !WriteAll(file, buffer.data(), static_cast<size_t>(n))) return Fail(reason, NoMemory()), false;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return Fail(reason, std::string("read error: ") + std::strerror(errno)), false;
    if (n == 0) return true;
    *size += static_cast<size_t>(n);
    if (*size >= limit) return Fail(reason, "file too large"), false;
  }
}

// Decompresses one whole gzip stream into a new in-memory file; its
// trailer's CRC-32 and length must match and nothing may follow it.
std::optional<PPDBytes> Gunzip(std::string_view packed, uint64_t limit, std::string* reason) {
  z_stream z{};
  if (inflateInit2(&z, 16 + MAX_WBITS) != Z_OK) return Fail(reason, "cannot decompress: out of memory");
  const std::unique_ptr<z_stream, int (*)(z_stream*)> end(&z, inflateEnd);
  UniqueFd file = AnonymousFile();
  if (file.get() < 0) return Fail(reason, NoMemory());
  std::vector<char> out(kChunk);
  size_t in_at = 0, size = 0;
  int status = Z_OK;
  while (status == Z_OK) {
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(packed.data() + in_at));
    z.avail_in = static_cast<uInt>(std::min<size_t>(packed.size() - in_at, 1u << 30));
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = static_cast<uInt>(out.size());
    const uInt in_before = z.avail_in;
    status = inflate(&z, Z_NO_FLUSH);
    in_at += in_before - z.avail_in;
    const size_t made = out.size() - z.avail_out;
    if (!WriteAll(file.get(), out.data(), made)) return Fail(reason, NoMemory());
    size += made;
    if (size >= limit) return Fail(reason, "file too large");
  }
  if (status != Z_STREAM_END || in_at != packed.size()) return Fail(reason, "gzip data is truncated or corrupt");
  return PPDBytes(std::move(file), size);
}

}  // namespace

PPDBytes::PPDBytes(UniqueFd file, size_t size) : file_(std::move(file)), size_(size) {
  lseek(file_.get(), 0, SEEK_SET);
}

PPDBytes::~PPDBytes() {
  if (view_ != nullptr) munmap(const_cast<char*>(view_), size_);
}

PPDBytes::PPDBytes(PPDBytes&& other) noexcept
    : file_(std::move(other.file_)),
      size_(std::exchange(other.size_, 0)),
      view_(std::exchange(other.view_, nullptr)),
      released_(std::exchange(other.released_, 0)),
      reader_done_(other.reader_done_) {}

std::string_view PPDBytes::View(std::string* error) {
  if (view_ == nullptr && size_ > 0) {
    // Pages are mapped as they are read, and can be given back behind.
    void* mapped = mmap(nullptr, size_, PROT_READ, MAP_SHARED, file_.get(), 0);
    if (mapped == MAP_FAILED) {
      if (error != nullptr) *error = NoMemory();
      return {};
    }
    view_ = static_cast<const char*>(mapped);
  }
  return view_ != nullptr ? std::string_view(view_, size_) : std::string_view();
}

size_t PPDBytes::ReaderOffset() const {
  const off_t offset = lseek(file_.get(), 0, SEEK_CUR);
  return offset > 0 ? static_cast<size_t>(offset) : 0;
}

void PPDBytes::ReleaseReadUpTo(size_t end) {
  static const size_t page = static_cast<size_t>(sysconf(_SC_PAGESIZE));
  const size_t until = std::min({end, reader_done_ ? end : ReaderOffset(), size_}) / page * page;
  if (until <= released_) return;
  // Punching a hole frees the file's pages and drops them from the view.
  if (fallocate(file_.get(), FALLOC_FL_PUNCH_HOLE | FALLOC_FL_KEEP_SIZE, static_cast<off_t>(released_),
                static_cast<off_t>(until - released_)) == 0) {
    released_ = until;
  }
}

bool PPDBytes::WaitForReader(std::stop_token reader_done) {
  std::mutex mutex;
  std::condition_variable_any wake;
  std::unique_lock lock(mutex);
  wake.wait_for(lock, reader_done, std::chrono::microseconds(100), [] { return false; });
  reader_done_ = reader_done_ || reader_done.stop_requested();
  return !reader_done_;
}

std::string_view PPDBytes::Read(size_t at, size_t n, std::string& buffer) const {
  n = at < size_ ? std::min(n, size_ - at) : 0;
  buffer.resize(n);
  size_t done = 0;
  while (done < n) {
    const ssize_t got = pread(file_.get(), buffer.data() + done, n - done, static_cast<off_t>(at + done));
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;
    done += static_cast<size_t>(got);
  }
  return std::string_view(buffer).substr(0, done);
}

std::optional<std::string> PPDBytes::Copy() const {
  std::string bytes(size_, '\0');
  for (size_t done = 0; done < size_;) {
    const ssize_t n = pread(file_.get(), bytes.data() + done, size_ - done, static_cast<off_t>(done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return std::nullopt;
    done += static_cast<size_t>(n);
  }
  return bytes;
}

std::optional<PPDBytes> ReadPPDBytes(const char* path, std::string* reason, uint64_t limit) {
  if (path == nullptr) return Fail(reason, "no path");
  const bool standard_input = std::strcmp(path, "-") == 0;
  const UniqueFd opened(standard_input ? -1 : open(path, O_RDONLY | O_CLOEXEC));
  if (!standard_input && opened.get() < 0) return Fail(reason, std::strerror(errno));
  const int fd = standard_input ? STDIN_FILENO : opened.get();
  struct stat info;
  if (fstat(fd, &info) != 0) return Fail(reason, std::strerror(errno));
  if (!S_ISREG(info.st_mode) && !S_ISFIFO(info.st_mode)) return Fail(reason, "not a regular file or a pipe");
  // Gzip data of a text below the limit can be a little larger than the text.
  const uint64_t raw_limit = limit + limit / 1024 + 64;
  if (static_cast<uint64_t>(info.st_size) >= raw_limit) return Fail(reason, "file too large");

  UniqueFd file = AnonymousFile();
  if (file.get() < 0) return Fail(reason, NoMemory());
  size_t size = 0;
  if (!TransferAll(fd, S_ISFIFO(info.st_mode), file.get(), raw_limit, &size, reason)) return std::nullopt;
  PPDBytes bytes(std::move(file), size);
  char magic[2] = {};
  if (size >= 2 && pread(bytes.fd(), magic, 2, 0) == 2 && magic[0] == '\x1f' && magic[1] == '\x8b') {
    std::string error;
    const std::string_view packed = bytes.View(&error);
    if (packed.empty()) return Fail(reason, error);
    return Gunzip(packed, limit, reason);
  }
  if (size >= limit) return Fail(reason, "file too large");
  return bytes;
}

std::optional<PPDBytes> PPDBytesFromMemory(std::string_view bytes, std::string* reason) {
  UniqueFd file = AnonymousFile();
  if (file.get() < 0 || !WriteAll(file.get(), bytes.data(), bytes.size())) return Fail(reason, NoMemory());
  return PPDBytes(std::move(file), bytes.size());
}
