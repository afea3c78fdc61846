// The country the driver localises for: the configuration's Country; else
// the territory of the locale by the tool's usual rule (LC_ALL, LC_PAPER,
// LANG: under cupsd, LANG carries the language of the request that sets the
// printer up, as "zh_TW.UTF8"); else the configuration's DefaultCountry
// (for a locale without territory, as cupsd's "en.UTF8" for the C locale);
// else none, the empty string.
#ifndef PPDLOCALIZE_DRIVER_DRIVER_COUNTRY_H_
#define PPDLOCALIZE_DRIVER_DRIVER_COUNTRY_H_

#include <string>

#include "driver/driver_config.h"

std::string DriverCountry(const DriverConfig& config);

#endif  // PPDLOCALIZE_DRIVER_DRIVER_COUNTRY_H_
