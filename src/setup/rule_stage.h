// The rule stage: deletes the paper sizes that the model must not offer in the
// user's country, and for some models switches the duplex default.
#ifndef PPDLOCALIZE_SETUP_RULE_STAGE_H_
#define PPDLOCALIZE_SETUP_RULE_STAGE_H_

#include <cups/ppd.h>

#include <vector>

#include "ppdtext/text_edits.h"
#include "policy/model_info.h"
#include "ppdtext/ustring.h"
#include "setup/rule_table.h"

// Runs the rules of gModelInfo's kind on `text`; a kind without rules leaves
// the text unchanged.
void applyRuleStage(TextEdits& edits, ppd_file_t* ppd, UStringView country);

// The same for the printer `model` instead of gModelInfo: the rule stage
// depends on nothing else but the country.
void applyRuleStageFor(TextEdits& edits, const ModelInfo& model, UStringView country);

// The heads of the statements a run may rewrite: the duplex default and the
// country code, each also in its vendor form.
inline constexpr UStringView kRewrittenHeads[] = {u"*DefaultDuplex:", u"*DefaultQZDuplex:", u"*ISOCountryCode:",
                                                  u"*DefaultQZISOCountryCode:"};

// Scans the text ahead (TextEdits::ScanAhead) for every paper deletion and
// rewrite that a run in `country` can make, whatever the printer: for work
// done while libcups still reads the PPD.
void ScanAheadForRun(TextEdits& edits, UStringView country);

// The paper names that the rule stage deletes for gModelInfo in `country`,
// in order (for a row that deletes by line, its envelopes).
std::vector<UString> RulePapers(UStringView country);

#endif  // PPDLOCALIZE_SETUP_RULE_STAGE_H_
