// What a run prepares while libcups parses the PPD: the text, decoded from
// the very bytes libcups reads, indexed and scanned for every edit the rules
// may make in the country, and the rules applied for the printer the text
// describes.
#ifndef PPDLOCALIZE_SETUP_PREPARED_TEXT_H_
#define PPDLOCALIZE_SETUP_PREPARED_TEXT_H_

#include <memory>
#include <optional>
#include <stop_token>
#include <string>

#include "policy/printer_record.h"
#include "ppdio/ppd_bytes.h"
#include "ppdio/ppd_load.h"
#include "ppdtext/text_edits.h"
#include "ppdtext/ustring.h"
#include "setup/rule_set.h"
#include "setup/rule_stage.h"

struct PreparedText {
  std::unique_ptr<PPDText> text;   // null when the bytes do not decode; stays put, as the edits view it
  std::optional<TextEdits> edits;  // none made yet, the scan made ahead
  PrinterRecord guess;             // the printer as the text describes it (GuessPrinterFromText)
  std::optional<TextEdits> ruled;  // `edits` with the rules applied for `guess`
  RuleTrace trace;                 // what they did
  std::string error;               // why there is no text
};

// Decodes `bytes`, paced by libcups reading them through their descriptor
// so that the bytes and the text are never both whole in memory (`stop` is
// requested once libcups is done), prepares the text's edits for `rules` in
// `country`, and applies the rules for the printer the text describes:
// after the parse the run takes those edits when libcups finds that very
// printer, as far as the rules can tell, and applies the rules then
// otherwise. `rules` must outlive the answer.
PreparedText PrepareText(PPDBytes& bytes, const RuleSet& rules, UStringView country, std::stop_token stop);

// The edits and what the rules did, for the printer libcups found.
struct LocalizedText {
  TextEdits edits;
  RuleTrace trace;
};

// The rules' edits of prepared.text for `printer`: those made ahead when
// the guess was that printer as far as the rules can tell, else made now on
// the scan made ahead. Exactly ApplyRules' edits on a fresh TextEdits.
LocalizedText LocalizePrepared(PreparedText& prepared, const RuleSet& rules, const PrinterRecord& printer,
                               UStringView country);

#endif  // PPDLOCALIZE_SETUP_PREPARED_TEXT_H_
