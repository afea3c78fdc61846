#include "ppdtext/locale_country.h"

#include <gtest/gtest.h>
#include <stdlib.h>

TEST(CountryCodeFromLocaleName, TerritoryAsWrittenOrEmpty) {
  struct Case {
    const char* name;
    const char* want;
  } cases[] = {
      {"ja_JP.UTF-8", "JP"}, {"ja_jp", "jp"},         {"de_DE@euro", "DE"},
      {"zh_TW.Big5@x", "TW"}, {"es_419.UTF-8", "419"}, {"C", ""},
      {"POSIX", ""},          {"C.UTF-8", ""},          {"", ""},
      {"en_", ""},            {"en_USA", ""},           {"en_1", ""},
      {"en_U1", ""},          {"xx_\"\n*cupsFilter: \"x\"", ""},
      {"zh_Hant_TW", ""},     {"de_D\xc3\xa9", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(CountryCodeFromLocaleName(c.name), c.want) << c.name;
}

TEST(CopyCurrentCountryCode, PaperCategoryPrecedence) {
  struct Case {
    const char* lc_all;
    const char* lc_paper;
    const char* lang;
    const char16_t* want;
  } cases[] = {
      {"fr_FR.UTF-8", "ja_JP", "de_DE", u"FR"},
      {"", "ja_JP", "de_DE", u"JP"},
      {nullptr, nullptr, "de_DE", u"DE"},
      {"C", "ja_JP", "de_DE", u""},  // the first non-empty one decides
      {nullptr, nullptr, nullptr, u""},
  };
  for (const Case& c : cases) {
    const char* names[] = {"LC_ALL", "LC_PAPER", "LANG"};
    const char* values[] = {c.lc_all, c.lc_paper, c.lang};
    for (int i = 0; i < 3; ++i) {
      if (values[i] != nullptr) setenv(names[i], values[i], 1); else unsetenv(names[i]);
    }
    EXPECT_EQ(CopyCurrentCountryCode(), c.want);
  }
  for (const char* name : {"LC_ALL", "LC_PAPER", "LANG"}) unsetenv(name);
}
