// One run of the tool: load, open, classify, localise, write.
#ifndef PPDLOCALIZE_SETUP_SETUP_PPD_H_
#define PPDLOCALIZE_SETUP_SETUP_PPD_H_

#include <cups/ppd.h>

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "ppdtext/text_edits.h"
#include "ppdtext/ustring.h"
#include "setup/rule_set.h"

// Exit statuses of a run.
enum RunStatus : int {
  kRunOk = 0,
  kRunFailed = 1,  // the PPD could not be loaded, or the output not written
  kRunUsage = 2,
};

struct RunOptions {
  std::optional<std::string> country;  // the country instead of the locale's ("" for none)
  std::string output;                  // a file to replace atomically instead of writing `out`
  bool report = false;                 // a summary of the run on `err` (run_report.h)
  std::string load_hint;               // added to the message when the PPD cannot be loaded
  const RuleSet* rules = nullptr;      // the rules instead of the built-in ones
  std::vector<std::string> rules_files;  // or the rules of these files (LoadRules)
};

// The edits of a run on an opened, classified PPD: the built-in rules for
// gModelInfo's printer and `ppd` (null: no names), table by table.
// `country` is the user's country code, or empty.
void localizePPDText(UString& text, ppd_file_t* ppd, UStringView country);

// The same edits, recorded on `edits` (text_edits.h).
void localizePPD(TextEdits& edits, ppd_file_t* ppd, UStringView country);

// One run on the PPD at `path` ("-" for standard input). On success the
// edited text goes to `out`, followed by a newline, or replaces the file
// options.output names, followed by a newline unless it ends with a line end
// already; the answer is kRunOk. A PPD that cannot be loaded, or a result
// that cannot be written, writes one line to `err` naming the input or
// output and the reason, nothing to `out`, and answers kRunFailed. A file
// that libcups rejects is passed on unedited to `out`, or leaves
// options.output as it was, with a warning line on `err`, and answers
// kRunOk. Rules files that cannot be read write one line to `err`, "FILE:LINE:
// what is wrong" or "PATH: reason", nothing to `out`, and answer kRunUsage,
// whatever the PPD.
int setupPPD(const char* path, const RunOptions& options = {}, FILE* out = stdout, FILE* err = stderr);

#endif  // PPDLOCALIZE_SETUP_SETUP_PPD_H_
