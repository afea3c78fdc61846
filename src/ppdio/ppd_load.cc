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

// Decodes `bytes` into a text part by part, calling before(offset, end)
// before the part [offset, end) and done(offset) after each part with the
// offset decoded up to, after which the bytes before it may be gone; as
// UTF-8 when the bytes are valid UTF-8, otherwise one code unit per byte.
// Fails on no bytes or a zero byte.
template <typename Before, typename Done>
std::optional<PPDText> DecodeInParts(std::string_view bytes, std::string* reason, Before before, Done done) {
  if (bytes.empty()) return Fail(reason, "empty file");
  PPDText text;
  text.text.reserve(bytes.size() + kRewriteSlack);
  size_t checked = 0;  // no zero byte before this
  const auto has_zero = [&](size_t until) {
    if (until <= checked) return false;
    const bool zero = std::memchr(bytes.data() + checked, 0, until - checked) != nullptr;
    checked = until;
    return zero;
  };
  size_t at = 0;
  while (at < bytes.size() && text.encoding == TextEncoding::kUTF8) {
    const size_t until = std::min(bytes.size(), at + kPart);
    before(at, until);
    if (has_zero(until)) return Fail(reason, "not a text file (it holds a zero byte)");
    // Ahead of decoding: the units this part becomes, mapped in one go.
    PopulatePages(text.text.data() + text.text.size(), (until - at) * sizeof(char16_t));
    const size_t part_at = at, part_units = text.text.size();
    if (StringAppendDecodedUTF8(bytes, &at, until, text.text)) {
      done(at);
      continue;
    }
    // Not UTF-8 after all. The earlier parts were, and encode back to their
    // very bytes, which may be gone from `bytes` already: they become one
    // unit per byte from the text, the rest from `bytes`.
    text.text.resize(part_units);
    const std::optional<std::string> before = StringCopyUTF8(text.text);
    text.text.clear();
    StringAppendBytes(before.value_or(""), text.text);
    text.encoding = TextEncoding::kBytes;
    at = part_at;
  }
  for (; at < bytes.size(); at += kPart) {
    const size_t until = std::min(bytes.size(), at + kPart);
    before(at, until);
    if (has_zero(until)) return Fail(reason, "not a text file (it holds a zero byte)");
    StringAppendBytes(bytes.substr(at, kPart), text.text);
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
  return DecodeInParts(bytes, reason, [](size_t, size_t) {}, [](size_t) {});
}

std::optional<PPDText> DecodePPDBytes(PPDBytes& bytes, std::string* reason, const DecodePace* pace) {
  std::string error;
  const std::string_view view = bytes.View(&error);
  if (view.empty() && bytes.size() > 0) return Fail(reason, error);
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
  return DecodeInParts(view, reason, wait_for_reader, [&](size_t offset) { bytes.ReleaseReadUpTo(offset); });
}

std::optional<PPDText> QZCFStringCreateWithPPDFile(const char* path, std::string* reason) {
  std::optional<PPDBytes> bytes = ReadPPDBytes(path, reason);
  if (!bytes) return std::nullopt;
  return DecodePPDBytes(*bytes, reason);
}
