#include "driver/ppd_name.h"

#include "ppdtext/ustring.h"

std::string RelativePathProblem(std::string_view relative) {
  if (kPPDNamePrefix.size() + relative.size() > kPPDNameMaxBytes) return "longer than 255 bytes";
  if (relative.empty()) return "no path after \"ppd-localize:\"";
  for (const char byte : relative) {
    const unsigned char c = static_cast<unsigned char>(byte);
    if (c < 0x20 || c == 0x7F) return "holds a control character";
    if (c == '"') return "holds a quotation mark";
  }
  if (!StringCreateWithUTF8(relative)) return "is not UTF-8";
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
