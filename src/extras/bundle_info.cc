#include "extras/bundle_info.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <system_error>

namespace {

namespace fs = std::filesystem;

// The dictionary every lookup reads, and whether it has been looked for yet.
struct KeptDictionary {
  bool read = false;
  Plist dict;
};

KeptDictionary& Kept() {
  static KeptDictionary kept;
  return kept;
}

// The file parsed, but only when its top level is a dictionary.
Plist ReadDictionary(const std::string& path) {
  Plist plist = PlistCreateWithFile(path);
  if (plist && plist_get_node_type(plist.get()) != PLIST_DICT) plist.reset();
  return plist;
}

bool IsRegularFile(const fs::path& path) {
  std::error_code ignored;
  return fs::is_regular_file(path, ignored);
}

// The running executable's own path, or "" when the system does not say.
std::string ExecutablePath() {
  std::error_code error;
  const fs::path self = fs::read_symlink("/proc/self/exe", error);
  return error ? std::string() : self.string();
}

}  // namespace

Plist PlistCreateWithBytes(std::string_view bytes) {
  if (bytes.empty() || bytes.size() > std::numeric_limits<uint32_t>::max()) return Plist();
  plist_t node = nullptr;
  plist_from_memory(bytes.data(), static_cast<uint32_t>(bytes.size()), &node);
  return Plist(node);
}

Plist PlistCreateWithFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return Plist();
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) return Plist();
  return PlistCreateWithBytes(bytes);
}

std::string BundleFindInfoDictionaryPath(const std::string& executable) {
  if (executable.empty()) return std::string();
  const fs::path dir = fs::path(executable).parent_path();
  if (dir.filename() == "MacOS" && dir.parent_path().filename() == "Contents") {
    const fs::path contents = dir.parent_path() / "Info.plist";
    if (IsRegularFile(contents)) return contents.string();
  }
  const fs::path beside = dir / "Info.plist";
  return IsRegularFile(beside) ? beside.string() : std::string();
}

plist_t BundleGetValueForInfoDictionaryKey(UStringView key) {
  KeptDictionary& kept = Kept();
  if (!kept.read) {
    kept.read = true;
    const std::string path = BundleFindInfoDictionaryPath(ExecutablePath());
    if (!path.empty()) kept.dict = ReadDictionary(path);
  }
  return PlistDictGetValue(kept.dict.get(), key);
}

void BundleUseInfoDictionaryAt(const std::string& path) {
  KeptDictionary& kept = Kept();
  kept.read = true;
  kept.dict = ReadDictionary(path);
}

void BundleUseMainInfoDictionary() {
  KeptDictionary& kept = Kept();
  kept.read = false;
  kept.dict.reset();
}

plist_t PlistDictGetValue(plist_t dict, UStringView key) {
  if (dict == nullptr || plist_get_node_type(dict) != PLIST_DICT) return nullptr;
  const std::optional<std::string> utf8 = StringCopyUTF8(key);
  // libplist keys are C strings: a key with a NUL in it names nothing there.
  if (!utf8 || utf8->find('\0') != std::string::npos) return nullptr;
  return plist_dict_get_item(dict, utf8->c_str());
}

std::optional<UString> PlistCopyString(plist_t node) {
  if (node == nullptr || plist_get_node_type(node) != PLIST_STRING) return std::nullopt;
  uint64_t length = 0;
  const char* bytes = plist_get_string_ptr(node, &length);
  if (bytes == nullptr) return std::nullopt;
  return StringCreateWithUTF8(std::string_view(bytes, static_cast<size_t>(length)));
}
