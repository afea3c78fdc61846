#include "driver/driver_commands.h"

#include <cerrno>
#include <cstring>
#include <string>

#include "driver/cups_lines.h"
#include "driver/driver_country.h"
#include "driver/list_fields.h"
#include "driver/ppd_catalog.h"
#include "driver/ppd_name.h"
#include "setup/setup_ppd.h"

namespace {

void Warn(FILE* err, const std::string& message) { std::fprintf(err, "WARNING: ppd-localize: %s\n", message.c_str()); }

int Fail(FILE* err, const std::string& message) {
  std::fprintf(err, "ERROR: ppd-localize: %s\n", message.c_str());
  return 1;
}

// The list line of the file at `path`, or nothing with `reason`.
std::optional<std::string> LineOfFile(const std::string& relative, const std::string& path, std::string* reason) {
  GzFile file(path);
  if (!file.is_open()) {
    *reason = std::string("cannot open it: ") + std::strerror(errno);
    return std::nullopt;
  }
  CupsLines lines = file.Lines();
  const std::optional<ListFields> fields = ReadListFields(lines, reason);
  return fields ? ListLine(std::string(kPPDNamePrefix) + relative, *fields, reason) : std::nullopt;
}

bool Write(FILE* out, std::string_view bytes) {
  return std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size() && std::fflush(out) == 0;
}

}  // namespace

std::string MessageQuote(std::string_view text) {
  std::string quoted;
  for (const char c : text.substr(0, 300)) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte >= 0x7F || c == '\\') {
      char hex[5];
      std::snprintf(hex, sizeof hex, "\\x%02X", byte);
      quoted += hex;
    } else {
      quoted += c;
    }
  }
  if (text.size() > 300) quoted += "...";
  return quoted;
}

int RunList(const DriverConfig& config, FILE* out, FILE* err) {
  std::string listing;
  const auto files = ScanCatalog(config.ppd_directories, [err](const std::string& m) { Warn(err, m); });
  for (const auto& [relative, path] : files) {
    std::string reason;
    if (const std::optional<std::string> line = LineOfFile(relative, path, &reason)) {
      listing += *line;
    } else {
      Warn(err, path + ": left out: " + reason);
    }
  }
  if (!Write(out, listing)) return Fail(err, std::string("standard output: cannot write the list: ") + std::strerror(errno));
  return 0;
}

int RunCat(const DriverConfig& config, std::string_view name, FILE* out, FILE* err, const RuleSet* rules) {
  std::string reason;
  const std::string quoted = '"' + MessageQuote(name) + '"';
  const std::optional<std::string> relative = RelativePathOfName(name, &reason);
  if (!relative) return Fail(err, quoted + ": not a PPD name of this driver: the name " + reason);
  const std::optional<std::string> path = ResolveCatalogPath(config.ppd_directories, *relative, &reason);
  if (!path) return Fail(err, quoted + ": " + reason);
  if (!LineOfFile(*relative, *path, &reason)) return Fail(err, *path + ": not listed: " + reason);

  // The core writes its own messages ("ppd-localize: FILE: ..."); they are
  // collected to be passed on with the level cupsd reads.
  char* messages = nullptr;
  size_t size = 0;
  FILE* core_err = open_memstream(&messages, &size);
  if (core_err == nullptr) return Fail(err, "cannot collect messages: out of memory");
  RunOptions options;
  options.country = DriverCountry(config);
  options.rules = rules;
  const int status = setupPPD(path->c_str(), options, out, core_err);
  std::fclose(core_err);
  std::string_view lines(messages, size);
  while (!lines.empty()) {
    const size_t end = lines.find('\n');
    std::fprintf(err, "%s%.*s\n", status == kRunOk ? "WARNING: " : "ERROR: ",
                 static_cast<int>(std::min(end, lines.size())), lines.data());
    lines.remove_prefix(end == std::string_view::npos ? lines.size() : end + 1);
  }
  std::free(messages);
  return status == kRunOk ? 0 : 1;
}
