// The driver program as cups-driverd runs it: usage; list, with its warnings; cat, byte for byte
// the tool's run, gzip files too; each refusal in one line with nothing on standard output.
#include "driver/driver_commands.h"

#include <gtest/gtest.h>

#include "test_support.h"

TEST(DriverProgram, ListCatAndEachRefusalInOneLine) {
  const ScratchDir root;
  const std::map<std::string, std::string> env = {{"CUPS_SERVERROOT", root.path()}};
  const std::string conf = "PPDDirectory " + root.path() + "/ppds\nPPDDirectory " PPD_LOCALIZE_SOURCE_DIR "/examples\n";
  root.Write("ppd-localize.conf", conf + "Country TW\n");
  root.Write("ppds/z/mono.ppd.gz", GzipBytes(ReadFile(ExamplePath("mono13.ppd"))));
  const std::string bad = root.Write("ppds/readme.ppd", "not a PPD\n"), error = "ERROR: ppd-localize: \"ppd-localize:";
  const std::string usage = "Usage: ppd-localize list | ppd-localize cat PPD-NAME\n", tw = "--country=TW";
  const struct { std::vector<std::string> args; int status; std::string out, err; } cases[] = {
      {{}, 1, "", usage}, {{"show"}, 1, "", usage}, {{"cat"}, 1, "", usage}, {{"list", "x"}, 1, "", usage},
      {{"cat", "ppd-localize:mono13.ppd"}, 0, RunTool({tw, "-", ExamplePath("mono13.ppd")}).out, ""},
      {{"cat", "ppd-localize:z/mono.ppd.gz"}, 0, RunTool({tw, "-", ExamplePath("mono13.ppd")}).out, ""},
      {{"cat", "ppd-localize:a\n\\\xE9~"}, 1, "", error + "a\\x0A\\x5C\\xE9~\": not a PPD name of this driver: the name holds a control character\n"},
      {{"cat", "ppd-localize:" + std::string(300, 'a')}, 1, "",
       error + std::string(287, 'a') + "...\": not a PPD name of this driver: the name longer than 255 bytes\n"},
      {{"cat", "ppd-localize:missing.ppd"}, 1, "", error + "missing.ppd\": no such PPD\n"},
      {{"cat", "ppd-localize:readme.ppd"}, 1, "", "ERROR: ppd-localize: " + bad + ": not listed: not a PPD (no *PPD-Adobe: first line)\n"}};
  for (const auto& [args, status, out, err] : cases) {
    const RunResult run = RunProgram(PPD_LOCALIZE_DRIVER_BINARY, args, env);
    EXPECT_EQ(std::tie(run.status, run.out, run.err), std::tie(status, out, err)) << (args.empty() ? "" : args.back());
  }
  const RunResult list = RunProgram(PPD_LOCALIZE_DRIVER_BINARY, {"list"}, env);
  EXPECT_EQ(list.status, 0);
  EXPECT_NE(list.out.find("\n\"ppd-localize:mono13.ppd\" en,fr,de,ja,zh_TW \"Example Imaging\" "), std::string::npos);
  EXPECT_NE(list.out.find("\n\"ppd-localize:z/mono.ppd.gz\" en,fr,de,ja,zh_TW \"Example Imaging\" "), std::string::npos);
  EXPECT_EQ(std::count(list.out.begin(), list.out.end(), '\n'), 3);
  EXPECT_EQ(list.err, "WARNING: ppd-localize: " + bad + ": left out: not a PPD (no *PPD-Adobe: first line)\n");
  EXPECT_EQ(RunProgram(PPD_LOCALIZE_DRIVER_BINARY, {"list"}, env, "/dev/full").status, 1);
  root.Write("ppd-localize.conf", conf + "# ok\nCountry Taiwan\n");
  const RunResult run = RunProgram(PPD_LOCALIZE_DRIVER_BINARY, {"list"}, env);
  EXPECT_EQ(std::tie(run.status, run.out), std::tuple(1, ""));
  EXPECT_EQ(run.err, "ERROR: ppd-localize: " + root.path() + "/ppd-localize.conf: line 4: Country takes two ASCII letters or three digits, not \"Taiwan\"\n");
}

// Rules in the configuration: cat runs them as the tool's --rules does; rules
// that cannot be read fail list and cat, naming the file and line.
TEST(DriverProgram, RulesOfTheConfigurationOrTheirErrorInOneLine) {
  const ScratchDir root;
  const std::map<std::string, std::string> env = {{"CUPS_SERVERROOT", root.path()}};
  const std::string rules = root.Write("rules/a.rules", "<Table t>\n<Row>\nCountry TW\nRemovePaper A4 Letter\n</Row>\n</Table>\n");
  root.Write("rules/b.rules", "<Table u>\n<Row>\nSetDefault PageSize Letter\n</Row>\n</Table>\n");
  const std::string conf = "PPDDirectory " PPD_LOCALIZE_SOURCE_DIR "/examples\nCountry TW\n";
  root.Write("ppd-localize.conf", conf + "Rules " + root.path() + "/rules\nRules " + rules + "\n");
  const RunResult cat = RunProgram(PPD_LOCALIZE_DRIVER_BINARY, {"cat", "ppd-localize:mono13.ppd"}, env);
  const RunResult tool = RunTool({"--rules=" + root.path() + "/rules", "--country=TW", "-", ExamplePath("mono13.ppd")});
  EXPECT_TRUE(cat.status == 0 && cat.err.empty() && cat.out == tool.out) << cat.err;
  // Letter goes, so the second file's default, set after, is not set to it.
  EXPECT_EQ(cat.out.find("*PageSize Letter/"), std::string::npos);
  EXPECT_NE(cat.out.find("\n*DefaultPageSize: A4\n"), std::string::npos);
  root.Write("rules/c.rules", "<Table v>\n<Row>\nModelNumber 9-1\nKeepAsIs\n</Row>\n</Table>\n");
  for (const std::vector<std::string>& args : {std::vector<std::string>{"list"}, {"cat", "ppd-localize:mono13.ppd"}}) {
    const RunResult run = RunProgram(PPD_LOCALIZE_DRIVER_BINARY, args, env);
    EXPECT_EQ(std::tie(run.status, run.out), std::tuple(1, "")) << args[0];
    EXPECT_EQ(run.err, "ERROR: ppd-localize: " + root.path() + "/rules/c.rules:3: the range 9-1 ends before it begins\n");
  }
}
