// Whole runs of the built binary on the bundled examples, compared with
// expected outputs that were reviewed by hand.
#include <gtest/gtest.h>

#include "test_support.h"

TEST(LocalizeExamples, MatchReviewedOutputs) {
  for (const char* example : {"mono13", "color-laser"}) {
    for (const char* country : {"JP", "CN", "TW", "KR", "HK", "DE", "none"}) {
      std::map<std::string, std::string> env;
      if (std::string(country) != "none") env["LC_ALL"] = std::string("xx_") + country + ".UTF-8";
      const RunResult run = RunTool({"x", ExamplePath(std::string(example) + ".ppd")}, env);
      const std::string expected =
          std::string(PPD_LOCALIZE_SOURCE_DIR) + "/tests/expected/" + example + "." + country + ".ppd";
      EXPECT_EQ(run.status, 0) << example << " " << country;
      EXPECT_TRUE(run.err.empty()) << run.err;
      EXPECT_TRUE(run.out == ReadFile(expected)) << example << " " << country << " differs from " << expected;
    }
  }
}

TEST(LocalizeExamples, PaperLocaleAndLangAreConsulted) {
  const std::string ppd = ExamplePath("mono13.ppd");
  const RunResult by_all = RunTool({"x", ppd}, {{"LC_ALL", "zh_TW.UTF-8"}, {"LANG", "de_DE.UTF-8"}});
  const RunResult by_paper = RunTool({"x", ppd}, {{"LC_PAPER", "zh_TW.UTF-8"}, {"LANG", "de_DE.UTF-8"}});
  const RunResult by_lang = RunTool({"x", ppd}, {{"LANG", "zh_TW"}});
  EXPECT_EQ(by_all.out, ReadFile(std::string(PPD_LOCALIZE_SOURCE_DIR) + "/tests/expected/mono13.TW.ppd"));
  EXPECT_EQ(by_paper.out, by_all.out);
  EXPECT_EQ(by_lang.out, by_all.out);
}
