// Applying rules (rule_set.h) to a PPD's text: in each table, the first
// row that matches the printer and the country makes its edits.
#ifndef PPDLOCALIZE_SETUP_RULE_STAGE_H_
#define PPDLOCALIZE_SETUP_RULE_STAGE_H_

#include <cups/ppd.h>

#include <vector>

#include "policy/printer_record.h"
#include "ppdtext/text_edits.h"
#include "ppdtext/ustring.h"
#include "setup/rule_set.h"

// What one action of a row did, for the report.
struct RuleEffect {
  const RuleRow* row;
  const RuleAction* action;
  enum Outcome {
    kDone,         // made its edits (for RemovePaper, whatever the PPD offered)
    kNotOffered,   // SetDefault: the PPD does not offer the choice
    kNoStatement,  // SetDefault, RecordCountry: the PPD has no statement to rewrite
  } outcome;
};
using RuleTrace = std::vector<RuleEffect>;

// Applies `rules` for `printer` in `country` (the empty code for none) to
// `edits`, table by table, and answers what each action did.
RuleTrace ApplyRules(const RuleSet& rules, TextEdits& edits, const PrinterRecord& printer, UStringView country);

// The built-in rules for gModelInfo's printer and `ppd` (which may be null:
// no names then) in `country`.
void applyRuleStage(TextEdits& edits, ppd_file_t* ppd, UStringView country);

// Scans the text ahead (TextEdits::ScanAhead) for every paper deletion and
// every rewrite that `rules` can make in `country`, whatever the printer:
// for work done while libcups still reads the PPD.
void ScanAheadForRules(const RuleSet& rules, TextEdits& edits, UStringView country);

#endif  // PPDLOCALIZE_SETUP_RULE_STAGE_H_
