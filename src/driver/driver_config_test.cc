// ppd-localize.conf: each directive, case, comments, and each error with its
// line number.
#include "driver/driver_config.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>

#include "test_support.h"

namespace {

struct Good {
  const char* text;
  std::vector<std::string> directories;
  std::optional<std::string> country, default_country;
};

TEST(DriverConfig, ReadsEachDirective) {
  const Good cases[] = {
      {"", {kDefaultPPDDirectory}, {}, {}},
      {"# all commented\n\n   \n\t# PPDDirectory /x\n", {kDefaultPPDDirectory}, {}, {}},
      {"PPDDirectory /a\nppddirectory  /b c \r\n", {"/a", "/b c"}, {}, {}},
      {"Country TW\nDefaultCountry de", {kDefaultPPDDirectory}, "TW", "de"},
      {"  COUNTRY\t158\n", {kDefaultPPDDirectory}, "158", {}},
      {"Country\n", {kDefaultPPDDirectory}, "", {}},  // as --country=: no country
  };
  for (const Good& c : cases) {
    std::string error;
    const std::optional<DriverConfig> config = ParseDriverConfig(c.text, "f.conf", &error);
    ASSERT_TRUE(config) << c.text << ": " << error;
    EXPECT_EQ(config->ppd_directories, c.directories) << c.text;
    EXPECT_EQ(config->country, c.country) << c.text;
    EXPECT_EQ(config->default_country, c.default_country) << c.text;
  }
}

TEST(DriverConfig, NamesTheLineItCannotUnderstand) {
  const std::pair<const char*, const char*> cases[] = {
      {"Country TW\nColour TW\n", "f.conf: line 2: unknown directive \"Colour\""},
      {"# c\nCountry Taiwan\n", "f.conf: line 2: Country takes two ASCII letters or three digits, not \"Taiwan\""},
      {"DefaultCountry T W", "f.conf: line 1: DefaultCountry takes two ASCII letters or three digits, not \"T W\""},
      {"Country TW\n\nCountry JP\n", "f.conf: line 3: Country given again (first on line 1)"},
      {"PPDDirectory relative/dir\n", "f.conf: line 1: PPDDirectory takes an absolute directory"},
      {"PPDDirectory\n", "f.conf: line 1: PPDDirectory takes an absolute directory"},
      {"Country: TW\n", "f.conf: line 1: unknown directive \"Country:\""},
  };
  for (const auto& [text, message] : cases) {
    std::string error;
    EXPECT_FALSE(ParseDriverConfig(text, "f.conf", &error)) << text;
    EXPECT_EQ(error, message);
  }
  std::string error;
  EXPECT_FALSE(ParseDriverConfig(std::string_view("Country TW\0", 11), "f.conf", &error));
  EXPECT_EQ(error, "f.conf: line 1: holds a zero byte");
}

TEST(DriverConfig, MissingFileMeansDefaultsUnreadableFails) {
  const ScratchDir dir;
  std::string error;
  const std::optional<DriverConfig> missing = ReadDriverConfig(dir.path() + "/none.conf", &error);
  ASSERT_TRUE(missing);
  EXPECT_EQ(missing->ppd_directories, std::vector<std::string>{kDefaultPPDDirectory});
  EXPECT_FALSE(ReadDriverConfig(dir.path(), &error));  // a directory
  EXPECT_EQ(error, dir.path() + ": cannot read it: Is a directory");
  const std::string file = dir.Write("c.conf", "Bogus\n");
  EXPECT_FALSE(ReadDriverConfig(file, &error));
  EXPECT_EQ(error, file + ": line 1: unknown directive \"Bogus\"");
}

TEST(DriverConfig, PathFollowsCupsServerRoot) {
  const char* saved = std::getenv("CUPS_SERVERROOT");
  const std::string restore = saved != nullptr ? saved : "";
  setenv("CUPS_SERVERROOT", "/srv/cups", 1);
  EXPECT_EQ(DriverConfigPath(), "/srv/cups/ppd-localize.conf");
  setenv("CUPS_SERVERROOT", "", 1);
  EXPECT_EQ(DriverConfigPath(), "/etc/cups/ppd-localize.conf");
  if (saved != nullptr) setenv("CUPS_SERVERROOT", restore.c_str(), 1); else unsetenv("CUPS_SERVERROOT");
}

}  // namespace
