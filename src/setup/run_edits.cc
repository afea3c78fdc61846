#include "setup/run_edits.h"

#include <algorithm>

#include "policy/model_info.h"
#include "setup/country_code_step.h"

namespace {

// The kinds determineModel tells printers apart by.
constexpr int32_t kClassifiedKinds[] = {MonoLaser, ColorLaser};

}  // namespace

RunEdits::RunEdits(UStringView text, UStringView country) : country_(country), edits_(text) {
  ScanAheadForRun(edits_, country_);
  for (const ModelInfo& printer : RuleStagePrinters(kClassifiedKinds, country_)) {
    TextEdits trial(edits_);
    applyRuleStageFor(trial, printer, country_);
    tried_.emplace_back(RuleStageKeyOf(printer, country_), std::move(trial));
  }
}

TextEdits RunEdits::Finish(ppd_file_t* ppd) {
  const RuleStageKey key = RuleStageKeyOf(gModelInfo, country_);
  const auto same = std::find_if(tried_.begin(), tried_.end(), [&](const auto& t) { return t.first == key; });
  TextEdits edits = same != tried_.end() ? std::move(same->second) : edits_;
  if (same == tried_.end()) applyRuleStage(edits, ppd, country_);
  applyCountryCodeStep(edits, ppd, country_);
  return edits;
}
