// The country-code step: records the user's country in `*ISOCountryCode`.
#ifndef PPDLOCALIZE_SETUP_COUNTRY_CODE_STEP_H_
#define PPDLOCALIZE_SETUP_COUNTRY_CODE_STEP_H_

#include <cups/ppd.h>

#include "ppdtext/text_edits.h"
#include "ppdtext/ustring.h"

// For every country but Japan, the `*ISOCountryCode` statement becomes
// `*ISOCountryCode: "<country>"` (also for the empty code); a PPD without
// one gains none.
void applyCountryCodeStep(TextEdits& edits, ppd_file_t* ppd, UStringView country);

#endif  // PPDLOCALIZE_SETUP_COUNTRY_CODE_STEP_H_
