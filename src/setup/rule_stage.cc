#include "setup/rule_stage.h"

void applyRuleStage(UString& /*text*/, ppd_file_t* /*ppd*/, UStringView /*country*/) {
  // The laser and ink rule tables plug in here.
}
