// The driver program's configuration file, ppd-localize.conf.
//
// The file lives in $CUPS_SERVERROOT (cupsd passes it to every program it
// runs), or /etc/cups when that is unset or empty. As in CUPS's own files,
// a '#' starts a comment to the end of the line ("\#" is a '#' instead), and
// what is left of a line is blank or a directive and its value separated by
// blanks, the directive's name matching case-insensitively:
//
//   PPDDirectory DIR     an absolute directory to take PPDs from; repeatable,
//                        earlier ones first; without any, kDefaultPPDDirectory
//   Country CC           the country for every PPD, whatever the locale
//   DefaultCountry CC    the country when the locale names none
//   Rules PATH           an absolute rules file, or directory of *.rules files,
//                        in place of the built-in rules; repeatable, read in
//                        the order given (rule_set.h)
//
// CC is checked as the command line's --country is: two upper-case ASCII
// letters or three digits, or nothing at all (no country). Any other line, an unknown
// directive, a bad value or a second Country or DefaultCountry line makes
// the whole file fail: no PPD is ever made under a misread setting.
#ifndef PPDLOCALIZE_DRIVER_DRIVER_CONFIG_H_
#define PPDLOCALIZE_DRIVER_DRIVER_CONFIG_H_

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#ifndef PPD_LOCALIZE_PPD_DIR
#define PPD_LOCALIZE_PPD_DIR "/usr/share/ppd-localize"
#endif
inline constexpr const char* kDefaultPPDDirectory = PPD_LOCALIZE_PPD_DIR;

struct DriverConfig {
  std::vector<std::string> ppd_directories{kDefaultPPDDirectory};
  std::optional<std::string> country;          // Country: forces this country ("" for none)
  std::optional<std::string> default_country;  // DefaultCountry: when the locale has none
  std::vector<std::string> rules;              // Rules: in place of the built-in rules, when given
};

// The path of the configuration file from the environment (see above).
std::string DriverConfigPath();

// Parses the text of the file at `path` (used only in messages). On failure
// answers nothing and sets `error` to one line: "PATH: line N: reason".
std::optional<DriverConfig> ParseDriverConfig(std::string_view text, const std::string& path, std::string* error);

// Reads and parses the file at `path`. A file that does not exist gives the
// defaults; one that cannot be read (permissions, a directory) is a failure
// with `error` naming the file and the reason.
std::optional<DriverConfig> ReadDriverConfig(const std::string& path, std::string* error);

#endif  // PPDLOCALIZE_DRIVER_DRIVER_CONFIG_H_
