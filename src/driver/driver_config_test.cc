// ppd-localize.conf: each directive, case, comments, and each error with its line number.
#include "driver/driver_config.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "test_support.h"

TEST(DriverConfig, ReadsEachDirectiveNamesTheLineItCannotUnderstand) {
  const std::vector<std::string> standard{kDefaultPPDDirectory};
  using Country = std::optional<std::string>;
  const std::tuple<std::string, std::string, std::vector<std::string>, Country, Country> cases[] = {  // text, error, settings
      {"", "", standard, {}, {}}, {"# all commented\n\n   \n\t# PPDDirectory /x\n", "", standard, {}, {}},
      {"PPDDirectory /a/\nppddirectory  /b c \r\nPPDDirectory //\n", "", {"/a", "/b c", "/"}, {}, {}},
      {"Country TW\nDefaultCountry DE", "", standard, "TW", "DE"}, {"  COUNTRY\t158\n", "", standard, "158", {}},
      {"Country TW\nDefaultCountry de", "f: line 2: DefaultCountry takes a country code in upper case, not \"de\" "
       "(did you mean DE?)", {}, {}, {}},
      {"Country Tw\nColour\n", "f: line 1: Country takes a country code in upper case, not \"Tw\" (did you mean TW?)", {}, {}, {}},
      {"Country\n", "", standard, "", {}}, {"Country TW # Taiwan\nPPDDirectory /a\\#b#c\n", "", {"/a#b"}, "TW", {}},  // Country alone: none
      {"Country TW\nColour TW\n", "f: line 2: unknown directive \"Colour\"", {}, {}, {}},
      {"Country: TW\n", "f: line 1: unknown directive \"Country:\"", {}, {}, {}},
      {"# c\nCountry Taiwan\n", "f: line 2: Country takes two ASCII letters or three digits, not \"Taiwan\"", {}, {}, {}},
      {"DefaultCountry T W", "f: line 1: DefaultCountry takes two ASCII letters or three digits, not \"T W\"", {}, {}, {}},
      {"Country TW\n\nCountry JP\n", "f: line 3: Country given again (first on line 1)", {}, {}, {}},
      {"DefaultCountry TW\nDefaultCountry JP\n", "f: line 2: DefaultCountry given again (first on line 1)", {}, {}, {}},
      {"PPDDirectory relative/dir\n", "f: line 1: PPDDirectory takes an absolute directory", {}, {}, {}},
      {"PPDDirectory\n", "f: line 1: PPDDirectory takes an absolute directory", {}, {}, {}},
      {"Rules rules/\n", "f: line 1: Rules takes an absolute file or directory", {}, {}, {}},
      {"Rules\n", "f: line 1: Rules takes an absolute file or directory", {}, {}, {}},
      {std::string("Country TW\0", 11), "f: line 1: holds a zero byte", {}, {}, {}}};
  for (const auto& [text, expected_error, directories, country, default_country] : cases) {
    std::string error;
    const DriverConfig got = ParseDriverConfig(text, "f", &error).value_or(DriverConfig{{}, {}, {}, {}});  // empty when it fails
    EXPECT_EQ(std::tie(error, got.ppd_directories, got.country, got.default_country),
              std::tie(expected_error, directories, country, default_country)) << text;
  }
}

TEST(DriverConfig, RulesAreKeptInOrderBesideTheDirectories) {
  std::string error;
  const std::optional<DriverConfig> got =
      ParseDriverConfig("Rules /usr/share/x/rules/\nPPDDirectory /p\nrules  /etc/mine.rules # mine\n", "f", &error);
  ASSERT_TRUE(got) << error;
  EXPECT_EQ(got->rules, (std::vector<std::string>{"/usr/share/x/rules", "/etc/mine.rules"}));
  EXPECT_EQ(got->ppd_directories, std::vector<std::string>{"/p"});
  EXPECT_TRUE(ParseDriverConfig("Country TW\n", "f", &error)->rules.empty());
}

TEST(DriverConfig, EmptyCupsServerRootIsEtcCupsMissingFileMeansDefaults) {
  setenv("CUPS_SERVERROOT", "", 1);
  EXPECT_EQ(DriverConfigPath(), "/etc/cups/ppd-localize.conf");
  unsetenv("CUPS_SERVERROOT");
  const ScratchDir dir;
  std::string error;
  EXPECT_EQ(ReadDriverConfig(dir.path() + "/none.conf", &error).value().ppd_directories, DriverConfig().ppd_directories);
  EXPECT_FALSE(ReadDriverConfig(dir.path(), &error));  // a directory
  EXPECT_EQ(error, dir.path() + ": cannot read it: Is a directory");
}
