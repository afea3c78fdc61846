#include "driver/ppd_catalog.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <utility>

#include "driver/ppd_name.h"
#include "ppdio/unique_fd.h"

namespace {

using DirId = std::pair<dev_t, ino_t>;

UniqueFd OpenDirectoryAt(int at, const char* name) { return UniqueFd(openat(at, name, O_RDONLY | O_DIRECTORY | O_CLOEXEC)); }

std::optional<DirId> IdOf(int fd) {
  struct stat info;
  if (fstat(fd, &info) != 0) return std::nullopt;
  return DirId{info.st_dev, info.st_ino};
}

// The names in the open directory `fd`, sorted.
std::optional<std::vector<std::string>> EntryNames(int fd) {
  const int copy = dup(fd);
  DIR* dir = copy >= 0 ? fdopendir(copy) : nullptr;
  if (dir == nullptr) {
    if (copy >= 0) close(copy);
    return std::nullopt;
  }
  std::vector<std::string> names;
  errno = 0;
  while (const dirent* entry = readdir(dir)) names.emplace_back(entry->d_name);
  const bool failed = errno != 0;
  closedir(dir);
  if (failed) return std::nullopt;
  std::sort(names.begin(), names.end());
  return names;
}

bool PassedOverSilently(std::string_view name, std::string_view relative) {
  // Rules files (rule_set.h) are installed beside the PPDs they are for.
  return name.front() == '.' || relative.find(".plist") != std::string_view::npos || name.ends_with(".rules");
}

struct Walk {
  const std::string& root;
  std::map<std::string, std::string>& found;
  std::map<std::string, std::string>& found_here;
  const CatalogWarn& warn;
  std::vector<DirId> ancestors;

  void Directory(int fd, const std::string& prefix) {
    const std::optional<std::vector<std::string>> names = EntryNames(fd);
    if (!names) {
      warn(root + "/" + prefix + ": cannot read the directory: " + std::strerror(errno));
      return;
    }
    for (const std::string& name : *names) {
      const std::string relative = prefix.empty() ? name : prefix + "/" + name;
      if (PassedOverSilently(name, relative)) continue;
      const std::string path = root + "/" + relative;
      struct stat info;
      if (fstatat(fd, name.c_str(), &info, 0) != 0) {
        warn(path + ": left out: " + std::strerror(errno));
        continue;
      }
      if (const std::string problem = RelativePathProblem(relative); !problem.empty()) {
        warn(path + ": left out: its name " + problem);
        continue;
      }
      if (S_ISDIR(info.st_mode)) {
        const UniqueFd sub = OpenDirectoryAt(fd, name.c_str());
        const std::optional<DirId> id = sub.get() >= 0 ? IdOf(sub.get()) : std::nullopt;
        if (!id) {
          warn(path + ": left out: " + std::strerror(errno));
        } else if (std::find(ancestors.begin(), ancestors.end(), *id) != ancestors.end()) {
          warn(path + ": left out: a link to a directory above it");
        } else {
          ancestors.push_back(*id);
          Directory(sub.get(), relative);
          ancestors.pop_back();
        }
      } else if (!S_ISREG(info.st_mode)) {
        warn(path + ": left out: not a regular file");
      } else if (const auto earlier = found.find(relative); earlier != found.end()) {
        warn(path + ": left out: " + earlier->second + " has the same name");
      } else {
        found_here.emplace(relative, path);
      }
    }
  }
};

}  // namespace

std::map<std::string, std::string> ScanCatalog(const std::vector<std::string>& directories, const CatalogWarn& warn) {
  std::map<std::string, std::string> found;
  for (const std::string& root : directories) {
    const UniqueFd fd(open(root.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    const std::optional<DirId> id = fd.get() >= 0 ? IdOf(fd.get()) : std::nullopt;
    if (!id) {
      if (errno != ENOENT) warn(root + ": cannot open the PPD directory: " + std::strerror(errno));
      continue;
    }
    std::map<std::string, std::string> found_here;
    Walk{root, found, found_here, warn, {*id}}.Directory(fd.get(), "");
    found.merge(found_here);
  }
  return found;
}

std::optional<std::string> ResolveCatalogPath(const std::vector<std::string>& directories, std::string_view relative,
                                              std::string* reason) {
  *reason = "no such PPD";
  for (const std::string& root : directories) {
    UniqueFd fd(open(root.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    std::optional<DirId> id = fd.get() >= 0 ? IdOf(fd.get()) : std::nullopt;
    std::vector<DirId> ancestors;
    size_t start = 0;
    for (size_t slash; id && (slash = relative.find('/', start)) != std::string_view::npos; start = slash + 1) {
      ancestors.push_back(*id);
      const std::string component(relative.substr(start, slash - start));
      fd = OpenDirectoryAt(fd.get(), component.c_str());
      id = fd.get() >= 0 ? IdOf(fd.get()) : std::nullopt;
      if (id && std::find(ancestors.begin(), ancestors.end(), *id) != ancestors.end()) id.reset();
    }
    if (!id) continue;
    struct stat info;
    const std::string last(relative.substr(start));
    if (fstatat(fd.get(), last.c_str(), &info, 0) != 0) continue;
    if (S_ISREG(info.st_mode)) return root + "/" + std::string(relative);
    if (S_ISDIR(info.st_mode)) *reason = "names a directory, not a PPD";
  }
  return std::nullopt;
}
