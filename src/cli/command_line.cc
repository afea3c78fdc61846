#include "cli/command_line.h"

#include <sys/stat.h>

#include <cstring>
#include <optional>
#include <string_view>

#include "setup/locale_country.h"

const char kUsage[] =
    "usage: ppd-localize [OPTION]... <ignored> <file.ppd> [<ignored>]\n"
    "Localises a PPD to a country: deletes the paper sizes the printer must not offer\n"
    "there, may switch the duplex default, and records the country in *ISOCountryCode.\n"
    "The PPD may be gzip-compressed and in any encoding (what is not UTF-8 is kept byte\n"
    "for byte); \"-\" reads it from standard input or a pipe. The country comes from\n"
    "LC_ALL, LC_PAPER or LANG; the result goes to standard output.\n"
    "\n"
    "  --country=CC   the country instead of the locale's (\"JP\", \"DE\", ...; empty: none)\n"
    "  --output=FILE  replace FILE atomically with the result (FILE may be the input)\n"
    "  --report       describe what the run did on standard error, rule by rule\n"
    "  --rules=PATH   the rules in PATH (a file, or a directory of *.rules files)\n"
    "                 instead of the built-in ones\n"
    "  --print-rules  print the built-in rules\n"
    "  --check-rules=PATH  check the rules in PATH and read no PPD\n"
    "  --help, --version\n"
    "\n"
    "examples:\n"
    "  ppd-localize - model.ppd > model-local.ppd\n"
    "  ppd-localize --country=DE --output=/etc/cups/ppd/office.ppd - model.ppd\n"
    "  zcat model.ppd.gz | ppd-localize --report - -\n";

namespace {

CommandLine UsageError(std::string error) {
  CommandLine line;
  line.action = CommandLine::kUsageError;
  line.error = std::move(error);
  return line;
}

bool TakesValue(std::string_view name) {
  return name == "--country" || name == "--output" || name == "--rules" || name == "--check-rules";
}

bool IsKnownOption(std::string_view arg) {
  const std::string_view name = arg.substr(0, arg.find('='));
  return TakesValue(name) || name == "--report" || name == "--help" || name == "--version" || name == "--print-rules";
}

// The command line with its options (and their values) moved before the
// positional arguments, for a hint.
std::string Reordered(int argc, char** argv) {
  std::string options, positional;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (!IsKnownOption(arg)) {
      positional += std::string(" ") + argv[i];
      continue;
    }
    options += std::string(" ") + argv[i];
    if (TakesValue(arg) && i + 1 < argc) options += std::string(" ") + argv[++i];
  }
  return "ppd-localize" + options + positional;
}

bool IsRegularFile(const char* path) {
  struct stat info;
  return stat(path, &info) == 0 && S_ISREG(info.st_mode);
}

}  // namespace

CommandLine ParseCommandLine(int argc, char** argv) {
  CommandLine line;
  if (argc == 2 && std::strcmp(argv[1], "-h") == 0) line.action = CommandLine::kHelp;
  int i = 1;
  bool options_ended = false;
  for (; i < argc && line.action == CommandLine::kRun && std::strncmp(argv[i], "--", 2) == 0; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--") {
      ++i;
      options_ended = true;
      break;
    }
    const size_t equals = arg.find('=');
    const std::string_view name = arg.substr(0, equals);
    const bool takes_value = TakesValue(name);
    if (!takes_value && equals != std::string_view::npos) return UsageError(std::string(name) + " takes no value");
    std::string value;
    if (takes_value && equals != std::string_view::npos) {
      value = arg.substr(equals + 1);
    } else if (takes_value && i + 1 < argc) {
      value = argv[++i];
    } else if (takes_value) {
      return UsageError(std::string(name) + " needs a value");
    }
    if (name == "--help") {
      line.action = CommandLine::kHelp;
    } else if (name == "--version") {
      line.action = CommandLine::kVersion;
    } else if (name == "--report") {
      line.options.report = true;
    } else if (name == "--country") {
      if (const std::optional<std::string> problem = GivenCountryCodeProblem(value)) {
        return UsageError("--country " + *problem);
      }
      line.options.country = value;
    } else if (name == "--output") {
      if (value.empty()) return UsageError("--output needs a file name");
      line.options.output = value;
    } else if (name == "--rules" || name == "--check-rules") {
      if (value.empty()) return UsageError(std::string(name) + " needs a file or directory");
      line.rules = value;
      if (name == "--check-rules") line.action = CommandLine::kCheckRules;
    } else if (name == "--print-rules") {
      line.action = CommandLine::kPrintRules;
    } else {
      return UsageError("unknown option " + std::string(name));
    }
  }
  // Rules are checked or printed alone: a PPD given too would be taken for
  // localised without a word.
  if ((line.action == CommandLine::kCheckRules || line.action == CommandLine::kPrintRules) && i < argc) {
    const std::string option = line.action == CommandLine::kCheckRules ? "--check-rules" : "--print-rules";
    return UsageError(option + " reads no PPD: give it without other arguments, not with " + argv[i]);
  }
  if (line.action != CommandLine::kRun) return line;
  // An option among the positional arguments would otherwise be taken for
  // an ignored argument, or for the file, without a word.
  for (int j = i; j < argc && !options_ended; ++j) {
    const std::string_view arg = argv[j];
    if (!arg.starts_with("--")) continue;
    if (!IsKnownOption(arg)) return UsageError("unknown option " + std::string(arg.substr(0, arg.find('='))));
    return UsageError(std::string(arg) + " after the positional arguments: options come first, as in " +
                      Reordered(argc, argv));
  }
  const int positional = argc - i;
  if (positional == 1) {
    return UsageError(std::string("the PPD is the second positional argument; the first is not read, as in "
                                  "ppd-localize - ") + argv[i]);
  }
  if (positional < 2 || positional > 3) return UsageError("");
  line.path = argv[i + 1];
  if (std::strcmp(argv[i], "-") != 0 && std::strcmp(argv[i], argv[i + 1]) != 0 && IsRegularFile(argv[i])) {
    line.options.load_hint = std::string(" (the PPD is the second argument; the first, ") + argv[i] +
                             ", is not read: to localise it, run ppd-localize - " + argv[i] + ")";
  }
  return line;
}
