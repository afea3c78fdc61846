// The driver's country: configuration, then locale, then default.
#include "driver/driver_country.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <string>

namespace {

// The locale variables set for a scope, the others unset.
class ScopedLocale {
 public:
  explicit ScopedLocale(const std::map<std::string, std::string>& values) {
    for (const char* name : {"LC_ALL", "LC_PAPER", "LANG"}) {
      if (const char* value = std::getenv(name)) saved_[name] = value;
      unsetenv(name);
    }
    for (const auto& [name, value] : values) setenv(name.c_str(), value.c_str(), 1);
  }
  ~ScopedLocale() {
    for (const char* name : {"LC_ALL", "LC_PAPER", "LANG"}) unsetenv(name);
    for (const auto& [name, value] : saved_) setenv(name.c_str(), value.c_str(), 1);
  }

 private:
  std::map<std::string, std::string> saved_;
};

TEST(DriverCountry, ConfigurationThenLocaleThenDefault) {
  DriverConfig config;
  const struct {
    std::map<std::string, std::string> locale;
    std::optional<std::string> country, default_country;
    const char* expected;
  } cases[] = {
      {{{"LANG", "zh_TW.UTF8"}}, {}, "DE", "TW"},
      {{{"LANG", "en.UTF8"}}, {}, "DE", "DE"},
      {{{"LANG", "C"}}, {}, {}, ""},
      {{{"LC_ALL", "ja_JP"}, {"LANG", "zh_TW.UTF8"}}, {}, {}, "JP"},
      {{{"LC_PAPER", "de_AT"}, {"LANG", "en"}}, {}, "US", "AT"},
      {{{"LANG", "zh_TW.UTF8"}}, "KR", "DE", "KR"},
      {{{"LANG", "zh_TW.UTF8"}}, "", "DE", ""},  // Country with no value: no country
  };
  for (const auto& c : cases) {
    const ScopedLocale locale(c.locale);
    config.country = c.country;
    config.default_country = c.default_country;
    EXPECT_EQ(DriverCountry(config), c.expected) << c.locale.begin()->second;
  }
}

}  // namespace
