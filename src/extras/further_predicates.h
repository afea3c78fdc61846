// Policy predicates that the setup run does not call: print presets, media
// type, postcards, bond papers, the duplex default in 35 countries, and the
// short-grain papers of a PPD.
//
// Country and language codes compare by exact, case-sensitive equality of the
// whole string. The predicates read gModelInfo (model_info.h), never write
// it, and compare its model number as a signed 32-bit integer, so an
// unclassified -1 is below every positive bound.
#ifndef PPDLOCALIZE_EXTRAS_FURTHER_PREDICATES_H_
#define PPDLOCALIZE_EXTRAS_FURTHER_PREDICATES_H_

#include <cups/ppd.h>

#include <vector>

#include "ppdtext/ustring.h"

// True when a print preset is to be added: the country is "JP", the kind is
// Ink, and no `*APPrinterPreset` attribute of `ppd` has an option keyword
// (the word after the main keyword) that begins with "Fine" in any letter
// case; an option keyword shorter than four characters never does. A PPD
// without presets, or a null `ppd`, counts as having none.
bool shouldAddPreset(ppd_file_t* ppd, UStringView country);

// True when the default media type is to change for `language`:
//   "ja": MonoLaser or ColorLaser, any model number;
//   "zh": ColorLaser with model number 2 or less, or MonoLaser with any model
//         number but 4 and 5;
//   every other language, and every other kind: false.
// `ppd` is not consulted.
bool shouldChangeDefaultMediaType(ppd_file_t* ppd, UStringView language);

// True when postcard sizes are to be deleted: never in "JP"; elsewhere (the
// empty code included) for a ColorLaser with model number 3 or more and for
// a MonoLaser with model number 5 or more. `ppd` is not consulted.
bool shouldDeletePostcard(ppd_file_t* ppd, UStringView country);

// Bond papers are never deleted: false for every input.
bool shouldDeleteBond(ppd_file_t* ppd, UStringView country);

// True exactly when `country` is one of the 35 European codes of the duplex
// list ("FR" first, "LI" last).
bool shouldChangeDuplexDefault(UStringView country);

// The short-grain papers among the `PageSize` choices of `ppd`, in the
// option's order. A keyword is a short-grain paper when it ends with "_S" or
// equals "QzA3"; keywords that are not plain ASCII are passed over. Empty for
// a null `ppd` or one without a `PageSize` option.
std::vector<UString> CFArrayCropyShortGrainPapersFromPPD(ppd_file_t* ppd);

#endif  // PPDLOCALIZE_EXTRAS_FURTHER_PREDICATES_H_
