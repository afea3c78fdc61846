// The names the driver gives its PPDs: "ppd-localize:" and the PPD's path
// relative to its PPD directory.
//
// cups-driverd reads a driver's list line into fixed buffers and passes the
// name back to `cat` after it has crossed IPP, so only names that survive
// that trip are given out, and `cat` accepts nothing else. A name is valid
// when it is at most 255 bytes (cups-driverd's `name[256]`), valid UTF-8
// (IPP names are), free of '"' (the line's quote) and control characters,
// and its relative path is one or more non-empty '/'-separated components,
// none starting with '.' (cups-driverd skips such entries; this also rules
// out "." and ".."), with ".plist" nowhere in it (cups-driverd skips those
// files). So a valid name cannot be absolute or leave its directory.
#ifndef PPDLOCALIZE_DRIVER_PPD_NAME_H_
#define PPDLOCALIZE_DRIVER_PPD_NAME_H_

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

inline constexpr std::string_view kPPDNamePrefix = "ppd-localize:";
inline constexpr size_t kPPDNameMaxBytes = 255;

// Why the relative path cannot be part of a name, or the empty string when
// it can.
std::string RelativePathProblem(std::string_view relative);

// The relative path of a valid name; for any other, nothing, with `reason`
// saying in a few words what is wrong.
std::optional<std::string> RelativePathOfName(std::string_view name, std::string* reason);

#endif  // PPDLOCALIZE_DRIVER_PPD_NAME_H_
