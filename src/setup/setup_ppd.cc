#include "setup/setup_ppd.h"

#include <cerrno>
#include <cstring>
#include <functional>

#include "policy/model_info.h"
#include "policy/ppd_file.h"
#include "ppdtext/edited_output.h"
#include "ppdtext/ppd_bytes.h"
#include "ppdtext/ppd_load.h"
#include "ppdtext/ppd_output.h"
#include "ppdtext/text_edits.h"
#include "setup/background_task.h"
#include "setup/country_code_step.h"
#include "setup/output_file.h"
#include "setup/rule_stage.h"
#include "setup/run_edits.h"
#include "setup/run_report.h"

void localizePPD(TextEdits& edits, ppd_file_t* ppd, UStringView country) {
  applyRuleStage(edits, ppd, country);
  applyCountryCodeStep(edits, ppd, country);
}

void localizePPDText(UString& text, ppd_file_t* ppd, UStringView country) {
  TextEdits edits(text);
  localizePPD(edits, ppd, country);
  edits.ApplyTo(text);
}

namespace {

using Writer = std::function<bool(FILE*)>;

int Failed(FILE* err, const std::string& what, const std::string& reason) {
  std::fprintf(err, "ppd-localize: %s: %s\n", what.c_str(), reason.c_str());
  return kRunFailed;
}

// Writes the result to `out`, or in place of the file options.output names.
int Deliver(const Writer& write, const RunOptions& options, FILE* out, FILE* err) {
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
  const CountryChoice country =
      options.country ? CountryChoice{StringFromASCII(*options.country), "--country"} : CurrentCountryChoice();
  std::string reason;
  std::optional<PPDBytes> bytes = ReadPPDBytes(path, &reason);
  if (!bytes) return Failed(err, input, reason);

  // libcups reads the very bytes that are edited (one read, one content).
  // Meanwhile, on a thread of its own, they are decoded, the text is scanned
  // for every edit the run may make, and the rule stage is tried out for each
  // printer it may turn out to be.
  std::optional<PPDText> text;
  std::optional<RunEdits> ahead;
  BackgroundTask decode([&] {
    text = DecodePPDBytes(*bytes, &reason);
    if (text) ahead.emplace(text->text, country.code);
  });
  PPDRead read = PPDReadDescriptor(bytes->fd());
  decode.Wait();
  if (!text) return Failed(err, input, reason);
  if (!read.error.empty()) return Failed(err, input, read.error);

  RunReport report(input);
  std::optional<TextEdits> edits;
  if (!read.ppd) {
    std::fprintf(err, "ppd-localize: %s: warning: libcups cannot read it as a PPD (%s, line %d); passed on unedited\n",
                 input.c_str(), ppdErrorString(read.status), read.line);
    edits.emplace(ahead->Unedited());
  } else {
    determineModel(read.ppd.get());
    if (options.report) report.Before(read.ppd.get(), text->text, country, RulePapers(country.code));
    edits.emplace(ahead->Finish(read.ppd.get()));
    read.ppd.reset();
  }
  if (options.report) {
    // The report reads the edited text itself.
    edits->ApplyTo(text->text);
    edits.reset();
    const int status = Deliver([&](FILE* to) { return CFStringOutputPPD(text->text, to, text->encoding); },
                               options, out, err);
    if (status == kRunOk) report.Print(*text, err);
    return status;
  }
  return Deliver([&](FILE* to) { return OutputEditedPPD(*edits, *bytes, text->encoding, to); }, options, out, err);
}
