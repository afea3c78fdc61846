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
