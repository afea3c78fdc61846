// One run of the tool: load, open, classify, localise, print.
#ifndef PPDLOCALIZE_SETUP_SETUP_PPD_H_
#define PPDLOCALIZE_SETUP_SETUP_PPD_H_

#include <cups/ppd.h>

#include <cstdio>

#include "ppdtext/ustring.h"

// Exit statuses of a run.
enum RunStatus : int {
  kRunOk = 0,
  kRunFailed = 1,  // the PPD could not be loaded, or the output not written
  kRunUsage = 2,
};

// The edits of a run on an opened, classified PPD: the rule stage for
// gModelInfo's kind, then the country-code step. `country` is the user's
// country code, or empty.
void localizePPDText(UString& text, ppd_file_t* ppd, UStringView country);

// One run on the PPD file at `path`. On success the edited text goes to `out`
// (followed by a newline) and the answer is kRunOk. A file that cannot be
// loaded writes one line to `err` naming the path and the reason, nothing to
// `out`, and answers kRunFailed. A file that libcups rejects is printed
// unedited, with a warning line on `err`, and answers kRunOk.
int setupPPD(const char* path, FILE* out = stdout, FILE* err = stderr);

#endif  // PPDLOCALIZE_SETUP_SETUP_PPD_H_
