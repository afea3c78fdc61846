// What kind of printer the PPD describes and which model number it declares.
#ifndef PPDLOCALIZE_POLICY_MODEL_INFO_H_
#define PPDLOCALIZE_POLICY_MODEL_INFO_H_

#include <cups/ppd.h>

#include <cstdint>

#include "ppdtext/ustring.h"

enum ModelKind : int32_t {
  Ink = 0,
  MonoLaser = 1,
  ColorLaser = 2,
  SInk = 3,
};

// `kind` is a plain integer that may hold any value; (-1, -1) means "not
// classified yet".
struct ModelInfo {
  int32_t kind;
  int32_t modelNumber;
  bool operator==(const ModelInfo&) const = default;
};

// The one process-wide model record. determineModel is its only writer in a
// run; tests set it directly.
extern ModelInfo gModelInfo;

// "Ink", "MonoLaser", "ColorLaser", "SInk", or "Unknown" for any other value.
const char* ModelKindName(int32_t kind);

// Fills gModelInfo from an opened PPD: ColorLaser when the PPD says
// `*ColorDevice: True`, MonoLaser otherwise, and the `*cupsModelNumber` value
// (0 when absent). Answers 1 when the PPD has a `cupsCommands` attribute and
// -1 when it has none. A null PPD answers -1 and leaves the record untouched.
int32_t determineModel(ppd_file_t* ppd);

// What determineModel will most likely find, read from the PPD's text alone
// (the last `*ColorDevice:` and `*cupsModelNumber:` statements, as libcups
// reads their values: "True" in any case, and the number's leading digits): for work that can be done before libcups has parsed
// the PPD and is checked against determineModel's record after. A PPD that
// libcups reads otherwise only makes that work be done again.
ModelInfo GuessModelFromText(UStringView text);

#endif  // PPDLOCALIZE_POLICY_MODEL_INFO_H_
