#include "setup/country_code_step.h"

#include <optional>

#include "policy/region_predicates.h"
#include "ppdtext/default_rewrite.h"

void applyCountryCodeStep(TextEdits& edits, ppd_file_t* ppd, UStringView country) {
  std::optional<UStringView> recorded;
  if (shouldChangeDefaultCountryCode(ppd, country, &recorded) && recorded) {
    ChangeGeneralInformation(edits, u"ISOCountryCode", *recorded);
  }
}
