// A file's lines as libcups's cupsFileGets() splits them, so that the driver
// reads a PPD's header exactly as cups-driverd does: a line ends at LF, CR
// or CR LF, and a longer line than the buffer comes in pieces of at most
// `max_bytes` bytes (cups-driverd reads with a 256-byte buffer: 255). The
// file may be plain or gzip-compressed (zlib's transparent reading, as
// cupsFileOpen() detects gzip by its magic bytes, whatever the name).
#ifndef PPDLOCALIZE_DRIVER_CUPS_LINES_H_
#define PPDLOCALIZE_DRIVER_CUPS_LINES_H_

#include <zlib.h>

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

class CupsLines {
 public:
  // Reads up to `size` bytes into `buffer`: the count, 0 at the end, -1 on error.
  using Source = std::function<long(char* buffer, size_t size)>;

  explicit CupsLines(Source source, size_t max_bytes = 255) : source_(std::move(source)), max_bytes_(max_bytes) {}

  // The next line without its end, cut at a zero byte as the C string
  // cups-driverd scans is. False at the end of the data or on a read error
  // (then failed() is true).
  bool Next(std::string& line);
  bool failed() const { return failed_; }

 private:
  bool Fill();  // more bytes into buffer_; false at the end or on error

  Source source_;
  size_t max_bytes_;
  std::string buffer_;
  size_t at_ = 0;
  bool failed_ = false;
};

// The lines of `bytes` in memory.
CupsLines LinesOfBytes(std::string_view bytes, size_t max_bytes = 255);

// An open file read through zlib; closes it at scope end.
class GzFile {
 public:
  explicit GzFile(const std::string& path);
  bool is_open() const { return file_ != nullptr; }
  // Lines of the file; the GzFile must outlive them.
  CupsLines Lines(size_t max_bytes = 255);

 private:
  std::unique_ptr<gzFile_s, int (*)(gzFile)> file_;
};

#endif  // PPDLOCALIZE_DRIVER_CUPS_LINES_H_
