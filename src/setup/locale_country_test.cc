// The country of the locale, as a table of locale names and environments.
#include "setup/locale_country.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <array>

TEST(LocaleCountry, TerritoryAsWrittenOrEmpty) {
  const std::pair<const char*, const char*> names[] = {
      {"ja_JP.UTF-8", "JP"}, {"ja_jp", "jp"}, {"de_DE@euro", "DE"}, {"zh_TW.Big5@x", "TW"}, {"es_419.UTF-8", "419"},
      {"en_ZA.UTF-8", "ZA"}, {"xx_az", "az"}, {"xx_090", "090"}, {"C", ""}, {"POSIX", ""}, {"C.UTF-8", ""}, {"", ""},
      {"en_", ""}, {"en_USA", ""}, {"en_1", ""}, {"en_U1", ""}, {"xx_\"\n*cupsFilter: \"x\"", ""}, {"zh_Hant_TW", ""},
      {"de_D\xc3\xa9", ""}};
  for (const auto& [name, want] : names) EXPECT_EQ(CountryCodeFromLocaleName(name), want) << name;

  const char* const variables[] = {"LC_ALL", "LC_PAPER", "LANG"};
  const std::pair<std::array<const char*, 3>, UStringView> rows[] = {  // the values of the variables (null: unset)
      {{"fr_FR.UTF-8", "ja_JP", "de_DE"}, u"FR"}, {{"", "ja_JP", "de_DE"}, u"JP"}, {{nullptr, nullptr, "de_DE"}, u"DE"},
      {{"C", "ja_JP", "de_DE"}, u""} /* the first non-empty one decides */, {{nullptr, nullptr, nullptr}, u""}};
  for (const auto& [values, want] : rows) {
    for (int i = 0; i < 3; ++i) values[i] != nullptr ? setenv(variables[i], values[i], 1) : unsetenv(variables[i]);
    EXPECT_EQ(CopyCurrentCountryCode(), want) << (values[0] ? values[0] : "-") << " " << (values[1] ? values[1] : "-");
  }
  for (const char* name : variables) unsetenv(name);
}

TEST(LocaleCountry, AGivenCodeIsUpperCaseWithAHint) {
  const std::pair<const char*, const char*> codes[] = {
      {"NZ", ""}, {"158", ""}, {"", ""}, {"nz", " (did you mean NZ?)"}, {"aZ", " (did you mean AZ?)"},
      {"Tw", " (did you mean TW?)"}, {"TWN", "two ASCII letters or three digits"}, {"1", "two ASCII"}};
  for (const auto& [code, problem] : codes) {
    const std::optional<std::string> got = GivenCountryCodeProblem(code);
    EXPECT_EQ(got.has_value(), *problem != '\0') << code;
    EXPECT_NE(got.value_or(problem).find(problem), std::string::npos) << got.value_or("");
  }
}
