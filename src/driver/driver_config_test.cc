// ppd-localize.conf: each directive, case, comments, and each error with its line number.
#include "driver/driver_config.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "test_support.h"

TEST(DriverConfig, ReadsEachDirectiveNamesTheLineItCannotUnderstand) {
  const std::vector<std::string> standard{kDefaultPPDDirectory};
  const struct {
    std::string text;
    std::vector<std::string> directories;
    std::optional<std::string> country, default_country;
    std::string error;  // "" when the text parses
  } cases[] = {
      {"", standard}, {"# all commented\n\n   \n\t# PPDDirectory /x\n", standard},
      {"PPDDirectory /a/\nppddirectory  /b c \r\nPPDDirectory //\n", {"/a", "/b c", "/"}},
      {"Country TW\nDefaultCountry de", standard, "TW", "de"}, {"  COUNTRY\t158\n", standard, "158"},
      {"Country\n", standard, ""}, {"Country TW # Taiwan\nPPDDirectory /a\\#b#c\n", {"/a#b"}, "TW"},  // Country alone: none
      {.text = "Country TW\nColour TW\n", .error = "f: line 2: unknown directive \"Colour\""},
      {.text = "Country: TW\n", .error = "f: line 1: unknown directive \"Country:\""},
      {.text = "# c\nCountry Taiwan\n", .error = "f: line 2: Country takes two ASCII letters or three digits, not \"Taiwan\""},
      {.text = "DefaultCountry T W", .error = "f: line 1: DefaultCountry takes two ASCII letters or three digits, not \"T W\""},
      {.text = "Country TW\n\nCountry JP\n", .error = "f: line 3: Country given again (first on line 1)"},
      {.text = "DefaultCountry TW\nDefaultCountry JP\n", .error = "f: line 2: DefaultCountry given again (first on line 1)"},
      {.text = "PPDDirectory relative/dir\n", .error = "f: line 1: PPDDirectory takes an absolute directory"},
      {.text = "PPDDirectory\n", .error = "f: line 1: PPDDirectory takes an absolute directory"},
      {.text = std::string("Country TW\0", 11), .error = "f: line 1: holds a zero byte"}};
  for (const auto& c : cases) {
    std::string error;
    const std::optional<DriverConfig> config = ParseDriverConfig(c.text, "f", &error);
    EXPECT_EQ(error, c.error) << c.text;
    const DriverConfig got = config.value_or(DriverConfig{{}, {}, {}});  // empty when it fails
    EXPECT_EQ(std::tie(got.ppd_directories, got.country, got.default_country),
              std::tie(c.directories, c.country, c.default_country)) << c.text;
  }
}

TEST(DriverConfig, ReadsTheFileInCupsServerRootMissingMeansDefaults) {
  setenv("CUPS_SERVERROOT", "/srv/cups", 1);
  EXPECT_EQ(DriverConfigPath(), "/srv/cups/ppd-localize.conf");
  setenv("CUPS_SERVERROOT", "", 1);
  EXPECT_EQ(DriverConfigPath(), "/etc/cups/ppd-localize.conf");
  unsetenv("CUPS_SERVERROOT");
  const ScratchDir dir;
  std::string error;
  EXPECT_EQ(ReadDriverConfig(dir.path() + "/none.conf", &error).value().ppd_directories, DriverConfig().ppd_directories);
  EXPECT_EQ(ReadDriverConfig(dir.Write("c.conf", "Country JP\n"), &error).value().country, "JP");
  EXPECT_FALSE(ReadDriverConfig(dir.path(), &error));  // a directory
  EXPECT_EQ(error, dir.path() + ": cannot read it: Is a directory");
}
