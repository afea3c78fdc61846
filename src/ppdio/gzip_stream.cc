#include "ppdio/gzip_stream.h"

#include <zlib.h>

#include <cerrno>
#include <memory>
#include <vector>

namespace {

struct Gzip {
  FILE* out;
  z_stream z{};
  std::vector<unsigned char> buffer = std::vector<unsigned char>(1 << 16);
  bool failed = false;

  // Runs deflate over `in` with `flush`, writing what it makes to `out`.
  bool Deflate(const char* in, size_t size, int flush) {
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(in));
    z.avail_in = static_cast<uInt>(size);
    int status = Z_OK;
    do {
      z.next_out = buffer.data();
      z.avail_out = static_cast<uInt>(buffer.size());
      status = deflate(&z, flush);
      const size_t made = buffer.size() - z.avail_out;
      if (status == Z_STREAM_ERROR || std::fwrite(buffer.data(), 1, made, out) != made) return false;
    } while (z.avail_out == 0 || (flush == Z_FINISH && status != Z_STREAM_END));
    return true;
  }
};

ssize_t Write(void* cookie, const char* data, size_t size) {
  auto* gzip = static_cast<Gzip*>(cookie);
  // deflate takes at most a uInt at a time.
  const size_t taken = std::min<size_t>(size, 1u << 30);
  if (gzip->failed || !gzip->Deflate(data, taken, Z_NO_FLUSH)) {
    gzip->failed = true;
    errno = errno != 0 ? errno : EIO;
    return -1;
  }
  return static_cast<ssize_t>(taken);
}

int Close(void* cookie) {
  std::unique_ptr<Gzip> gzip(static_cast<Gzip*>(cookie));
  const bool finished = !gzip->failed && gzip->Deflate(nullptr, 0, Z_FINISH);
  deflateEnd(&gzip->z);
  return finished ? 0 : EOF;
}

}  // namespace

FILE* OpenGzipStream(FILE* out) {
  auto gzip = std::make_unique<Gzip>();
  gzip->out = out;
  // 16 + MAX_WBITS: a gzip header, which zlib writes with no name and time 0.
  if (deflateInit2(&gzip->z, Z_DEFAULT_COMPRESSION, Z_DEFLATED, 16 + MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK) {
    return nullptr;
  }
  FILE* stream = fopencookie(gzip.get(), "w", {nullptr, Write, nullptr, Close});
  if (stream == nullptr) {
    deflateEnd(&gzip->z);
    return nullptr;
  }
  gzip.release();  // the stream's Close frees it
  return stream;
}
