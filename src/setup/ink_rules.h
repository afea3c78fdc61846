// Paper-pruning rules of the ink printers.
#ifndef PPDLOCALIZE_SETUP_INK_RULES_H_
#define PPDLOCALIZE_SETUP_INK_RULES_H_

#include <span>
#include <vector>

#include "setup/rule_table.h"

std::span<const RuleRow> inkRules();
std::span<const RuleRow> sInkRules();

// The envelopes that a kDeleteEnvelopeLines row removes by line: the
// Japanese ones outside Japan, the western ones in Japan.
std::vector<UString> envelopesToDelete(UStringView country);

#endif  // PPDLOCALIZE_SETUP_INK_RULES_H_
