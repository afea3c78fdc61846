// The PPD files under the driver's PPD directories, and the way back from a
// name to its file.
//
// Each directory is walked recursively in byte order of the entry names.
// Entries whose name starts with '.' and paths holding ".plist" are passed
// over silently, as cups-driverd passes them over, and so are rules files
// (names ending in ".rules"). Symbolic links are
// followed, to files and to directories alike (a driver package may link
// its PPDs, or a directory of them, into a PPD directory); a link to a
// directory that is already on the way down (a loop) is skipped with a
// warning, so a walk always ends. The same directory linked from two places
// is walked under both names. An entry whose path cannot be part of a name
// (ppd_name.h), that cannot be examined (a dangling link), or that is neither
// a regular file nor a directory, is left out with a warning.
//
// A file is known by its path relative to its PPD directory. When several
// directories hold a file at the same relative path, the earliest directory
// wins and each later file is left out with a warning. Whether a file is a
// PPD is not looked at here (list_fields.h does).
#ifndef PPDLOCALIZE_DRIVER_PPD_CATALOG_H_
#define PPDLOCALIZE_DRIVER_PPD_CATALOG_H_

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Receives one warning line (without "WARNING:" or a newline).
using CatalogWarn = std::function<void(const std::string&)>;

// The files, by relative path, each with its full path. A directory that
// does not exist is passed over silently; one that cannot be opened gets a
// warning.
std::map<std::string, std::string> ScanCatalog(const std::vector<std::string>& directories, const CatalogWarn& warn);

// The full path of the file that ScanCatalog would give for `relative` (a
// path that RelativePathProblem accepts), found by walking down to it alone;
// or nothing, with `reason` saying why ("no such PPD", "names a directory").
std::optional<std::string> ResolveCatalogPath(const std::vector<std::string>& directories, std::string_view relative,
                                              std::string* reason);

#endif  // PPDLOCALIZE_DRIVER_PPD_CATALOG_H_
