#include "setup/setup_ppd.h"

#include <cerrno>
#include <cstring>

#include "policy/model_info.h"
#include "policy/ppd_file.h"
#include "ppdtext/ppd_load.h"
#include "ppdtext/ppd_output.h"
#include "setup/country_code_step.h"
#include "setup/output_file.h"
#include "setup/rule_stage.h"
#include "setup/run_report.h"

void localizePPDText(UString& text, ppd_file_t* ppd, UStringView country) {
  applyRuleStage(text, ppd, country);
  applyCountryCodeStep(text, ppd, country);
}

namespace {

int Failed(FILE* err, const std::string& what, const std::string& reason) {
  std::fprintf(err, "ppd-localize: %s: %s\n", what.c_str(), reason.c_str());
  return kRunFailed;
}

// Writes the text to `out`, or in place of the file options.output names.
int Deliver(const PPDText& text, const RunOptions& options, FILE* out, FILE* err) {
  const auto write = [&](FILE* to) { return CFStringOutputPPD(text.text, to, text.encoding); };
  std::string error;
  if (!options.output.empty()) {
    if (ReplaceFileAtomically(options.output, write, &error)) return kRunOk;
    std::fprintf(err, "ppd-localize: %s\n", error.c_str());
    return kRunFailed;
  }
  errno = 0;
  if (write(out)) return kRunOk;
  return Failed(err, "standard output", std::string("cannot write the output: ") +
                                            (errno != 0 ? std::strerror(errno) : "write error"));
}

}  // namespace

int setupPPD(const char* path, const RunOptions& options, FILE* out, FILE* err) {
  const std::string input = PPDInputName(path);
  std::string reason;
  std::optional<std::string> bytes = ReadPPDFileBytes(path, &reason);
  std::optional<PPDText> text = bytes ? DecodePPDBytes(*bytes, &reason) : std::nullopt;
  if (!text) return Failed(err, input, reason);
  // libcups reads the very bytes that are edited: one read, one content.
  PPDFile ppd = PPDOpenBytes(*bytes, &reason);
  bytes.reset();
  if (!ppd && !reason.empty()) return Failed(err, input, reason);

  RunReport report(input);
  if (!ppd) {
    int line = 0;
    const ppd_status_t status = ppdLastError(&line);
    std::fprintf(err, "ppd-localize: %s: warning: libcups cannot read it as a PPD (%s, line %d); passed on unedited\n",
                 input.c_str(), ppdErrorString(status), line);
  } else {
    determineModel(ppd.get());
    const CountryChoice country =
        options.country ? CountryChoice{StringFromASCII(*options.country), "--country"} : CurrentCountryChoice();
    if (options.report) report.Before(ppd.get(), text->text, country, RulePapers(country.code));
    localizePPDText(text->text, ppd.get(), country.code);
    ppd.reset();
  }
  const int status = Deliver(*text, options, out, err);
  if (status == kRunOk && options.report) report.Print(*text, err);
  return status;
}
