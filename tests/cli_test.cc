// Whole runs of the built binary: reviewed outputs, the command line, bad
// inputs, streams, legacy encodings, --output and --report.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <thread>
#include <tuple>

#include "cli/command_line.h"
#include "setup/rule_set.h"
#include "test_support.h"

namespace {

const std::string kSource = PPD_LOCALIZE_SOURCE_DIR;
std::string Expected(const std::string& name) { return ReadFile(kSource + "/tests/expected/" + name + ".ppd"); }
std::map<std::string, std::string> Locale(const std::string& country) { return {{"LC_ALL", "xx_" + country + ".UTF-8"}}; }

// "built-in:N", N the line of the <Row> of the built-in rules' first
// action that reads `action`.
std::string BuiltinRow(const std::string& action) {
  const std::string rules = kBuiltinRulesText;
  const size_t at = rules.find("    " + action + "\n");
  const size_t row = rules.rfind("<Row>", at);
  return "built-in:" + std::to_string(1 + std::count(rules.begin(), rules.begin() + static_cast<ptrdiff_t>(row), '\n'));
}

}  // namespace

TEST(Run, MatchesReviewedOutputsAndTakesTheCountryFromTheLocaleOrTheOption) {
  for (const char* example : {"mono13", "color-laser"}) {
    for (const std::string country : {"JP", "CN", "TW", "KR", "HK", "DE", "none"}) {
      const std::string ppd = ExamplePath(std::string(example) + ".ppd"), want = Expected(example + ("." + country));
      const RunResult run = RunTool({"x", ppd}, country == "none" ? std::map<std::string, std::string>() : Locale(country));
      EXPECT_TRUE(run.status == 0 && run.err.empty() && run.out == want) << example << " " << country << run.err;
      const RunResult option = RunTool({"--country=" + (country == "none" ? "" : country), "x", ppd}, Locale("JP"));
      EXPECT_TRUE(option.out == want) << example << " --country=" << country;
    }
  }
}

TEST(Run, CommandLine) {
  ScratchDir dir;
  const std::string ppd = ExamplePath("mono13.ppd"), empty = dir.Write("empty.ppd", "");
  const std::tuple<std::vector<std::string>, int, const char*, std::string> cases[] = {
      // arguments, exit status, how standard output begins (empty: nothing), a fragment of standard error
      {{}, 2, "", "usage: ppd-localize"}, {{"x"}, 2, "", "usage: ppd-localize"},
      {{"a", "b", "c", "d"}, 2, "", "usage: ppd-localize"}, {{"-h"}, 0, "usage: ppd-localize", ""},
      {{"--help", "x", ppd}, 0, "usage: ppd-localize", ""}, {{"--version"}, 0, "ppd-localize " PPD_LOCALIZE_VERSION "\n", ""},
      {{"--frobnicate", "x", ppd}, 2, "", "unknown option --frobnicate"},
      {{"--report=yes", "x", ppd}, 2, "", "--report takes no value"},
      {{"--country=jpn", "x", ppd}, 2, "", "--country takes two ASCII letters"},
      {{"--country"}, 2, "", "--country needs a value"},
      {{"--country=jp", "x", ppd}, 2, "", "--country takes a country code in upper case, not \"jp\" (did you mean JP?)"},
      {{"--country", "TW", "-psn_0_1234", ppd, "--help"}, 2, "",
       "--help after the positional arguments: options come first, as in ppd-localize --country TW --help -psn_0_1234"},
      {{"-", ppd, "--output", "f.ppd"}, 2, "", "options come first, as in ppd-localize --output f.ppd - " + ppd},
      {{"-", ppd, "--country=DE"}, 2, "", "--country=DE after the positional arguments"},
      {{"-", ppd, "--frob"}, 2, "", "unknown option --frob"},
      {{"--", "-", ppd, "--help"}, 0, "*PPD-Adobe", ""},
      {{ppd}, 2, "", "the PPD is the second positional argument; the first is not read, as in ppd-localize - " + ppd},
      {{ppd, "out.ppd"}, 1, "", "out.ppd: No such file or directory (the PPD is the second argument; the first, " + ppd +
                                ", is not read: to localise it, run ppd-localize - " + ppd + ")\n"},
      {{"--", "--help", ppd}, 0, "*PPD-Adobe", ""}, {{"-", ppd}, 0, "*PPD-Adobe", ""},
      // The hint only where the first argument is a file other than the second.
      {{"x", "missing.ppd"}, 1, "", "ppd-localize: missing.ppd: No such file or directory\n"},
      {{"/dev/null", "/dev/null"}, 1, "", "ppd-localize: /dev/null: not a regular file or a pipe\n"},
      {{empty, empty}, 1, "", "ppd-localize: " + empty + ": empty file\n"},
      {{"--check-rules=x.rules", "-", ppd}, 2, "", "--check-rules reads no PPD: give it without other arguments, not with -"},
      {{"--print-rules", ppd}, 2, "", "--print-rules reads no PPD"}, {{"--rules="}, 2, "", "--rules needs a file or directory"},
      {{"--check-rules", dir.path() + "/no.rules"}, 2, "", dir.path() + "/no.rules: No such file or directory"}};
  for (const auto& [args, status, out, err] : cases) {
    const RunResult run = RunTool(args);
    EXPECT_EQ(run.status, status) << testing::PrintToString(args);
    EXPECT_TRUE(run.out.starts_with(out) && (*out != '\0' || run.out.empty())) << testing::PrintToString(args) << run.out;
    EXPECT_NE(run.err.find(err), std::string::npos) << testing::PrintToString(args) << run.err;
  }
  for (const std::vector<std::string>& args : {std::vector<std::string>{"--print-rules"}, {"--help"}, {"--version"}}) {
    const RunResult full = RunTool(args, {}, "/dev/full");
    EXPECT_TRUE(full.status == 1 && full.err == "ppd-localize: standard output: cannot write the output: No space left on device\n")
        << args[0] << full.err;
  }
  const std::string usage = kUsage;  // a usage error: its first line and where to look, nothing more
  EXPECT_EQ(RunTool({}).err, usage.substr(0, usage.find('\n') + 1) + "Try 'ppd-localize --help' for more.\n");
}

TEST(Run, BadInputsAreRefusedWithOneLineAndLibcupsRejectsPassUnedited) {
  ScratchDir dir;
  const std::string example = ReadFile(ExamplePath("color-laser.ppd")), gzip = GzipBytes(example);
  std::string bad_crc = gzip, corrupt = gzip;
  bad_crc[bad_crc.size() - 8] ^= 0x55;
  for (size_t at = corrupt.size() / 3; at < corrupt.size() / 3 + 16; ++at) corrupt[at] = ~corrupt[at];
  const std::string one_line = "*PPD-Adobe: \"" + std::string(1 << 20, 'x') + "\"";
  const std::tuple<std::string, int, std::string> cases[] = {  // path, exit status, reason or a warning's fragment
      {dir.path() + "/missing.ppd", 1, "No such file or directory"},
      {dir.path(), 1, "not a regular file or a pipe"},
      {"/dev/zero", 1, "not a regular file or a pipe"},
      {dir.Write("empty.ppd", ""), 1, "empty file"},
      {dir.Write("zero.ppd", example.substr(0, 99) + '\0' + example), 1, "not a text file (it holds a zero byte)"},
      {dir.Write("cut.ppd.gz", gzip.substr(0, gzip.size() / 2)), 1, "gzip data is truncated or corrupt"},
      {dir.Write("cut-end.ppd.gz", gzip.substr(0, gzip.size() - 4)), 1, "gzip data is truncated or corrupt"},
      {dir.Write("crc.ppd.gz", bad_crc), 1, "gzip data is truncated or corrupt"},
      {dir.Write("corrupt.ppd.gz", corrupt), 1, "gzip data is truncated or corrupt"},
      {dir.Write("trailing.ppd.gz", gzip + "x"), 1, "gzip data is truncated or corrupt"},
      {dir.Write("one-line.ppd", one_line), 0, ", line 1); passed on unedited"},
      {dir.Write("one.txt", "x"), 0, "warning: libcups cannot read it"},
      {dir.Write("latin1.txt", "Gr\xFC\xDF\n*PageSize B5/B5: \"\"\n"), 0, "warning: libcups cannot read it"},
  };
  for (const auto& [path, status, err] : cases) {
    const RunResult run = RunTool({"-", path}, Locale("DE"));
    EXPECT_EQ(run.status, status) << path;
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
    EXPECT_TRUE(status != 0 ? run.out.empty() && run.err == "ppd-localize: " + path + ": " + err + "\n"
                            : run.out == ReadFile(path) + "\n" && run.err.find(err) != std::string::npos) << run.err;
  }
  const RunResult full = RunTool({"x", ExamplePath("mono13.ppd")}, {}, "/dev/full");
  EXPECT_EQ(full.status, 1);
  EXPECT_EQ(full.err, "ppd-localize: standard output: cannot write the output: No space left on device\n");
}

TEST(Run, StandardInputAndPipesReadLikeFiles) {
  ScratchDir dir;
  const std::string ppd = ExamplePath("mono13.ppd"), want = Expected("mono13.TW");
  const std::string packed = dir.Write("mono13.ppd.gz", GzipBytes(ReadFile(ppd)));
  EXPECT_EQ(RunTool({"x", "-"}, Locale("TW"), "", ppd).out, want);
  EXPECT_EQ(RunTool({"x", "-"}, Locale("TW"), "", packed).out, want);
  EXPECT_EQ(RunTool({"x", packed}, Locale("TW")).out, want);
  const std::string fifo = dir.path() + "/fifo";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  const std::string large = ReadFile(ppd) + std::string(200000, '%');  // more than one read's worth
  std::thread writer([&] { std::ofstream(fifo, std::ios::binary) << large; });
  EXPECT_EQ(RunTool({"x", fifo}, Locale("TW")).out, RunTool({"x", dir.Write("large.ppd", large)}, Locale("TW")).out);
  writer.join();
  EXPECT_EQ(RunTool({"x", "-"}, {}, "", dir.Write("empty", "")).err, "ppd-localize: standard input: empty file\n");
}

// A Shift-JIS copy of an example (with Japanese translations of Postcard and
// EnvChou3) loses, byte for byte, exactly the lines its UTF-8 copy loses.
TEST(Run, LegacyEncodingsAreEditedByteForByte) {
  const RunResult run = RunTool({"x", kSource + "/tests/data/mono13-sjis.ppd"}, Locale("TW"));
  EXPECT_TRUE(run.status == 0 && run.err.empty() && run.out == Expected("mono13-sjis.TW")) << run.err;
}

TEST(Run, OutputReplacesTheFileAtomically) {
  ScratchDir dir;
  const std::string ppd = dir.Write("model.ppd", ReadFile(ExamplePath("mono13.ppd"))), want = Expected("mono13.TW");
  const std::string target = dir.Write("target.ppd", "old\n");
  ASSERT_EQ(chmod(target.c_str(), 0640), 0);
  ASSERT_EQ(symlink("target.ppd", (dir.path() + "/relative.ppd").c_str()), 0);  // link.ppd -> /.../relative.ppd -> target.ppd
  ASSERT_EQ(symlink((dir.path() + "/relative.ppd").c_str(), (dir.path() + "/link.ppd").c_str()), 0);
  const RunResult run = RunTool({"--output=" + dir.path() + "/link.ppd", "-", ppd}, Locale("TW"));
  struct stat info, link;
  EXPECT_TRUE(run.status == 0 && run.out.empty() && run.err.empty()) << run.err;
  const std::string in_file = want.substr(0, want.size() - 1);  // the text ends a line: no newline after it
  EXPECT_EQ(ReadFile(target), in_file);
  EXPECT_TRUE(stat(target.c_str(), &info) == 0 && (info.st_mode & 0777) == 0640);
  EXPECT_TRUE(lstat((dir.path() + "/link.ppd").c_str(), &link) == 0 && S_ISLNK(link.st_mode));
  // Standard input closed, as some install steps start it: the descriptors
  // the run opens may be 0.
  ASSERT_EQ(truncate(target.c_str(), 0), 0);
  const RunResult closed = RunTool({"--output=" + target, "--country=TW", "-", ppd}, {}, "", "");
  EXPECT_TRUE(closed.status == 0 && closed.err.empty()) << closed.err;
  EXPECT_TRUE(ReadFile(target) == in_file);
  EXPECT_EQ(RunTool({"--output", ppd, "--country=TW", "-", ppd}).status, 0);  // the input itself
  EXPECT_EQ(ReadFile(ppd), in_file);
  for (const std::string& failing : {dir.Write("empty.ppd", ""), dir.path()}) {
    const RunResult failed = RunTool({"--output=" + target, "-", failing});
    EXPECT_TRUE(failed.status == 1 && failed.out.empty() && !failed.err.empty());
  }
  const RunResult no_dir = RunTool({"--output=" + dir.path() + "/no/such.ppd", "-", ppd});
  EXPECT_TRUE(no_dir.status == 1 && no_dir.err.find("No such file or directory") != std::string::npos) << no_dir.err;
  EXPECT_EQ(ReadFile(target), in_file);
  // model, target, the two links and empty: no temporary file is left behind.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 5);
}

TEST(Run, ReportNamesEveryPaperOfTheRuleWithItsFate) {
  ScratchDir dir;
  const std::string ppd = dir.Write("m.ppd", "*PPD-Adobe: \"4.3\"\n*cupsModelNumber: 13\n*ISOCountryCode: \"JP\"\n"
      "*DefaultDuplex: None\n*OpenUI *PageSize: PickOne\n*DefaultPageSize: Postcard\n*PageSize Postcard/P: \"\"\n"
      "*PageSize EnvYou4/Y: \"\"\n*PageSize A4/A4: \"\"\n*CloseUI: *PageSize\n");
  const RunResult run = RunTool({"--report", "-", ppd}, Locale("CN"));
  const std::string cn = " (" + BuiltinRow("RemovePaper 210x270mm Postcard EnvYou4 EnvChou3 EnvChou4 3x5") + ")\n";
  const std::string record = " (" + BuiltinRow("RecordCountry ISOCountryCode") + ")\n";
  EXPECT_EQ(run.err, "ppd-localize: report for " + ppd + "\n  printer: monochrome laser (MonoLaser), model 13\n"
                     "  country: CN, from LC_ALL\n  rules: built-in\n  paper 210x270mm: not offered" + cn +
                     "  paper Postcard: kept, the PPD's default" + cn + "  paper EnvYou4: deleted" + cn +
                     "  paper EnvChou3: not offered" + cn + "  paper EnvChou4: not offered" + cn +
                     "  paper 3x5: not offered" + cn + "  changed: *ISOCountryCode: \"JP\" -> *ISOCountryCode: \"CN\"" + record);
  EXPECT_EQ(run.out, RunTool({"-", ppd}, Locale("CN")).out);
  EXPECT_NE(RunTool({"--report", "-", ppd}).err.find("\n  country: none, as no LC_ALL, LC_PAPER or LANG is set\n"),
            std::string::npos);
  // Without *ISOCountryCode the country is not recorded, which the report says (not for Japan, where it never is).
  const std::string bare = dir.Write("bare.ppd", "*PPD-Adobe: \"4.3\"\n*DefaultDuplex: None\n");
  const std::string not_recorded = "  country: not recorded, as the PPD has no *ISOCountryCode statement (" +
                                   BuiltinRow("RecordCountry ISOCountryCode") + ")\n";
  EXPECT_TRUE(RunTool({"--report", "-", bare}, Locale("DE")).err.ends_with(not_recorded));
  EXPECT_EQ(RunTool({"--report", "-", bare}, Locale("JP")).err.find(not_recorded), std::string::npos);
  EXPECT_EQ(RunTool({"--report", "-", ppd}, Locale("DE")).err.find(not_recorded), std::string::npos);
  const std::string vendor = dir.Write("vendor.ppd", "*PPD-Adobe: \"4.3\"\n*DefaultQZISOCountryCode: JP\n");
  EXPECT_TRUE(RunTool({"--report", "-", vendor}, Locale("DE")).err.ends_with(
      "  changed: *DefaultQZISOCountryCode: JP -> *DefaultQZISOCountryCode: DE (" +
      BuiltinRow("RecordCountry ISOCountryCode") + ")\n"));
}

TEST(Run, RulesFilesReplaceTheBuiltinRules) {
  ScratchDir dir;
  const RunResult printed = RunTool({"--print-rules"});
  EXPECT_TRUE(printed.status == 0 && printed.out == ReadFile(kSource + "/rules/default.rules")) << printed.err;
  // The printed rules, read from a file, do what the built-in ones do.
  const std::string copy = dir.Write("copy.rules", printed.out);
  for (const char* example : {"mono13", "color-laser"}) {
    for (const std::string country : {"JP", "CN", "TW", "DE", ""}) {
      const std::vector<std::string> args = {"--country=" + country, "x", ExamplePath(std::string(example) + ".ppd")};
      std::vector<std::string> with_file = args;
      with_file.insert(with_file.begin(), "--rules=" + copy);
      const RunResult run = RunTool(with_file);
      EXPECT_TRUE(run.status == 0 && run.err.empty() && run.out == RunTool(args).out) << example << " " << country;
    }
  }
  EXPECT_EQ(RunTool({"--check-rules=" + copy}).out, copy + ": 3 tables, 32 rows, well formed\n");
  // No rules: no edits, the input's bytes and the newline.
  const std::string ppd = ExamplePath("mono13.ppd"), none = dir.Write("none.rules", "# nothing\n");
  EXPECT_EQ(RunTool({"--rules=" + none, "--country=CN", "x", ppd}).out, ReadFile(ppd) + "\n");
  // A directory: its *.rules files in name order.
  dir.Write("d/50-mine.rules", "<Table t>\n<Row>\nCountry DE\nSetDefault PageSize Letter\n</Row>\n</Table>\n");
  dir.Write("d/README", "not read");
  const RunResult from_dir = RunTool({"--rules=" + dir.path() + "/d/", "--country=DE", "--report", "x", ppd});
  EXPECT_EQ(from_dir.status, 0) << from_dir.err;
  EXPECT_NE(from_dir.out.find("\n*DefaultPageSize: Letter\n"), std::string::npos);
  EXPECT_NE(from_dir.err.find("  rules: " + dir.path() + "/d/50-mine.rules\n"), std::string::npos) << from_dir.err;
  EXPECT_NE(from_dir.err.find(" -> *DefaultPageSize: Letter (" + dir.path() + "/d/50-mine.rules:2)\n"),
            std::string::npos) << from_dir.err;
  // The report tells papers apart as the edits do, by their exact names.
  const std::string cased = dir.Write("cased.rules", "<Table t>\n<Row>\nRemovePaper B5 b5 A5\n</Row>\n</Table>\n");
  const RunResult report = RunTool({"--rules=" + cased, "--report", "x", ppd});
  EXPECT_NE(report.err.find("  paper B5: deleted (" + cased + ":2)\n  paper b5: not offered (" + cased +
                            ":2)\n  paper A5: deleted"), std::string::npos) << report.err;
}

// Rules that cannot be read stop the run whatever the PPD, and before a PPD
// from a pipe is touched: the run below would wait for the pipe's writer.
TEST(Run, MalformedRulesStopTheRunBeforeThePPD) {
  ScratchDir dir;
  const std::string bad = dir.Write("bad.rules", "<Table t>\n<Row>\n  Country jp\n  KeepAsIs\n</Row>\n</Table>\n");
  const std::string message = "ppd-localize: " + bad + ":3: Country takes a country code in upper case, not \"jp\" (did you mean JP?)\n";
  const std::string fifo = dir.path() + "/fifo", target = dir.Write("target.ppd", "old\n");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  const std::vector<std::string> ppds = {ExamplePath("mono13.ppd"), dir.path() + "/missing.ppd", fifo, "-", dir.path()};
  for (const std::string& ppd : ppds) {
    for (const std::vector<std::string>& extra : {std::vector<std::string>{}, {"--output=" + target, "--report"}}) {
      std::vector<std::string> args = {"--rules=" + bad};
      args.insert(args.end(), extra.begin(), extra.end());
      args.insert(args.end(), {"x", ppd});
      const RunResult run = RunTool(args);
      EXPECT_TRUE(run.status == 2 && run.out.empty() && run.err == message) << ppd << "\n" << run.err;
    }
  }
  EXPECT_EQ(ReadFile(target), "old\n");
  const RunResult check = RunTool({"--check-rules=" + bad});
  EXPECT_TRUE(check.status == 2 && check.out.empty() && check.err == message) << check.err;
  const RunResult missing = RunTool({"--check-rules=" + dir.path() + "/no.rules"});
  EXPECT_EQ(missing.err, "ppd-localize: " + dir.path() + "/no.rules: No such file or directory\n");
  EXPECT_EQ(missing.status, 2);
}

// A packager's rule that meets a PPD it did not foresee changes nothing,
// and the report says why.
TEST(Run, SetDefaultChangesNothingWhereThePPDLacksTheChoice) {
  ScratchDir dir;
  const std::string rules = dir.Write("r.rules", "<Table t>\n<Row>\n  SetDefault PageSize Legal\n"
                                                 "  SetDefault Duplex DuplexNoTumble\n</Row>\n</Table>\n");
  const std::string ppd = dir.Write("m.ppd", "*PPD-Adobe: \"4.3\"\n*OpenUI *PageSize: PickOne\n*DefaultPageSize: A4\n"
                                             "*PageSize A4/A4: \"\"\n*PageSize Legal/Legal: \"\"\n*CloseUI: *PageSize\n"
                                             "*DefaultPageRegion: A4\n*PageRegion Legal/Legal: \"\"\n*DefaultDuplex: None\n");
  const RunResult run = RunTool({"--rules=" + rules, "--report", "x", ppd});
  std::string want = ReadFile(ppd);
  for (const std::string keyword : {"PageSize", "PageRegion"}) {
    const std::string from = "*Default" + keyword + ": A4";
    want.replace(want.find(from), from.size(), "*Default" + keyword + ": Legal");
  }
  EXPECT_EQ(run.out, want + "\n");
  EXPECT_NE(run.err.find("*DefaultPageSize: A4 -> *DefaultPageSize: Legal (" + rules + ":2)\n"), std::string::npos)
      << run.err;
  EXPECT_TRUE(run.err.ends_with("\n  default Duplex: DuplexNoTumble not set, as the PPD does not offer it (" + rules +
                                ":2)\n")) << run.err;
}
