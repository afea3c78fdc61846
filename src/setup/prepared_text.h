// What a run prepares while libcups parses the PPD: the text, decoded from
// the very bytes libcups reads, indexed and scanned for every edit a run in
// the country may make, whatever the printer turns out to be.
#ifndef PPDLOCALIZE_SETUP_PREPARED_TEXT_H_
#define PPDLOCALIZE_SETUP_PREPARED_TEXT_H_

#include <memory>
#include <optional>
#include <stop_token>
#include <string>

#include "ppdio/ppd_bytes.h"
#include "policy/model_info.h"
#include "ppdio/ppd_load.h"
#include "ppdtext/text_edits.h"
#include "ppdtext/ustring.h"

struct PreparedText {
  std::unique_ptr<PPDText> text;   // null when the bytes do not decode; stays put, as the edits view it
  std::optional<TextEdits> edits;  // none made yet, the scan made ahead
  ModelInfo guess{-1, -1};         // the printer as the text describes it (GuessModelFromText)
  std::optional<TextEdits> ruled;  // `edits` after the rule stage for `guess`
  std::string error;               // why there is no text
};

// Decodes `bytes`, paced by libcups reading them through their descriptor
// so that the bytes and the text are never both whole in memory (`stop` is
// requested once libcups is done), prepares the text's edits for a run in
// `country`, and makes the rule stage for the printer the text describes:
// after the parse the run takes those edits when determineModel finds that
// very printer, and makes the rule stage then otherwise.
PreparedText PrepareText(PPDBytes& bytes, UStringView country, std::stop_token stop);

// The run's edits of prepared.text once determineModel has classified `ppd`
// in gModelInfo: the rule stage made ahead when it was made for that very
// printer, else made now on the scan made ahead; then the country-code step.
// Exactly localizePPD's edits (setup_ppd.h).
TextEdits LocalizePrepared(PreparedText& prepared, ppd_file_t* ppd, UStringView country);

#endif  // PPDLOCALIZE_SETUP_PREPARED_TEXT_H_
