// The edits of a run, made in two halves: first what needs only the text and
// the country, while libcups still reads the PPD; then, once the printer is
// known, the rest. The result is exactly localizePPD's.
#ifndef PPDLOCALIZE_SETUP_RUN_EDITS_H_
#define PPDLOCALIZE_SETUP_RUN_EDITS_H_

#include <cups/ppd.h>

#include <utility>
#include <vector>

#include "ppdtext/text_edits.h"
#include "ppdtext/ustring.h"
#include "setup/rule_stage.h"

class RunEdits {
 public:
  // Indexes and scans `text` for every edit a run in `country` may make, and
  // tries the rule stage out for every printer that determineModel can
  // tell apart. `text` and `country` must outlive this object.
  RunEdits(UStringView text, UStringView country);

  // The run's edits for `ppd`, classified in gModelInfo: the rule stage as
  // tried out for a printer with the same key (or run now for any other
  // printer), then the country-code step.
  TextEdits Finish(ppd_file_t* ppd);

  // Nothing edited, for a PPD that libcups cannot read.
  const TextEdits& Unedited() const { return edits_; }

 private:
  UStringView country_;
  TextEdits edits_;
  std::vector<std::pair<RuleStageKey, TextEdits>> tried_;
};

#endif  // PPDLOCALIZE_SETUP_RUN_EDITS_H_
