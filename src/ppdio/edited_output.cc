#include "ppdio/edited_output.h"

#include <sys/uio.h>

#include <algorithm>
#include <cerrno>
#include <limits>
#include <string>
#include <vector>

namespace {

// The file's bytes are mapped a batch at a time, written, and given back.
constexpr size_t kBatchBytes = size_t{1} << 18;
constexpr size_t kBatchParts = 1024;  // IOV_MAX on Linux

struct Part {
  bool original;     // a part of the text the edits leave, else a replacing line
  size_t begin, end;  // where an original part lies: in code units, then in bytes
  std::string line;  // a replacing line, encoded
};

// Writes all of `iov`, going on after partial writes.
bool WriteAll(int fd, std::vector<iovec>& iov) {
  for (size_t first = 0; first < iov.size();) {
    const ssize_t n = writev(fd, iov.data() + first, static_cast<int>(iov.size() - first));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    for (size_t left = static_cast<size_t>(n); left > 0;) {
      const size_t take = std::min(left, iov[first].iov_len);
      iov[first].iov_base = static_cast<char*>(iov[first].iov_base) + take;
      iov[first].iov_len -= take;
      left -= take;
      if (iov[first].iov_len == 0) ++first;
    }
    while (first < iov.size() && iov[first].iov_len == 0) ++first;
  }
  return true;
}

bool WriteAll(FILE* out, const std::vector<iovec>& iov) {
  for (const iovec& v : iov) {
    if (std::fwrite(v.iov_base, 1, v.iov_len, out) != v.iov_len) return false;
  }
  return true;
}

// Turns the original parts' code unit ranges into byte ranges of the UTF-8
// the text was decoded from.
void ToUTF8Offsets(UStringView text, std::vector<Part>& parts) {
  size_t unit = 0, byte = 0;
  for (Part& part : parts) {
    if (!part.original) continue;
    for (size_t* bound : {&part.begin, &part.end}) {
      byte += StringGetUTF8Size(text.substr(unit, *bound - unit));
      unit = *bound;
      *bound = byte;
    }
  }
}

}  // namespace

bool OutputEditedPPD(const TextEdits& edits, PPDBytes& bytes, TextEncoding encoding, FILE* out,
                     FinalNewline newline) {
  const UStringView text = edits.text();
  std::vector<Part> parts;
  bool encodes = true;
  size_t units = 0;
  UStringView last;  // the last piece that is not empty
  edits.ForEachPiece([&](UStringView piece) {
    units += piece.size();
    if (!piece.empty()) last = piece;
    if (piece.data() >= text.data() && piece.data() < text.data() + text.size()) {
      const size_t begin = static_cast<size_t>(piece.data() - text.data());
      parts.push_back({true, begin, begin + piece.size(), {}});
      return;
    }
    std::string line(StringGetMaximumUTF8Size(piece.size()), '\0');
    const std::optional<size_t> size = StringEncode(piece, encoding, line.data());
    encodes = encodes && size.has_value();
    line.resize(size.value_or(0));
    parts.push_back({false, 0, 0, std::move(line)});
  });
  // As for a text put together: nothing at all when it is empty or any of it
  // does not encode.
  if (!encodes || units == 0) return true;
  // One byte per code unit unless the text is UTF-8 that is not all ASCII.
  if (text.size() != bytes.size()) ToUTF8Offsets(text, parts);

  const std::string_view view = bytes.View();
  if (view.empty() || std::fflush(out) != 0) return false;
  const int fd = fileno(out);
  std::vector<iovec> iov;
  size_t low = std::numeric_limits<size_t>::max(), high = 0;
  bool written = true;
  const auto flush = [&] {
    written = written && (fd >= 0 ? WriteAll(fd, iov) : WriteAll(out, iov));
    bytes.Release(low, high);
    iov.clear();
    low = std::numeric_limits<size_t>::max(), high = 0;
  };
  for (Part& part : parts) {
    if (!part.original) {
      iov.push_back({part.line.data(), part.line.size()});
      if (iov.size() == kBatchParts) flush();
      continue;
    }
    for (size_t at = part.begin; at < part.end;) {
      const size_t size = std::min(part.end - at, kBatchBytes);
      if (high > low && high - low + size > kBatchBytes) flush();
      iov.push_back({const_cast<char*>(view.data()) + at, size});
      low = std::min(low, at), high = at + size;
      at += size;
      if (iov.size() == kBatchParts) flush();
    }
  }
  static char kNewline = '\n';
  if (AddsNewline(last, newline)) iov.push_back({&kNewline, 1});
  flush();
  return written && (fd >= 0 || (std::fflush(out) == 0 && !std::ferror(out)));
}
