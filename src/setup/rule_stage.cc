#include "setup/rule_stage.h"

#include <algorithm>

#include "policy/model_info.h"
#include "ppdtext/option_deletion.h"
#include "ppdtext/line_deletion.h"
#include "setup/ink_rules.h"
#include "setup/laser_rules.h"
#include "setup/paper_rule.h"

namespace {

struct KindRules {
  int32_t kind;
  std::span<const RuleRow> (*rows)();
  bool duplexRule;  // the monochrome energy-saving duplex default follows the papers
};

constexpr KindRules kRuleTables[] = {
    {ColorLaser, colorLaserRules, false},
    {MonoLaser, monoLaserRules, true},
    {Ink, inkRules, false},
    {SInk, sInkRules, false},
};

void applyRow(TextEdits& edits, const RuleRow& row, UStringView country) {
  switch (row.action) {
    case RuleAction::kNothing:
      return;
    case RuleAction::kDeletePapers:
      deleteRulePapers(edits, row.papers.view());
      return;
    case RuleAction::kDeleteEnvelopeLines:
      DeleteEnvelopes(edits, envelopesToDelete(country));
      return;
  }
}

const KindRules* TableOfKind(int32_t kind) {
  for (const KindRules& table : kRuleTables) {
    if (table.kind == kind) return &table;
  }
  return nullptr;
}

}  // namespace

void applyRuleStage(TextEdits& edits, ppd_file_t* /*ppd*/, UStringView country) {
  applyRuleStageFor(edits, gModelInfo, country);
}

void applyRuleStageFor(TextEdits& edits, const ModelInfo& model, UStringView country) {
  const KindRules* table = TableOfKind(model.kind);
  if (table == nullptr) return;
  if (const RuleRow* row = FindRuleRow(table->rows(), model.modelNumber, country)) applyRow(edits, *row, country);
  if (table->duplexRule) applyMonoLaserDuplexRule(edits, model.modelNumber, country);
}

RuleStageKey RuleStageKeyOf(const ModelInfo& model, UStringView country) {
  const KindRules* table = TableOfKind(model.kind);
  if (table == nullptr) return {nullptr, nullptr, false};
  return {table, FindRuleRow(table->rows(), model.modelNumber, country),
          table->duplexRule && monoLaserDuplexRuleApplies(model.modelNumber, country)};
}

std::vector<ModelInfo> RuleStagePrinters(std::span<const int32_t> kinds, UStringView country) {
  // Keys change only where a row's range or the duplex rule's models begin or
  // end; one model from each stretch between those points meets every key.
  std::vector<int32_t> starts = {kAnyModelMin};
  for (const int32_t model : kEnergySavingDuplexModels) starts.insert(starts.end(), {model, model + 1});
  for (const KindRules& table : kRuleTables) {
    for (const RuleRow& row : table.rows()) {
      starts.push_back(row.modelMin);
      if (row.modelMax < kAnyModelMax) starts.push_back(row.modelMax + 1);
    }
  }
  std::vector<ModelInfo> printers;
  std::vector<RuleStageKey> keys;
  for (const int32_t kind : kinds) {
    for (const int32_t model : starts) {
      const RuleStageKey key = RuleStageKeyOf({kind, model}, country);
      if (std::find(keys.begin(), keys.end(), key) != keys.end()) continue;
      keys.push_back(key);
      printers.push_back({kind, model});
    }
  }
  return printers;
}

std::vector<UString> RulePapers(UStringView country) {
  const KindRules* table = TableOfKind(gModelInfo.kind);
  const RuleRow* row = table != nullptr ? FindRuleRow(table->rows(), gModelInfo.modelNumber, country) : nullptr;
  if (row == nullptr || row->action == RuleAction::kNothing) return {};
  if (row->action == RuleAction::kDeleteEnvelopeLines) return envelopesToDelete(country);
  const std::span<const UStringView> papers = row->papers.view();
  return std::vector<UString>(papers.begin(), papers.end());
}

void ScanAheadForRun(TextEdits& edits, UStringView country) {
  std::vector<UStringView> papers;
  for (const KindRules& table : kRuleTables) {
    for (const RuleRow& row : table.rows()) {
      const std::span<const UStringView> countries = row.countries.view();
      if (row.action != RuleAction::kDeletePapers ||
          (!countries.empty() && std::find(countries.begin(), countries.end(), country) == countries.end())) {
        continue;
      }
      for (const UStringView paper : row.papers.view()) {
        if (std::find(papers.begin(), papers.end(), paper) == papers.end()) papers.push_back(paper);
      }
    }
  }
  ScanAheadForPaperSizes(edits, papers, kRewrittenHeads);
}
