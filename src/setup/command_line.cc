#include "setup/command_line.h"

#include <cstring>
#include <string_view>

#include "ppdtext/locale_country.h"

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
    "  --report       describe what the run did on standard error\n"
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

}  // namespace

CommandLine ParseCommandLine(int argc, char** argv) {
  CommandLine line;
  if (argc == 2 && std::strcmp(argv[1], "-h") == 0) line.action = CommandLine::kHelp;
  int i = 1;
  for (; i < argc && line.action == CommandLine::kRun && std::strncmp(argv[i], "--", 2) == 0; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--") {
      ++i;
      break;
    }
    const size_t equals = arg.find('=');
    const std::string_view name = arg.substr(0, equals);
    const bool takes_value = name == "--country" || name == "--output";
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
      if (!value.empty() && !IsCountryCode(value)) {
        return UsageError("--country takes two ASCII letters or three digits, not \"" + value + "\"");
      }
      line.options.country = value;
    } else if (name == "--output") {
      if (value.empty()) return UsageError("--output needs a file name");
      line.options.output = value;
    } else {
      return UsageError("unknown option " + std::string(name));
    }
  }
  if (line.action != CommandLine::kRun) return line;
  const int positional = argc - i;
  if (positional < 2 || positional > 3) return UsageError("");
  line.path = argv[i + 1];
  return line;
}
