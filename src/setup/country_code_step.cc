#include "setup/country_code_step.h"

void applyCountryCodeStep(UString& /*text*/, ppd_file_t* /*ppd*/, UStringView /*country*/) {
  // The `*ISOCountryCode` rewrite plugs in here.
}
