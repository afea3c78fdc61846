#include "setup/rule_stage.h"

#include "policy/model_info.h"
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

void applyRow(UString& text, const RuleRow& row, UStringView country) {
  switch (row.action) {
    case RuleAction::kNothing:
      return;
    case RuleAction::kDeletePapers:
      deleteRulePapers(text, row.papers.view());
      return;
    case RuleAction::kDeleteEnvelopeLines:
      QZCFStringDeleteEnvelpes(text, envelopesToDelete(country));
      return;
  }
}

const KindRules* TableOfKind() {
  for (const KindRules& table : kRuleTables) {
    if (table.kind == gModelInfo.kind) return &table;
  }
  return nullptr;
}

}  // namespace

void applyRuleStage(UString& text, ppd_file_t* /*ppd*/, UStringView country) {
  const KindRules* table = TableOfKind();
  if (table == nullptr) return;
  if (const RuleRow* row = FindRuleRow(table->rows(), gModelInfo.modelNumber, country)) applyRow(text, *row, country);
  if (table->duplexRule) applyMonoLaserDuplexRule(text, gModelInfo.modelNumber, country);
}

std::vector<UString> RulePapers(UStringView country) {
  const KindRules* table = TableOfKind();
  const RuleRow* row = table != nullptr ? FindRuleRow(table->rows(), gModelInfo.modelNumber, country) : nullptr;
  if (row == nullptr || row->action == RuleAction::kNothing) return {};
  if (row->action == RuleAction::kDeleteEnvelopeLines) return envelopesToDelete(country);
  const std::span<const UStringView> papers = row->papers.view();
  return std::vector<UString>(papers.begin(), papers.end());
}
