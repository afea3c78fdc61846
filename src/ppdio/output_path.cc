#include "ppdio/output_path.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>
#include <deque>

namespace {

constexpr int kMaxLinks = 40;  // as the kernel's own lookup

std::nullopt_t Refuse(std::string* error, const std::string& what, const std::string& reason) {
  *error = what + ": " + reason;
  return std::nullopt;
}

std::nullopt_t RefuseErrno(std::string* error, const std::string& what, int code) {
  return Refuse(error, what, std::strerror(code));
}

// Prepends the names of `path` to `names`, in order.
void PushFront(std::deque<std::string>& names, const std::string& path) {
  std::deque<std::string> mine;
  for (size_t at = 0; at < path.size();) {
    const size_t slash = std::min(path.find('/', at), path.size());
    if (slash > at) mine.push_back(path.substr(at, slash - at));
    at = slash + 1;
  }
  names.insert(names.begin(), mine.begin(), mine.end());
}

std::string Join(const std::string& dir, const std::string& name) {
  if (dir.empty()) return name;
  return dir.back() == '/' ? dir + name : dir + "/" + name;
}

// The kernel's protected-symlink rule: a link in a sticky world-writable
// directory is followed only by its owner or when the directory's owner
// owns it too.
bool MayFollow(const struct stat& dir, const struct stat& link) {
  const bool shared = (dir.st_mode & S_ISVTX) != 0 && (dir.st_mode & S_IWOTH) != 0;
  return !shared || link.st_uid == dir.st_uid || link.st_uid == geteuid();
}

}  // namespace

std::optional<OutputPlace> ResolveOutputPath(const std::string& path, std::string* error) {
  std::deque<std::string> names;
  PushFront(names, path);
  const bool absolute = !path.empty() && path[0] == '/';
  std::string walked = absolute ? "/" : "";  // the directory reached so far, as a path for messages
  UniqueFd dir(open(absolute ? "/" : ".", O_PATH | O_DIRECTORY | O_CLOEXEC));
  if (dir.get() < 0) return RefuseErrno(error, absolute ? "/" : ".", errno);
  if (names.empty() || path.back() == '/') return RefuseErrno(error, path, EISDIR);

  bool through_link = false;  // the last name comes from a link's target
  for (int links = 0; !names.empty();) {
    const std::string name = names.front();
    names.pop_front();
    const bool last = names.empty();
    const std::string here = Join(walked, name);
    UniqueFd fd(openat(dir.get(), name.c_str(), O_PATH | O_NOFOLLOW | O_CLOEXEC));
    struct stat info;
    if (fd.get() < 0 && errno == ENOENT && last) {
      if (through_link) {
        return Refuse(error, here, "not following a symbolic link to a file that does not exist "
                                   "(no file is created through a link)");
      }
      return OutputPlace{std::move(dir), name, here, walked.empty() ? "." : walked, std::nullopt};
    }
    if (fd.get() < 0 || fstat(fd.get(), &info) != 0) return RefuseErrno(error, here, errno);

    if (S_ISLNK(info.st_mode)) {
      struct stat holder;
      if (fstat(dir.get(), &holder) != 0) return RefuseErrno(error, walked, errno);
      if (!MayFollow(holder, info)) {
        return Refuse(error, here, "not following a symbolic link in a sticky world-writable directory "
                                   "that belongs to neither the directory's owner nor the caller");
      }
      if (++links > kMaxLinks) return RefuseErrno(error, here, ELOOP);
      char target[PATH_MAX];
      const ssize_t n = readlinkat(fd.get(), "", target, sizeof target);
      if (n < 0) return RefuseErrno(error, here, errno);
      if (n == 0 || static_cast<size_t>(n) == sizeof target) return RefuseErrno(error, here, n == 0 ? ENOENT : ENAMETOOLONG);
      const std::string to(target, static_cast<size_t>(n));
      if (to[0] == '/') {
        dir = UniqueFd(open("/", O_PATH | O_DIRECTORY | O_CLOEXEC));
        if (dir.get() < 0) return RefuseErrno(error, "/", errno);
        walked.assign(1, '/');  // (GCC 12 warns of a false overlap for = "/")
      }
      PushFront(names, to);
      if (last) through_link = true;
      continue;
    }
    if (S_ISDIR(info.st_mode)) {
      if (last) return RefuseErrno(error, here, EISDIR);
      dir = std::move(fd);
      walked = here;
      continue;
    }
    if (!last) return RefuseErrno(error, here, ENOTDIR);
    if (!S_ISREG(info.st_mode)) return RefuseErrno(error, here, EINVAL);
    return OutputPlace{std::move(dir), name, here, walked.empty() ? "." : walked, info};
  }
  return RefuseErrno(error, path, EISDIR);  // the path ended in "." or ".."
}
