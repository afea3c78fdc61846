// The driver's country: configuration, then locale, then default.
#include "driver/driver_country.h"

#include <gtest/gtest.h>

#include <cstdlib>

TEST(DriverCountry, ConfigurationThenLocaleThenDefault) {
  const std::tuple<const char*, std::optional<std::string>, std::optional<std::string>, const char*> cases[] = {
      {"zh_TW.UTF8", {}, "DE", "TW"}, {"en.UTF8", {}, "DE", "DE"}, {"C", {}, {}, ""},  // LANG, Country, DefaultCountry
      {"zh_TW.UTF8", "KR", "DE", "KR"}, {"zh_TW.UTF8", "", "DE", ""}};  // Country with no value: no country
  unsetenv("LC_ALL");
  unsetenv("LC_PAPER");
  for (const auto& [lang, country, default_country, expected] : cases) {
    setenv("LANG", lang, 1);
    EXPECT_EQ(DriverCountry({{}, country, default_country, {}}), expected) << lang;
  }
  unsetenv("LANG");
}
