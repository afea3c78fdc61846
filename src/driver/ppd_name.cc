#include "driver/ppd_name.h"

namespace {

// The length of the UTF-8 sequence at `s[at]`, or 0 when it is not one
// (overlong forms, surrogates and values past U+10FFFF included).
size_t Utf8SequenceLength(std::string_view s, size_t at) {
  const auto byte = [&](size_t i) { return static_cast<unsigned char>(s[i]); };
  const unsigned char lead = byte(at);
  if (lead < 0x80) return 1;
  size_t length = 0;
  unsigned min_second = 0x80, max_second = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) min_second = 0xA0;
    if (lead == 0xED) max_second = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) min_second = 0x90;
    if (lead == 0xF4) max_second = 0x8F;
  } else {
    return 0;
  }
  if (at + length > s.size() || byte(at + 1) < min_second || byte(at + 1) > max_second) return 0;
  for (size_t i = 2; i < length; ++i) {
    if (byte(at + i) < 0x80 || byte(at + i) > 0xBF) return 0;
  }
  return length;
}

}  // namespace

std::string RelativePathProblem(std::string_view relative) {
  if (kPPDNamePrefix.size() + relative.size() > kPPDNameMaxBytes) return "longer than 255 bytes";
  if (relative.empty()) return "no path after \"ppd-localize:\"";
  for (size_t at = 0; at < relative.size();) {
    const unsigned char c = static_cast<unsigned char>(relative[at]);
    if (c < 0x20 || c == 0x7F) return "holds a control character";
    if (c == '"') return "holds a quotation mark";
    const size_t length = Utf8SequenceLength(relative, at);
    if (length == 0) return "is not UTF-8";
    at += length;
  }
  if (relative.find(".plist") != std::string_view::npos) return "holds \".plist\"";
  for (size_t start = 0;;) {
    const size_t end = relative.find('/', start);
    const std::string_view component = relative.substr(start, end - start);
    if (component.empty()) return start == 0 ? "is absolute" : "has an empty path component";
    if (component.front() == '.') return "has a path component starting with '.'";
    if (end == std::string_view::npos) break;
    start = end + 1;
  }
  return {};
}

std::optional<std::string> RelativePathOfName(std::string_view name, std::string* reason) {
  if (name.substr(0, kPPDNamePrefix.size()) != kPPDNamePrefix) {
    *reason = "does not start with \"ppd-localize:\"";
    return std::nullopt;
  }
  const std::string_view relative = name.substr(kPPDNamePrefix.size());
  *reason = RelativePathProblem(relative);
  if (!reason->empty()) return std::nullopt;
  return std::string(relative);
}
