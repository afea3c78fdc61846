// Where a run's --output file goes, resolved as a root install step may
// safely follow it.
//
// The path is walked one name at a time through directory descriptors, never
// by the kernel's own lookup, so that each symbolic link on the way is seen
// and judged: a link is followed only where the kernel's protected-symlink
// rule would let the caller follow it, whatever fs.protected_symlinks says.
// A link that lies in a sticky world-writable directory (such as /tmp) and
// belongs to neither that directory's owner nor the caller is refused, and
// so is a link whose target does not exist: no file is ever created through
// a link. The answer holds the directory open, so that a link swapped in
// after the walk can at most be replaced by the new file, never followed.
#ifndef PPDLOCALIZE_PPDIO_OUTPUT_PATH_H_
#define PPDLOCALIZE_PPDIO_OUTPUT_PATH_H_

#include <sys/stat.h>

#include <optional>
#include <string>

#include "ppdio/unique_fd.h"

struct OutputPlace {
  UniqueFd dir;                        // the directory that holds (or will hold) the file
  std::string name;                    // the file's name in it
  std::string file;                    // the file's path for messages, links followed
  std::string directory;               // the directory's path for messages
  std::optional<struct stat> existing;  // the regular file there now, if any
};

// Resolves `path` (relative to the working directory unless absolute). A
// path that ends in a directory, or in a file that is not a regular file, a
// refused link, a missing directory on the way, too many links (40) are
// failures: nothing is answered and `error` says "<path>: <reason>".
std::optional<OutputPlace> ResolveOutputPath(const std::string& path, std::string* error);

#endif  // PPDLOCALIZE_PPDIO_OUTPUT_PATH_H_
