// What rules may ask about the printer a PPD describes.
#ifndef PPDLOCALIZE_POLICY_PRINTER_RECORD_H_
#define PPDLOCALIZE_POLICY_PRINTER_RECORD_H_

#include <cups/ppd.h>

#include <string>
#include <vector>

#include "policy/model_info.h"
#include "ppdtext/ustring.h"

struct PrinterRecord {
  ModelInfo model{-1, -1};            // kind and model number, as determineModel sets them
  std::string manufacturer;           // *Manufacturer, as libcups reads it
  std::string modelName;              // *ModelName
  std::string nickName;               // *NickName, in UTF-8
  std::vector<std::string> products;  // every *Product value, parentheses included
  std::string mfg;                    // the MFG (or MANUFACTURER) field of *1284DeviceID
  std::string mdl;                    // its MDL (or MODEL) field
  bool operator==(const PrinterRecord&) const = default;
};

// The record of the PPD that libcups opened (a null PPD leaves the strings
// empty), with `model` as determineModel classified it.
PrinterRecord PrinterRecordOf(ppd_file_t* ppd, const ModelInfo& model);

// The record read from the text alone (GuessModelFromText, and with
// `names` the values of the statements before the first *OpenUI as libcups
// reads them, else no names): for work done before libcups has parsed the
// PPD, checked against PrinterRecordOf after.
PrinterRecord GuessPrinterFromText(UStringView text, bool names);

// The field `key` (MFG, MANUFACTURER, MDL, ...; any case) of an IEEE 1284
// device ID "KEY:value;KEY:value;", without the blanks around it.
std::string DeviceIdField(std::string_view id, std::string_view key, std::string_view other_key);

#endif  // PPDLOCALIZE_POLICY_PRINTER_RECORD_H_
