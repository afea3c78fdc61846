// Choosing printer icons by model and country: strings per model from the
// bundle's information dictionary, and the regional variants of the laser
// icons for Latin America and China. The setup run calls neither.
#ifndef PPDLOCALIZE_EXTRAS_ICON_POLICY_H_
#define PPDLOCALIZE_EXTRAS_ICON_POLICY_H_

#include <cstdint>

#include "ppdtext/ustring.h"

// Looks up `QZModelNumber` -> the name of `kind` ("Ink", "MonoLaser",
// "ColorLaser", "SInk", or "Unknown" for any other value) -> gModelInfo's
// model number in decimal ("%d", so "-1" when unclassified) in the main
// bundle's information dictionary (bundle_info.h). The model number is always
// the record's, whatever `kind` is passed.
//
// When that entry is a string: stores a copy of it in `*out` (if `out` is not
// null) and answers true. Otherwise (no dictionary, a missing level, a level
// that is not a dictionary, a leaf that is not a string) answers false and
// leaves `*out` untouched. A copy rather than a view, since the dictionary can
// be replaced (BundleUseInfoDictionaryAt) while the caller still holds it.
bool stringShouldModifyICNS(int32_t kind, UString* out);

// Puts a regional laser icon in place of the base one in `text`, with at most
// one QZCFStringModifyICNS call (first reference only). `modelNumber` is the
// series argument m, g is gModelInfo.modelNumber, and "VQT" is searched for,
// case-sensitively, in `searchText`:
//
//   m      country          "VQT"  g      replacement
//   not 8 or 9, any country                none
//   8      MX AR CL BR      no     any    QZLaserA1 -> QZLaserA2
//   9      MX AR CL BR      no     9      QZLaserB1 -> QZLaserB2
//   8, 9   MX AR CL BR      yes    any    none
//   8, 9   CN               yes    any    QZLaserC1 -> QZLaserC3
//   8      CN               no     any    QZLaserA1 -> QZLaserA3
//   9      CN               no     9      QZLaserB1 -> QZLaserB3
//   9      either group     no     not 9  none
//   8, 9   any other code, "" included     none
//
// `searchText` may view `text` itself: it is read before `text` changes.
void modifyICNSBasedOn(int32_t modelNumber, UStringView country, UStringView searchText,
                       UString& text);

#endif  // PPDLOCALIZE_EXTRAS_ICON_POLICY_H_
