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
// can be given back and the text's pages are mapped just ahead of use.
constexpr size_t kPart = size_t{1} << 18;
constexpr size_t kRewriteSlack = 1024;

// Decodes `bytes` into a text part by part, calling done(offset) after each
// part with the offset decoded up to; as UTF-8 when the bytes are valid
// UTF-8, otherwise one code unit per byte. Fails on no bytes or a zero byte.
template <typename Done>
std::optional<PPDText> DecodeInParts(std::string_view bytes, std::string* reason, Done done) {
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
  for (size_t at = 0; at < bytes.size();) {
    const size_t until = std::min(bytes.size(), at + kPart);
    if (has_zero(until)) return Fail(reason, "not a text file (it holds a zero byte)");
    // Ahead of decoding: the units this part becomes, mapped in one go.
    PopulatePages(text.text.data() + text.text.size(), (until - at) * sizeof(char16_t));
    if (!StringAppendDecodedUTF8(bytes, &at, until, text.text)) {
      text.text.clear();
      text.encoding = TextEncoding::kBytes;
      break;
    }
    done(at);
  }
  if (text.encoding == TextEncoding::kBytes) {
    for (size_t at = 0; at < bytes.size(); at += kPart) {
      const size_t until = std::min(bytes.size(), at + kPart);
      if (has_zero(until)) return Fail(reason, "not a text file (it holds a zero byte)");
      StringAppendBytes(bytes.substr(at, kPart), text.text);
      done(until);
    }
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
  return DecodeInParts(bytes, reason, [](size_t) {});
}

std::optional<PPDText> DecodePPDBytes(PPDBytes& bytes, std::string* reason) {
  std::string error;
  const std::string_view view = bytes.View(&error);
  if (view.empty() && bytes.size() > 0) return Fail(reason, error);
  size_t released = 0;
  return DecodeInParts(view, reason, [&](size_t offset) {
    bytes.Release(released, offset);
    released = offset - offset % 4096;  // the page it ends in goes with the next part
  });
}

std::optional<PPDText> QZCFStringCreateWithPPDFile(const char* path, std::string* reason) {
  std::optional<PPDBytes> bytes = ReadPPDBytes(path, reason);
  if (!bytes) return std::nullopt;
  return DecodePPDBytes(*bytes, reason);
}
