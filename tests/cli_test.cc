// The built binary's command line: arguments, exit statuses and streams.
#include <gtest/gtest.h>

#include "test_support.h"

TEST(CommandLine, ArgumentCountsHelpAndVersion) {
  struct Case {
    std::vector<std::string> args;
    int status;
    bool usage_on_stdout;
  } cases[] = {
      {{}, 2, false},
      {{"x"}, 2, false},
      {{"--help"}, 0, true},
      {{"-h"}, 0, true},
      {{"a", "b", "c", "d"}, 2, false},
  };
  for (const auto& c : cases) {
    const RunResult run = RunTool(c.args);
    EXPECT_EQ(run.status, c.status) << testing::PrintToString(c.args);
    const std::string& usage = c.usage_on_stdout ? run.out : run.err;
    EXPECT_EQ(usage.rfind("usage: ppd-localize", 0), 0u) << testing::PrintToString(c.args);
    EXPECT_TRUE((c.usage_on_stdout ? run.err : run.out).empty());
  }
  const RunResult version = RunTool({"--version"});
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out, "ppd-localize " PPD_LOCALIZE_VERSION "\n");
}

TEST(CommandLine, FirstAndThirdArgumentsAreNotRead) {
  const std::string ppd = ExamplePath("mono13.ppd");
  const RunResult two = RunTool({"--version", ppd}, {{"LC_ALL", "ja_JP.UTF-8"}});
  const RunResult three = RunTool({"", ppd, "--help"}, {{"LC_ALL", "ja_JP.UTF-8"}});
  EXPECT_EQ(two.status, 0);
  EXPECT_TRUE(two.err.empty());
  EXPECT_FALSE(two.out.empty());
  EXPECT_EQ(two.out, three.out);
}

TEST(CommandLine, LoadFailureIsOneLineAndExitOne) {
  ScratchDir dir;
  const std::string missing = dir.path() + "/missing.ppd";
  for (const std::string& path : {missing, dir.path(), dir.Write("empty.ppd", "")}) {
    const RunResult run = RunTool({"x", path});
    EXPECT_EQ(run.status, 1) << path;
    EXPECT_TRUE(run.out.empty()) << path;
    EXPECT_EQ(run.err.rfind("ppd-localize: " + path + ": ", 0), 0u) << run.err;
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
  }
}

TEST(CommandLine, TextLibcupsRejectsIsPrintedUneditedWithWarning) {
  ScratchDir dir;
  const std::string text = "not a PPD\n*ISOCountryCode: \"JP\"\n*PageSize B5/B5: \"\"\n";
  const std::string path = dir.Write("notppd.txt", text);
  const RunResult run = RunTool({"x", path}, {{"LC_ALL", "de_DE.UTF-8"}});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, text + "\n");
  EXPECT_EQ(run.err.rfind("ppd-localize: " + path + ": warning: ", 0), 0u) << run.err;
  EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
}

TEST(CommandLine, WriteFailureIsReported) {
  const RunResult run = RunTool({"x", ExamplePath("mono13.ppd")}, {}, "/dev/full");
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("cannot write the output"), std::string::npos) << run.err;
}

TEST(CommandLine, GzipInputPrintsTheDecompressedText) {
  ScratchDir dir;
  const std::string text = ReadFile(ExamplePath("color-laser.ppd"));
  const RunResult plain = RunTool({"x", ExamplePath("color-laser.ppd")});
  const RunResult packed = RunTool({"x", dir.Write("color.ppd.gz", GzipBytes(text))});
  EXPECT_EQ(packed.status, 0);
  EXPECT_TRUE(packed.err.empty()) << packed.err;
  EXPECT_EQ(packed.out, plain.out);
}
