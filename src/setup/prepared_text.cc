#include "setup/prepared_text.h"

#include "setup/rule_stage.h"

namespace {

// The bytes held and the text together stay under this many times the
// bytes' size. The bytes wait in memory until libcups has read them, and
// the text (two bytes a character) would be whole long before: both whole
// would be three times the size. Paced so, the decoding is done when
// libcups has read three fifths of the bytes, and the scan ahead and the
// rules, which take about a sixth of the parse, run while it reads the rest.
constexpr double kAhead = 2.4;
// The decoding may always be this far ahead of libcups (for small files,
// whose memory does not matter, no waiting at all).
constexpr size_t kAlways = size_t{1} << 18;

}  // namespace

PreparedText PrepareText(PPDBytes& bytes, const RuleSet& rules, UStringView country, std::stop_token stop) {
  PreparedText prepared;
  const DecodePace pace{kAhead, kAlways, stop};
  std::optional<PPDText> text = DecodePPDBytes(bytes, &prepared.error, &pace);
  if (text) {
    prepared.text = std::make_unique<PPDText>(std::move(*text));
    prepared.edits.emplace(prepared.text->text);
    ScanAheadForRules(rules, *prepared.edits, country);
    prepared.guess = GuessPrinterFromText(prepared.text->text, rules.UsesNames());
    prepared.ruled.emplace(*prepared.edits);
    prepared.trace = ApplyRules(rules, *prepared.ruled, prepared.guess, country);
  }
  return prepared;
}

LocalizedText LocalizePrepared(PreparedText& prepared, const RuleSet& rules, const PrinterRecord& printer,
                               UStringView country) {
  if (SameForRules(rules, prepared.guess, printer)) return {std::move(*prepared.ruled), std::move(prepared.trace)};
  TextEdits edits = std::move(*prepared.edits);
  RuleTrace trace = ApplyRules(rules, edits, printer, country);
  return {std::move(edits), std::move(trace)};
}
