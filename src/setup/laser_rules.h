// Paper-pruning rules of the laser printers, and the duplex rule of the
// energy-saving monochrome models.
#ifndef PPDLOCALIZE_SETUP_LASER_RULES_H_
#define PPDLOCALIZE_SETUP_LASER_RULES_H_

#include <span>

#include "ppdtext/text_edits.h"
#include "setup/rule_table.h"

std::span<const RuleRow> colorLaserRules();
std::span<const RuleRow> monoLaserRules();

// Monochrome models 12 and 13 print two-sided along the long edge by default,
// except where shouldChangeDuplexDefaultEnergyStar says otherwise.
void applyMonoLaserDuplexRule(TextEdits& edits, int32_t modelNumber, UStringView country);

#endif  // PPDLOCALIZE_SETUP_LASER_RULES_H_
