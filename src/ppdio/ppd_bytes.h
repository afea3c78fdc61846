// The bytes of a PPD as a run reads them once: held in an anonymous
// in-memory file, so that libcups can read them through a descriptor of its
// own while the text is decoded from the same pages, read part by part. The
// process keeps no second copy, and the file's pages can be freed as soon as
// both readers are past them.
#ifndef PPDLOCALIZE_PPDIO_PPD_BYTES_H_
#define PPDLOCALIZE_PPDIO_PPD_BYTES_H_

#include <cstddef>
#include <cstdint>
#include <optional>
#include <stop_token>
#include <string>
#include <string_view>

#include "ppdio/unique_fd.h"

class PPDBytes {
 public:
  // Takes the in-memory file `file`, which holds exactly `size` bytes, and
  // sets its offset to the start.
  PPDBytes(UniqueFd file, size_t size);
  ~PPDBytes();
  PPDBytes(PPDBytes&& other) noexcept;
  PPDBytes& operator=(PPDBytes&&) = delete;
  PPDBytes(const PPDBytes&) = delete;
  PPDBytes& operator=(const PPDBytes&) = delete;

  size_t size() const { return size_; }

  // The in-memory file, for one reader that reads it from the start, in
  // order, through the file's offset (as libcups does); the view does not
  // use the offset.
  int fd() const { return file_.get(); }

  // All the bytes, read-only, mapped on the first call; valid while this
  // object lives. Empty, with no mapping, when there are no bytes or the
  // mapping cannot be made (`error`, when given, then says why).
  std::string_view View(std::string* error = nullptr);

  // How far the reader through fd() has read: the file's offset.
  size_t ReaderOffset() const;

  // Frees the file's whole pages that lie before both `end` (how far the
  // view has been read) and, until the reader through fd() is done, the
  // file's offset. The bytes there are gone for good: read again, they are
  // zeros. Call it from one thread only.
  void ReleaseReadUpTo(size_t end);

  // Waits a tenth of a millisecond, or until `reader_done` is requested, for
  // the reader through fd() to go on; false, and the reader taken as done,
  // once it is requested.
  bool WaitForReader(std::stop_token reader_done);

  // The bytes [at, at + n) (fewer past the end), read into `buffer`; fewer
  // also when they cannot be read.
  std::string_view Read(size_t at, size_t n, std::string& buffer) const;

  // The bytes as a string of their own (for callers that keep them).
  std::optional<std::string> Copy() const;

 private:
  UniqueFd file_;
  size_t size_;
  const char* view_ = nullptr;
  size_t released_ = 0;  // the pages before this are freed
  bool reader_done_ = false;
};

// PPDs whose (decompressed) size reaches this are refused: the PPD text of
// such a file would not fit the 32-bit sizes the format's tools use.
inline constexpr uint64_t kPPDMaxFileBytes = uint64_t{1} << 32;

// Reads the whole PPD at `path`, or standard input for "-": a regular file
// or a pipe, opened once; anything else (a directory, a device, a socket) is
// refused before reading. Data that starts like gzip is decompressed and
// checked (CRC-32 and length). A read error, a size of `limit` bytes or more
// (compressed or not), damaged gzip data or no memory for the in-memory file
// are failures: nothing is answered and `reason`, when given, says why in a
// few words. An empty file is read as no bytes.
std::optional<PPDBytes> ReadPPDBytes(const char* path, std::string* reason = nullptr,
                                     uint64_t limit = kPPDMaxFileBytes);

// An in-memory file holding `bytes`, for the tests and tools that make PPDs
// in memory; nothing when it cannot be made (`reason` says why).
std::optional<PPDBytes> PPDBytesFromMemory(std::string_view bytes, std::string* reason = nullptr);

#endif  // PPDLOCALIZE_PPDIO_PPD_BYTES_H_
