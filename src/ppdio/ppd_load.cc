#include "ppdio/ppd_load.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "ppdtext/populate_pages.h"

namespace {

std::nullopt_t Fail(std::string* reason, std::string text) {
  if (reason != nullptr) *reason = std::move(text);
  return std::nullopt;
}

// Decoded a part at a time, so that the part of the bytes already decoded
// can be freed and the text's pages are mapped just ahead of use.
constexpr size_t kPart = size_t{1} << 16;
constexpr size_t kRewriteSlack = 1024;

// A sequence of UTF-8 that starts before a part's end ends at most this far
// past it.
constexpr size_t kSequenceTail = 3;

// Decodes `size` bytes into a text part by part, seeing them through
// window(offset, end), which answers the bytes [offset, end) (fewer at the
// end of the bytes), valid until its next call. Calls before(offset, end)
// before the part [offset, end) and done(offset) after each part with the
// offset decoded up to, after which the bytes before it may be gone; as
// UTF-8 when the bytes are valid UTF-8, otherwise one code unit per byte.
// Fails on no bytes or a zero byte.
template <typename Window, typename Before, typename Done>
std::optional<PPDText> DecodeInParts(size_t size, Window window, std::string* reason, Before before, Done done) {
  if (size == 0) return Fail(reason, "empty file");
  PPDText text;
  text.text.reserve(size + kRewriteSlack);
  size_t checked = 0;  // no zero byte before this
  // Whether [at, until) of `part`, which starts at `at`, holds a zero byte
  // that was not looked for yet. (What lies before `at` and after `checked`
  // ended a sequence of the part before: no zero there.)
  const auto has_zero = [&](std::string_view part, size_t at, size_t until) {
    const size_t from = std::max(checked, at);
    checked = std::max(checked, until);
    return until > from && std::memchr(part.data() + (from - at), 0, until - from) != nullptr;
  };
  size_t at = 0;
  while (at < size && text.encoding == TextEncoding::kUTF8) {
    const size_t until = std::min(size, at + kPart);
    before(at, until);
    const std::string_view part = window(at, until + kSequenceTail);
    if (part.size() < std::min(size, until + kSequenceTail) - at) return Fail(reason, "read error");
    if (has_zero(part, at, until)) return Fail(reason, "not a text file (it holds a zero byte)");
    // Ahead of decoding: the units this part becomes, mapped in one go.
    PopulatePages(text.text.data() + text.text.size(), (until - at) * sizeof(char16_t));
    const size_t part_units = text.text.size();
    size_t decoded = 0;
    if (StringAppendDecodedUTF8(part, &decoded, until - at, text.text)) {
      at += decoded;
      done(at);
      continue;
    }
    // Not UTF-8 after all. The earlier parts were, and encode back to their
    // very bytes, which may be gone already: they become one unit per byte
    // from the text, and the rest from the bytes.
    text.text.resize(part_units);
    const std::optional<std::string> earlier = StringCopyUTF8(text.text);
    text.text.clear();
    StringAppendBytes(earlier.value_or(""), text.text);
    text.encoding = TextEncoding::kBytes;
  }
  for (; at < size; at += kPart) {
    const size_t until = std::min(size, at + kPart);
    before(at, until);
    const std::string_view part = window(at, until);
    if (part.size() < until - at) return Fail(reason, "read error");
    if (has_zero(part, at, until)) return Fail(reason, "not a text file (it holds a zero byte)");
    StringAppendBytes(part, text.text);
    done(until);
  }
  return text;
}

}  // namespace

std::string PPDInputName(const char* path) {
  if (path == nullptr) return "(none)";
  return std::strcmp(path, "-") == 0 ? "standard input" : path;
}

std::optional<std::string> ReadPPDFileBytes(const char* path, std::string* reason, uint64_t limit) {
  std::optional<PPDBytes> bytes = ReadPPDBytes(path, reason, limit);
  if (!bytes) return std::nullopt;
  std::optional<std::string> copy = bytes->Copy();
  if (!copy) return Fail(reason, std::string("read error: ") + std::strerror(errno));
  return copy;
}

std::optional<PPDText> DecodePPDBytes(std::string_view bytes, std::string* reason) {
  const auto window = [&](size_t at, size_t end) { return bytes.substr(at, end - at); };
  return DecodeInParts(bytes.size(), window, reason, [](size_t, size_t) {}, [](size_t) {});
}

std::optional<PPDText> DecodePPDBytes(PPDBytes& bytes, std::string* reason, const DecodePace* pace) {
  // Read part by part rather than mapped: pages that are mapped cost every
  // processor of the process a flush of its address translations when they
  // are freed, which slows libcups down on the other processor.
  std::string buffer;
  const auto window = [&](size_t at, size_t end) { return bytes.Read(at, end - at, buffer); };
  const auto wait_for_reader = [&](size_t at, size_t until) {
    if (pace == nullptr) return;
    // Decoded up to d while the reader is at r, the bytes and the text hold
    // (size - r) + 2d bytes at most: under ahead x size while
    // 2d <= (ahead - 1) x size + r.
    const auto room = static_cast<size_t>((pace->ahead - 1) * static_cast<double>(bytes.size()));
    for (size_t r = bytes.ReaderOffset(); 2 * until > room + r && until > r + pace->always; r = bytes.ReaderOffset()) {
      if (!bytes.WaitForReader(pace->reader_done)) return;
      bytes.ReleaseReadUpTo(at);
    }
  };
  return DecodeInParts(bytes.size(), window, reason, wait_for_reader,
                       [&](size_t offset) { bytes.ReleaseReadUpTo(offset); });
}

std::optional<PPDText> QZCFStringCreateWithPPDFile(const char* path, std::string* reason) {
  std::optional<PPDBytes> bytes = ReadPPDBytes(path, reason);
  if (!bytes) return std::nullopt;
  return DecodePPDBytes(*bytes, reason);
}
