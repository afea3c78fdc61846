// Reading a small text file whole: a configuration or rules file.
#ifndef PPDLOCALIZE_PPDIO_TEXT_FILE_H_
#define PPDLOCALIZE_PPDIO_TEXT_FILE_H_

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// The bytes of a file, held in memory: a file with a size is read into
// pages made at once (a rules file of a thousand rows is read in half the
// time a string takes, which takes a fault for each page as the read fills
// it); one without (a pipe, a file in /proc) into a string.
class TextFile {
 public:
  TextFile(TextFile&& other) noexcept;
  TextFile& operator=(TextFile&&) = delete;
  TextFile(const TextFile&) = delete;
  ~TextFile();

  std::string_view text() const { return mapped_ != nullptr ? std::string_view(mapped_, size_) : read_; }

  // The bytes of the file at `path`, or nothing, with errno set, when it
  // cannot be opened or read (a directory fails with EISDIR).
  static std::optional<TextFile> Read(const std::string& path);

 private:
  TextFile() = default;
  char* mapped_ = nullptr;
  size_t mapped_size_ = 0;
  size_t size_ = 0;
  std::string read_;
};

#endif  // PPDLOCALIZE_PPDIO_TEXT_FILE_H_
