#include "driver/driver_country.h"

#include "setup/locale_country.h"

std::string DriverCountry(const DriverConfig& config) {
  if (config.country) return *config.country;
  const CountryChoice locale = CurrentCountryChoice();
  if (!locale.code.empty()) {
    std::string code;  // a country code is ASCII
    for (const auto unit : locale.code) code += static_cast<char>(unit);
    return code;
  }
  return config.default_country.value_or("");
}
