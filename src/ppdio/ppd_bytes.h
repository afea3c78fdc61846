// The bytes of a PPD as a run reads them once: held in an anonymous
// in-memory file, so that libcups can read them through a descriptor of its
// own while the text is decoded from a read-only view of the same pages. The
// process keeps no second copy: the view's pages can be given back as soon as
// the text holds them, and the file's pages are never mapped by anyone else.
#ifndef PPDLOCALIZE_PPDIO_PPD_BYTES_H_
#define PPDLOCALIZE_PPDIO_PPD_BYTES_H_

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "ppdio/unique_fd.h"

class PPDBytes {
 public:
  // Takes the in-memory file `file`, which holds exactly `size` bytes.
  PPDBytes(UniqueFd file, size_t size) : file_(std::move(file)), size_(size) {}
  ~PPDBytes();
  PPDBytes(PPDBytes&& other) noexcept;
  PPDBytes& operator=(PPDBytes&&) = delete;
  PPDBytes(const PPDBytes&) = delete;
  PPDBytes& operator=(const PPDBytes&) = delete;

  size_t size() const { return size_; }

  // The in-memory file. Whoever reads it through its offset owns that offset;
  // the view and Copy() do not use it.
  int fd() const { return file_.get(); }

  // All the bytes, read-only, mapped on the first call; valid while this
  // object lives. Empty, with no mapping, when there are no bytes or the
  // mapping cannot be made (`error`, when given, then says why).
  std::string_view View(std::string* error = nullptr);

  // Gives back the view's pages that lie wholly inside [begin, end). Nothing
  // is lost: reading the view there again maps them again from the file.
  void Release(size_t begin, size_t end);

  // The bytes as a string of their own (for callers that keep them).
  std::optional<std::string> Copy() const;

 private:
  UniqueFd file_;
  size_t size_;
  const char* view_ = nullptr;
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
