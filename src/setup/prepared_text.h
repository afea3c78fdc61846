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
#include "ppdio/ppd_load.h"
#include "ppdtext/text_edits.h"
#include "ppdtext/ustring.h"

struct PreparedText {
  std::unique_ptr<PPDText> text;   // null when the bytes do not decode; stays put, as `edits` view it
  std::optional<TextEdits> edits;  // none made yet, the scan made ahead
  std::string error;               // why there is no text
};

// Decodes `bytes`, paced by libcups reading them through their descriptor
// so that the bytes and the text are never both whole in memory (`stop` is
// requested once libcups is done), and prepares the text's edits for a run
// in `country`.
PreparedText PrepareText(PPDBytes& bytes, UStringView country, std::stop_token stop);

#endif  // PPDLOCALIZE_SETUP_PREPARED_TEXT_H_
