#include "setup/prepared_text.h"

#include "setup/country_code_step.h"
#include "setup/rule_stage.h"

namespace {

// The bytes held and the text together stay under this many times the
// bytes' size. The bytes wait in memory until libcups has read them, and
// the text (two bytes a character) would be whole long before: both whole
// would be three times the size. Paced so, the decoding is done when
// libcups has read three fifths of the bytes, and the scan ahead, which
// takes about a seventh of the parse, runs while it reads the rest.
constexpr double kAhead = 2.4;
// The decoding may always be this far ahead of libcups (for small files,
// whose memory does not matter, no waiting at all).
constexpr size_t kAlways = size_t{1} << 18;

}  // namespace

PreparedText PrepareText(PPDBytes& bytes, UStringView country, std::stop_token stop) {
  PreparedText prepared;
  const DecodePace pace{kAhead, kAlways, stop};
  std::optional<PPDText> text = DecodePPDBytes(bytes, &prepared.error, &pace);
  if (text) {
    prepared.text = std::make_unique<PPDText>(std::move(*text));
    prepared.edits.emplace(prepared.text->text);
    ScanAheadForRun(*prepared.edits, country);
    prepared.guess = GuessModelFromText(prepared.text->text);
    prepared.ruled.emplace(*prepared.edits);
    applyRuleStageFor(*prepared.ruled, prepared.guess, country);
  }
  return prepared;
}

TextEdits LocalizePrepared(PreparedText& prepared, ppd_file_t* ppd, UStringView country) {
  TextEdits edits = gModelInfo == prepared.guess ? std::move(*prepared.ruled) : std::move(*prepared.edits);
  if (gModelInfo != prepared.guess) applyRuleStage(edits, ppd, country);
  applyCountryCodeStep(edits, ppd, country);
  return edits;
}
