// The fields of a PPD's line in `list`, derived from the PPD's header as
// cups-driverd 2.4 derives them for a static PPD in its model directory
// (load_ppds, load_ppd and add_ppd in scheduler/cups-driverd.cxx), so that
// `lpinfo -m` and CUPS-Get-PPDs show the same through the driver:
//
// - a PPD is data whose first line starts with "*PPD-Adobe:"; lines are read
//   as cups-driverd reads them (cups_lines.h), up to the first *OpenUI
//   outside the installable options once a model name, a product and a
//   PostScript version were seen;
// - languages: *LanguageVersion through cups-driverd's table ("English" is
//   "en", "German-CH" is "de_CH", unknown ones "xx"), then *cupsLanguages;
// - make: *Manufacturer, else (or for "ESP") the model's first word, else
//   "Other"; "Hewlett..." is "HP", "LHAG..." and "Linotype..." are "LHAG";
// - make-and-model: *NickName (converted from *LanguageEncoding), else
//   *ModelName, with the make put in front and normalised by libcups's own
//   function, as cups-driverd does;
// - device id: *1284DeviceID, ending with ';'; product: the first *Product
//   without its parentheses; psversion: the first *PSVersion;
// - type: "fax" for *cupsFax: True, else "raster" or "pdf" from the first
//   *cupsFilter/*cupsFilter2 naming those types, else "postscript".
//
// Each field is cut to the bytes cups-driverd keeps in its record (make,
// make-and-model, product 127; device id 255; psversion 31; each language
// 5), so what it reads from the driver's line is what it would store.
#ifndef PPDLOCALIZE_DRIVER_LIST_FIELDS_H_
#define PPDLOCALIZE_DRIVER_LIST_FIELDS_H_

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "driver/cups_lines.h"

struct ListFields {
  std::vector<std::string> languages;  // the first is *LanguageVersion's
  std::string make, make_and_model, device_id, product, psversion, type;
};

// The fields of the PPD whose lines `lines` gives (from its first line). A
// file that is not a PPD, or lacks what cups-driverd requires (a *NickName
// or *ModelName, a *Product, a *PSVersion), answers nothing with `reason`
// saying why in a few words.
std::optional<ListFields> ReadListFields(CupsLines& lines, std::string* reason);

// The line cups-driverd's load_drivers reads for the PPD `name`, with its
// newline:  "name" languages "make" "make-and-model" "device-id" "product"
// "psversion" "type"  (cups-driverd reads the type between quotes too).
// cups-driverd's reading stops at the first empty quoted field, so with an
// empty device id or psversion it keeps the fields before it and takes the
// type as "postscript"; the line still states every field. Languages that
// cannot travel in the comma-separated word (holding blanks or commas, or
// past the 127 bytes cups-driverd reads) are left off. A PPD whose make or
// make-and-model would be empty, or any field would hold a quotation mark,
// gives no line: cups-driverd would stop reading the driver's list there.
std::optional<std::string> ListLine(std::string_view name, const ListFields& fields, std::string* reason);

#endif  // PPDLOCALIZE_DRIVER_LIST_FIELDS_H_
