// Replacing a file atomically with the result of a run.
#ifndef PPDLOCALIZE_PPDIO_OUTPUT_FILE_H_
#define PPDLOCALIZE_PPDIO_OUTPUT_FILE_H_

#include <cstdio>
#include <functional>
#include <string>

// Resolves `path` as ResolveOutputPath does (output_path.h: links followed
// only where the protected-symlink rule allows, never to a missing file),
// writes a new file in the resolved directory (created exclusively, never
// through a link) with `fill`, gzip-compressed when `path` ends in ".gz",
// flushes it to disk and renames it over the file through the directory's
// descriptor. When `path` is a symbolic link the link stays and the file it
// points to is replaced. A replaced file keeps its permission bits, and its
// owner and group where the user may set them; a new file gets the mode that
// the umask gives. On any failure (including `fill` answering false) the
// target is unchanged, the new file is gone, and the answer is false with
// `error` saying "<file or directory>: <reason>".
bool ReplaceFileAtomically(const std::string& path, const std::function<bool(FILE*)>& fill, std::string* error);

#endif  // PPDLOCALIZE_PPDIO_OUTPUT_FILE_H_
