// Reading a small text file whole: a configuration or rules file.
#ifndef PPDLOCALIZE_PPDIO_TEXT_FILE_H_
#define PPDLOCALIZE_PPDIO_TEXT_FILE_H_

#include <optional>
#include <string>

// The bytes of the file at `path`, or nothing, with errno set, when it
// cannot be opened or read (a directory fails with EISDIR).
std::optional<std::string> ReadTextFile(const std::string& path);

#endif  // PPDLOCALIZE_PPDIO_TEXT_FILE_H_
