#include "setup/rule_table.h"

#include <algorithm>

const RuleRow* FindRuleRow(std::span<const RuleRow> rows, int32_t modelNumber, UStringView country) {
  for (const RuleRow& row : rows) {
    if (modelNumber < row.modelMin || modelNumber > row.modelMax) continue;
    const std::span<const UStringView> codes = row.countries.view();
    if (codes.empty() || std::find(codes.begin(), codes.end(), country) != codes.end()) return &row;
  }
  return nullptr;
}
