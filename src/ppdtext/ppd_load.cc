#include "ppdtext/ppd_load.h"

#include "ppdtext/populate_pages.h"

#include <cups/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

#include <cerrno>
#include <cstring>
#include <memory>

namespace {

struct CupsFileCloser {
  void operator()(cups_file_t* file) const { cupsFileClose(file); }
};
using CupsFile = std::unique_ptr<cups_file_t, CupsFileCloser>;

std::nullopt_t Fail(std::string* reason, std::string text) {
  if (reason != nullptr) *reason = std::move(text);
  return std::nullopt;
}

// libcups answers -1 both at the end of the data and on an error; only errno
// (cleared before each read) tells them apart. Answers the count read (0 at
// the end) and sets `error` on a read error.
size_t ReadChunk(cups_file_t* file, char* into, int* error) {
  errno = 0;
  const ssize_t n = cupsFileRead(file, into, kPPDReadChunk);
  if (errno != 0 && n < static_cast<ssize_t>(kPPDReadChunk)) *error = errno;
  return n < 0 ? 0 : static_cast<size_t>(n);
}

// libcups does not notice a gzip stream that simply stops early, so the data
// read is checked against the stream's trailer: CRC-32 and length mod 2^32.
bool GzipTrailerMatches(cups_file_t* file, const std::string& data) {
  const int fd = cupsFileNumber(file);
  struct stat info;
  if (fstat(fd, &info) != 0 || info.st_size < 18) return false;
  unsigned char trailer[8];
  if (pread(fd, trailer, sizeof trailer, info.st_size - 8) != sizeof trailer) return false;
  auto le32 = [&](int at) {
    return uint32_t{trailer[at]} | uint32_t{trailer[at + 1]} << 8 |
           uint32_t{trailer[at + 2]} << 16 | uint32_t{trailer[at + 3]} << 24;
  };
  uLong crc = crc32(0L, Z_NULL, 0);
  for (size_t at = 0; at < data.size();) {  // zlib takes 32-bit lengths
    const uInt n = static_cast<uInt>(std::min<size_t>(data.size() - at, 1u << 30));
    crc = crc32(crc, reinterpret_cast<const Bytef*>(data.data() + at), n);
    at += n;
  }
  return le32(0) == static_cast<uint32_t>(crc) &&
         le32(4) == static_cast<uint32_t>(data.size() & 0xFFFFFFFFu);
}

}  // namespace

std::optional<std::string> ReadPPDFileBytes(const char* path, std::string* reason,
                                            uint64_t limit) {
  if (path == nullptr) return Fail(reason, "no path");
  struct stat info;
  if (stat(path, &info) != 0) return Fail(reason, std::strerror(errno));
  if (!S_ISREG(info.st_mode)) return Fail(reason, "not a regular file");
  if (static_cast<uint64_t>(info.st_size) >= limit) {
    return Fail(reason, "file too large");
  }

  CupsFile file(cupsFileOpen(path, "r"));
  if (!file) return Fail(reason, errno != 0 ? std::strerror(errno) : "cannot open");

  // Zero-filled chunks: whatever the last read leaves unfilled stays zero.
  // A plain file's size is known, so the buffer need not move as it grows.
  std::string buffer;
  if (cupsFileCompression(file.get()) != CUPS_FILE_GZIP) {
    buffer.reserve(static_cast<size_t>(info.st_size) + kPPDReadChunk);
    PopulatePages(buffer.data(), buffer.capacity());
  }
  buffer.resize(kPPDReadChunk, '\0');
  int error = 0;
  size_t got = ReadChunk(file.get(), buffer.data(), &error);
  uint64_t total = got;
  while (got == kPPDReadChunk && error == 0 && total < limit) {
    buffer.resize(buffer.size() + kPPDReadChunk, '\0');
    got = ReadChunk(file.get(), buffer.data() + total, &error);
    total += got;
  }
  if (total >= limit) return Fail(reason, "file too large");
  buffer.resize(total);

  // A damaged gzip stream shows as a read error, as missing data, or not at
  // all; the trailer check catches all three and names the cause.
  const bool gzip = cupsFileCompression(file.get()) == CUPS_FILE_GZIP;
  if (gzip && (error != 0 || !GzipTrailerMatches(file.get(), buffer))) {
    return Fail(reason, "gzip data is truncated or corrupt");
  }
  if (error != 0) return Fail(reason, std::string("read error: ") + std::strerror(error));
  if (total == 0) return Fail(reason, "empty file");
  return buffer;
}

std::optional<UString> DecodePPDBytes(std::string_view bytes, std::string* reason) {
  if (bytes.empty()) return Fail(reason, "empty file");
  if (bytes.find('\0') != std::string_view::npos) {
    return Fail(reason, "not a text file (it holds a zero byte)");
  }
  std::optional<UString> text = StringCreateWithUTF8(bytes);
  if (!text) return Fail(reason, "not valid UTF-8");
  return text;
}

std::optional<UString> QZCFStringCreateWithPPDFile(const char* path, std::string* reason) {
  std::optional<std::string> bytes = ReadPPDFileBytes(path, reason);
  if (!bytes) return std::nullopt;
  return DecodePPDBytes(*bytes, reason);
}
