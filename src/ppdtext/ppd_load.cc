#include "ppdtext/ppd_load.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>

#include "ppdtext/populate_pages.h"
#include "ppdtext/unique_fd.h"

namespace {

constexpr size_t kReadChunk = 65535;

bool Refuse(std::string* reason, std::string text) {
  if (reason != nullptr) *reason = std::move(text);
  return false;
}

std::nullopt_t Fail(std::string* reason, std::string text) {
  Refuse(reason, std::move(text));
  return std::nullopt;
}


// Appends everything `fd` yields to `out` (which holds room for a file of
// known size already); false on a read error or when `limit` is reached.
bool ReadAll(int fd, uint64_t limit, std::string& out, std::string* reason) {
  size_t size = out.size();
  out.resize(std::max(out.capacity(), size + kReadChunk));
  for (;;) {
    if (out.size() - size < kReadChunk) out.resize(out.size() * 2);
    const ssize_t n = read(fd, out.data() + size, out.size() - size);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return Refuse(reason, std::string("read error: ") + std::strerror(errno));
    if (n == 0) break;
    size += static_cast<size_t>(n);
    if (size >= limit) return Refuse(reason, "file too large");
  }
  out.resize(size);
  return true;
}

// Decompresses one whole gzip stream; its trailer's CRC-32 and length must
// match and nothing may follow it.
std::optional<std::string> Gunzip(std::string_view packed, uint64_t limit, std::string* reason) {
  z_stream z{};
  if (inflateInit2(&z, 16 + MAX_WBITS) != Z_OK) return Fail(reason, "cannot decompress: out of memory");
  const std::unique_ptr<z_stream, int (*)(z_stream*)> end(&z, inflateEnd);
  std::string out(std::min<uint64_t>(packed.size() * 4 + kReadChunk, limit), '\0');
  size_t in_at = 0, out_at = 0;
  int status = Z_OK;
  while (status == Z_OK) {
    if (out_at == out.size()) {
      if (out.size() >= limit) return Fail(reason, "file too large");
      out.resize(std::min<uint64_t>(out.size() * 2, limit));
    }
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(packed.data() + in_at));
    z.avail_in = static_cast<uInt>(std::min<size_t>(packed.size() - in_at, 1u << 30));
    z.next_out = reinterpret_cast<Bytef*>(out.data() + out_at);
    z.avail_out = static_cast<uInt>(std::min<size_t>(out.size() - out_at, 1u << 30));
    const uInt in_before = z.avail_in, out_before = z.avail_out;
    status = inflate(&z, Z_NO_FLUSH);
    in_at += in_before - z.avail_in;
    out_at += out_before - z.avail_out;
  }
  if (status != Z_STREAM_END || in_at != packed.size()) return Fail(reason, "gzip data is truncated or corrupt");
  if (out_at >= limit) return Fail(reason, "file too large");
  out.resize(out_at);
  return out;
}

}  // namespace

std::string PPDInputName(const char* path) {
  if (path == nullptr) return "(none)";
  return std::strcmp(path, "-") == 0 ? "standard input" : path;
}

std::optional<std::string> ReadPPDFileBytes(const char* path, std::string* reason, uint64_t limit) {
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

  std::string bytes;
  if (S_ISREG(info.st_mode)) {
    // Room for the whole file, so that the buffer never moves as it fills.
    bytes.reserve(static_cast<size_t>(info.st_size) + kReadChunk);
    PopulatePages(bytes.data(), bytes.capacity());
  }
  if (!ReadAll(fd, raw_limit, bytes, reason)) return std::nullopt;
  if (bytes.size() >= 2 && bytes[0] == '\x1f' && bytes[1] == '\x8b') return Gunzip(bytes, limit, reason);
  if (bytes.size() >= limit) return Fail(reason, "file too large");
  return bytes;
}

std::optional<PPDText> DecodePPDBytes(std::string_view bytes, std::string* reason) {
  if (bytes.empty()) return Fail(reason, "empty file");
  if (bytes.find('\0') != std::string_view::npos) {
    return Fail(reason, "not a text file (it holds a zero byte)");
  }
  if (std::optional<UString> text = StringCreateWithUTF8(bytes)) return PPDText{*std::move(text), TextEncoding::kUTF8};
  return PPDText{StringCreateWithBytes(bytes), TextEncoding::kBytes};
}

std::optional<PPDText> QZCFStringCreateWithPPDFile(const char* path, std::string* reason) {
  std::optional<std::string> bytes = ReadPPDFileBytes(path, reason);
  if (!bytes) return std::nullopt;
  return DecodePPDBytes(*bytes, reason);
}
