#include "scratch_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "fuzz_support.h"

namespace fuzz {
namespace {

class ScratchDir {
 public:
  ScratchDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "ppd-localize-fuzz-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) Fail("a scratch directory can be made");
    dir_ = pattern;
    file_ = dir_ + "/input.ppd";
  }
  ~ScratchDir() {
    std::error_code ignored;
    std::filesystem::remove_all(dir_, ignored);
  }
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;

  const std::string& file() const { return file_; }

 private:
  std::string dir_;
  std::string file_;
};

}  // namespace

const std::string& WriteScratchFile(std::string_view bytes) {
  static const ScratchDir dir;
  const int fd = open(dir.file().c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  if (fd < 0) Fail("the scratch file can be opened");
  for (size_t done = 0; done < bytes.size();) {
    const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
    if (n <= 0) Fail("the scratch file can be written");
    done += static_cast<size_t>(n);
  }
  close(fd);
  return dir.file();
}

}  // namespace fuzz
