// Country predicates of the setup run. Country codes compare by exact,
// case-sensitive equality: "jp" is not Japan. The opened PPD is taken for
// symmetry with the other predicates and not consulted.
#ifndef PPDLOCALIZE_POLICY_REGION_PREDICATES_H_
#define PPDLOCALIZE_POLICY_REGION_PREDICATES_H_

#include <cups/ppd.h>

#include <optional>

#include "ppdtext/ustring.h"

// 1 unless `country` is "JP"; then `*recorded` is set to view `country`
// (borrowed, not copied). For "JP" answers 0 and leaves `*recorded` alone.
int shouldChangeDefaultCountryCode(ppd_file_t* ppd, UStringView country,
                                   std::optional<UStringView>* recorded);

// 1 unless `country` is "CN" (the duplex default stays as shipped in China).
int shouldChangeDuplexDefaultEnergyStar(UStringView country);

// 1 unless `country` is "JP": outside Japan the Japanese envelopes go.
int shouldDeleteJapaneseEnvelope(ppd_file_t* ppd, UStringView country);

#endif  // PPDLOCALIZE_POLICY_REGION_PREDICATES_H_
