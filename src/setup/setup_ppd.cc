#include "setup/setup_ppd.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <functional>
#include <future>
#include <memory>
#include <utility>
#include <vector>

#include "policy/model_info.h"
#include "ppdio/output_file.h"
#include "ppdio/ppd_bytes.h"
#include "ppdio/ppd_file.h"
#include "ppdio/ppd_load.h"
#include "ppdio/ppd_output.h"
#include "ppdtext/text_edits.h"
#include "setup/background_task.h"
#include "setup/prepared_text.h"
#include "setup/rule_stage.h"
#include "setup/run_report.h"

void localizePPD(TextEdits& edits, ppd_file_t* ppd, UStringView country) { applyRuleStage(edits, ppd, country); }

void localizePPDText(UString& text, ppd_file_t* ppd, UStringView country) {
  TextEdits edits(text);
  localizePPD(edits, ppd, country);
  edits.ApplyTo(text);
}

namespace {

// Writes the result, followed by the newline the destination takes.
using Writer = std::function<bool(FILE*, FinalNewline)>;

int Failed(FILE* err, const std::string& what, const std::string& reason) {
  std::fprintf(err, "ppd-localize: %s: %s\n", what.c_str(), reason.c_str());
  return kRunFailed;
}

// Writes the result to `out`, or in place of the file options.output names.
// The file gets no newline after a text that ends a line already, so that a
// run on its own result leaves the file as it is.
int Deliver(const Writer& write, const RunOptions& options, FILE* out, FILE* err) {
  std::string error;
  if (!options.output.empty()) {
    const auto fill = [&](FILE* to) { return write(to, FinalNewline::kUnlessAtLineEnd); };
    if (ReplaceFileAtomically(options.output, fill, &error)) return kRunOk;
    std::fprintf(err, "ppd-localize: %s\n", error.c_str());
    return kRunFailed;
  }
  errno = 0;
  if (write(out, FinalNewline::kAlways)) return kRunOk;
  return Failed(err, "standard output", std::string("cannot write the output: ") +
                                            (errno != 0 ? std::strerror(errno) : "write error"));
}

}  // namespace

namespace {

bool IsRegularFile(const char* path) {
  struct stat info;
  return path != nullptr && std::strcmp(path, "-") != 0 && stat(path, &info) == 0 && S_ISREG(info.st_mode);
}

// The rules of options.rules_files, or why they cannot be read.
struct LoadedRules {
  std::unique_ptr<RuleSet> rules;  // stays put: the edits and the trace point into it
  std::string error;
};

LoadedRules LoadRulesFiles(const std::vector<std::string>& files) {
  LoadedRules loaded;
  std::optional<RuleSet> rules = LoadRules(files, &loaded.error);
  if (rules) loaded.rules = std::make_unique<RuleSet>(std::move(*rules));
  return loaded;
}

int RulesFailed(FILE* err, const std::string& error) {
  std::fprintf(err, "ppd-localize: %s\n", error.c_str());
  return kRunUsage;
}

struct Helped {
  LoadedRules loaded;  // the rules files read, as the helper got them
  PreparedText prepared;
};

}  // namespace

int setupPPD(const char* path, const RunOptions& options, FILE* out, FILE* err) {
  const std::string input = PPDInputName(path);
  const CountryChoice country =
      options.country ? CountryChoice{StringFromASCII(*options.country), "--country"} : CurrentCountryChoice();

  // The helper starts at once. It reads the rules files, when given, while
  // this thread reads a PPD file (a file read has no effect, and rules that
  // cannot be read stop the run all the same, before anything of the PPD is
  // used; a PPD from a pipe or standard input is not touched until they are
  // read, here), then waits for the PPD's bytes. libcups reads the very bytes
  // that are edited (one read, one content), through a descriptor of its
  // own; meanwhile the helper decodes them and prepares the edits. The text
  // exists for this thread only once the helper hands it back, after the
  // parse.
  LoadedRules loaded;
  const bool read_ahead = !options.rules_files.empty() && IsRegularFile(path);
  if (!options.rules_files.empty() && !read_ahead && !(loaded = LoadRulesFiles(options.rules_files)).rules) {
    return RulesFailed(err, loaded.error);
  }
  const RuleSet* given = loaded.rules ? loaded.rules.get() : options.rules;
  std::optional<PPDBytes> bytes;  // outlives the helper, which reads it
  std::promise<PPDBytes*> handed;
  BackgroundTask<Helped> helper([ready = handed.get_future().share(), given, read_ahead, &files = options.rules_files,
                                 code = country.code](std::stop_token stop) {
    Helped helped;
    const RuleSet* rules = given != nullptr ? given : &BuiltinRules();
    if (read_ahead) {
      helped.loaded = LoadRulesFiles(files);
      if (!helped.loaded.rules) return helped;
      rules = helped.loaded.rules.get();
    }
    PPDBytes* to_prepare = ready.get();  // null: the PPD cannot be read
    if (to_prepare != nullptr) helped.prepared = PrepareText(*to_prepare, *rules, code, stop);
    return helped;
  });
  // Declared after the helper, so destroyed before it: a throw from here on
  // breaks the promise and lets the helper end.
  std::promise<PPDBytes*> hand = std::move(handed);
  std::string reason;
  if (std::optional<PPDBytes> read_bytes = ReadPPDBytes(path, &reason)) bytes.emplace(std::move(*read_bytes));
  hand.set_value(bytes ? &*bytes : nullptr);
  if (!bytes) {
    Helped helped = helper.Get();
    if (read_ahead && !helped.loaded.rules) return RulesFailed(err, helped.loaded.error);
    return Failed(err, input, reason + options.load_hint);
  }

  PPDRead read = PPDReadDescriptor(bytes->fd());
  Helped helped = helper.Get();
  bytes.reset();  // the text holds everything now
  if (read_ahead && !helped.loaded.rules) return RulesFailed(err, helped.loaded.error);
  if (helped.loaded.rules) loaded = std::move(helped.loaded);
  const RuleSet& rules = loaded.rules ? *loaded.rules : options.rules != nullptr ? *options.rules : BuiltinRules();
  PreparedText& prepared = helped.prepared;
  if (!prepared.text) return Failed(err, input, prepared.error);
  if (!read.error.empty()) return Failed(err, input, read.error);

  PPDText& text = *prepared.text;
  RunReport report(input);
  if (!read.ppd) {
    // A file is not replaced by what CUPS cannot use either.
    const std::string fate = options.output.empty() ? "passed on unedited" : options.output + " left as it was";
    std::fprintf(err, "ppd-localize: %s: warning: libcups cannot read it as a PPD (%s, line %d); %s\n",
                 input.c_str(), ppdErrorString(read.status), read.line, fate.c_str());
    if (!options.output.empty()) {
      if (options.report) report.PrintUnread(options.output, err);
      return kRunOk;
    }
  } else {
    determineModel(read.ppd.get());
    LocalizedText localized =
        LocalizePrepared(prepared, rules, PrinterRecordOf(read.ppd.get(), gModelInfo), country.code);
    if (options.report) report.Before(read.ppd.get(), text.text, country, rules, localized.trace);
    prepared.edits = std::move(localized.edits);
    read.ppd.reset();
  }
  TextEdits& edits = *prepared.edits;
  if (options.report) {
    // The report reads the edited text itself.
    edits.ApplyTo(text.text);
    prepared.edits.reset();
    const int status = Deliver(
        [&](FILE* to, FinalNewline newline) { return CFStringOutputPPD(text.text, to, text.encoding, newline); },
        options, out, err);
    if (status == kRunOk) report.Print(text, err);
    return status;
  }
  return Deliver(
      [&](FILE* to, FinalNewline newline) { return OutputEditedPPD(edits, to, text.encoding, newline); },
      options, out, err);
}
