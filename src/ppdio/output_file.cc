#include "ppdio/output_file.h"

#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <memory>

#include "ppdio/gzip_stream.h"
#include "ppdio/output_path.h"

namespace {

bool Refuse(std::string* error, const std::string& what, int code) {
  *error = what + ": " + std::strerror(code);
  return false;
}

// Keeps the owner and group of a replaced file where the user may set them.
void KeepOwner(int fd, const struct stat& old) {
  if (fchown(fd, old.st_uid, old.st_gid) != 0) (void)!fchown(fd, static_cast<uid_t>(-1), old.st_gid);
}

struct FileCloser {
  void operator()(FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<FILE, FileCloser>;

// The new file in the target's directory, removed at scope end while `made`
// and not yet renamed into place.
struct Temporary {
  int dir;
  std::string name;
  bool made = false;
  ~Temporary() {
    if (made) unlinkat(dir, name.c_str(), 0);
  }

  // Creates it exclusively under a name no one can guess, never through a link.
  UniqueFd Create() {
    static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    for (int attempt = 0; attempt < 100; ++attempt) {
      unsigned char random[8];
      if (getrandom(random, sizeof random, 0) != sizeof random) return UniqueFd();
      name = ".ppd-localize-";
      for (const unsigned char r : random) name += kLetters[r % (sizeof kLetters - 1)];
      UniqueFd fd(openat(dir, name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
      if (fd.get() >= 0 || errno != EEXIST) {
        made = fd.get() >= 0;
        return fd;
      }
    }
    return UniqueFd();
  }
};

bool EndsWith(const std::string& text, const std::string& suffix) {
  return text.size() >= suffix.size() && text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

// Fills `file` with `fill`, through gzip when `gzip`; false with errno set
// when anything could not be written.
bool Fill(FILE* file, bool gzip, const std::function<bool(FILE*)>& fill) {
  errno = 0;
  if (!gzip) return fill(file) && std::fflush(file) == 0;
  FILE* packed = OpenGzipStream(file);
  if (packed == nullptr) return false;
  const bool filled = fill(packed);
  return std::fclose(packed) == 0 && filled && std::fflush(file) == 0;
}

}  // namespace

bool ReplaceFileAtomically(const std::string& path, const std::function<bool(FILE*)>& fill, std::string* error) {
  std::optional<OutputPlace> place = ResolveOutputPath(path, error);
  if (!place) return false;
  const int dir = place->dir.get();
  const mode_t mask = umask(0);
  umask(mask);

  Temporary temporary{dir, {}};
  UniqueFd fd = temporary.Create();
  if (fd.get() < 0) return Refuse(error, place->directory, errno != 0 ? errno : EIO);
  if (place->existing) KeepOwner(fd.get(), *place->existing);
  const mode_t mode = place->existing ? place->existing->st_mode & 07777 : 0666 & ~mask;
  if (fchmod(fd.get(), mode) != 0) return Refuse(error, place->file, errno);
  const int descriptor = fd.get();
  File file(fdopen(descriptor, "w"));
  if (!file) return Refuse(error, place->file, errno);
  fd.release();  // the stream closes it now
  const bool written = Fill(file.get(), EndsWith(path, ".gz"), fill) && fsync(descriptor) == 0;
  const int code = errno != 0 ? errno : EIO;
  if (std::fclose(file.release()) != 0 || !written) return Refuse(error, place->file, written ? errno : code);
  if (renameat(dir, temporary.name.c_str(), dir, place->name.c_str()) != 0) return Refuse(error, place->file, errno);
  temporary.made = false;
  // The rename itself reaches the disk with the directory.
  if (const UniqueFd synced(openat(dir, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC)); synced.get() >= 0) {
    fsync(synced.get());
  }
  return true;
}
