#include "setup/output_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "ppdtext/unique_fd.h"

namespace {

bool Refuse(std::string* error, const std::string& what, int code) {
  *error = what + ": " + std::strerror(code);
  return false;
}

// The file that `path` names once every symbolic link is followed.
bool FollowLinks(std::string path, std::string* target, std::string* error) {
  for (int hops = 0; hops < 40; ++hops) {
    struct stat info;
    if (lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
      *target = path;
      return true;
    }
    char link[PATH_MAX];
    const ssize_t n = readlink(path.c_str(), link, sizeof link - 1);
    if (n < 0) return Refuse(error, path, errno);
    const std::string to(link, static_cast<size_t>(n));
    const size_t slash = path.rfind('/');
    path = to[0] == '/' || slash == std::string::npos ? to : path.substr(0, slash + 1) + to;
  }
  return Refuse(error, path, ELOOP);
}

// Keeps the owner and group of a replaced file where the user may set them.
void KeepOwner(int fd, const struct stat& old) {
  if (fchown(fd, old.st_uid, old.st_gid) != 0) (void)!fchown(fd, static_cast<uid_t>(-1), old.st_gid);
}

struct FileCloser {
  void operator()(FILE* file) const { std::fclose(file); }
};

// The new file, removed at scope end while `made` and not yet renamed into place.
struct Temporary {
  std::string path;
  bool made = false;
  ~Temporary() {
    if (made) unlink(path.c_str());
  }
};

}  // namespace

bool ReplaceFileAtomically(const std::string& path, const std::function<bool(FILE*)>& fill, std::string* error) {
  std::string target;
  if (!FollowLinks(path, &target, error)) return false;
  const size_t slash = target.rfind('/');
  const std::string dir = slash == std::string::npos ? "." : target.substr(0, slash + 1);

  struct stat old;
  const bool replacing = stat(target.c_str(), &old) == 0;
  if (replacing && !S_ISREG(old.st_mode)) return Refuse(error, target, S_ISDIR(old.st_mode) ? EISDIR : EINVAL);
  const mode_t mask = umask(0);
  umask(mask);

  Temporary temporary{(slash == std::string::npos ? "" : dir) + ".ppd-localize-XXXXXX"};
  UniqueFd fd(mkostemp(temporary.path.data(), O_CLOEXEC));
  if (fd.get() < 0) return Refuse(error, dir, errno);
  temporary.made = true;
  if (replacing) KeepOwner(fd.get(), old);
  if (fchmod(fd.get(), replacing ? old.st_mode & 07777 : 0666 & ~mask) != 0) return Refuse(error, target, errno);
  const int descriptor = fd.get();
  std::unique_ptr<FILE, FileCloser> file(fdopen(descriptor, "w"));
  if (!file) return Refuse(error, target, errno);
  fd.release();  // the stream closes it now
  errno = 0;
  const bool written = fill(file.get()) && std::fflush(file.get()) == 0 && fsync(descriptor) == 0;
  const int code = errno != 0 ? errno : EIO;
  if (std::fclose(file.release()) != 0 || !written) return Refuse(error, target, written ? errno : code);
  if (rename(temporary.path.c_str(), target.c_str()) != 0) return Refuse(error, target, errno);
  temporary.made = false;
  // The rename itself reaches the disk with the directory.
  if (const UniqueFd dir_fd(open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)); dir_fd.get() >= 0) {
    fsync(dir_fd.get());
  }
  return true;
}
