// The driver program's two commands, as cups-driverd runs them:
//
//   ppd-localize list            one line per PPD (list_fields.h) on `out`
//   ppd-localize cat PPD-NAME    the PPD localised for the driver's country
//
// Messages go to `err` one line each, starting "ERROR: " or "WARNING: " so
// that cupsd logs them at that level. A failure answers 1 with one error
// line and nothing on `out`.
#ifndef PPDLOCALIZE_DRIVER_DRIVER_COMMANDS_H_
#define PPDLOCALIZE_DRIVER_DRIVER_COMMANDS_H_

#include <cstdio>
#include <string_view>

#include "driver/driver_config.h"
#include "setup/rule_set.h"

// Lists the PPDs of the configured directories in name order. Files left
// out (ppd_catalog.h, list_fields.h) get a warning each.
int RunList(const DriverConfig& config, FILE* out, FILE* err);

// Writes the PPD that `name` names, localised for DriverCountry(config) by
// `rules` (null: the built-in rules), byte for byte as `ppd-localize
// --country=CC - FILE` writes it. Only a name that RunList prints is
// accepted: the name is checked before any file is looked at, and is looked
// up only as a relative path under the directories.
int RunCat(const DriverConfig& config, std::string_view name, FILE* out, FILE* err, const RuleSet* rules = nullptr);

// `text` made safe to quote in a one-line message: control characters,
// backslashes and bytes past ASCII as \xHH, cut after 300 bytes.
std::string MessageQuote(std::string_view text);

#endif  // PPDLOCALIZE_DRIVER_DRIVER_COMMANDS_H_
