// Whole runs of the built binary: reviewed outputs, the command line, bad
// inputs, streams, legacy encodings, --output and --report.
#include <gtest/gtest.h>
#include <iconv.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "test_support.h"

namespace {

const std::string kSource = PPD_LOCALIZE_SOURCE_DIR;
std::string Expected(const std::string& name) { return ReadFile(kSource + "/tests/expected/" + name + ".ppd"); }
std::map<std::string, std::string> Locale(const std::string& country) { return {{"LC_ALL", "xx_" + country + ".UTF-8"}}; }

std::string Convert(const std::string& in, const char* to, const char* from) {
  iconv_t cd = iconv_open(to, from);
  std::string out(in.size() * 2 + 16, '\0');
  char* src = const_cast<char*>(in.data());
  char* dst = out.data();
  size_t left = in.size(), room = out.size();
  EXPECT_NE(iconv(cd, &src, &left, &dst, &room), static_cast<size_t>(-1)) << from << " to " << to;
  iconv_close(cd);
  return out.substr(0, out.size() - room);
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
  const std::string ppd = ExamplePath("mono13.ppd"), tw = Expected("mono13.TW");
  EXPECT_EQ(RunTool({"x", ppd}, {{"LC_PAPER", "zh_TW.UTF-8"}, {"LANG", "de_DE.UTF-8"}}).out, tw);
  EXPECT_EQ(RunTool({"x", ppd}, {{"LANG", "zh_TW"}}).out, tw);
}

TEST(Run, CommandLine) {
  const std::string ppd = ExamplePath("mono13.ppd");
  struct Case {
    std::vector<std::string> args;
    int status;
    const char* out;  // how standard output begins ("*" for the PPD)
    const char* err;  // a fragment of standard error
  } cases[] = {
      {{}, 2, "", "usage: ppd-localize"},
      {{"x"}, 2, "", "usage: ppd-localize"},
      {{"a", "b", "c", "d"}, 2, "", "usage: ppd-localize"},
      {{"-h"}, 0, "usage: ppd-localize", ""},
      {{"--help", "x", ppd}, 0, "usage: ppd-localize", ""},
      {{"--version"}, 0, "ppd-localize " PPD_LOCALIZE_VERSION "\n", ""},
      {{"--frobnicate", "x", ppd}, 2, "", "unknown option --frobnicate"},
      {{"--report=yes", "x", ppd}, 2, "", "--report takes no value"},
      {{"--country=jpn", "x", ppd}, 2, "", "--country takes two ASCII letters"},
      {{"--country"}, 2, "", "--country needs a value"},
      {{"--country", "TW", "-psn_0_1234", ppd, "--help"}, 0, "*PPD-Adobe", ""},
      {{"--", "--help", ppd}, 0, "*PPD-Adobe", ""},
      {{"-", ppd}, 0, "*PPD-Adobe", ""},
  };
  for (const Case& c : cases) {
    const RunResult run = RunTool(c.args);
    const std::string where = testing::PrintToString(c.args);
    EXPECT_EQ(run.status, c.status) << where;
    EXPECT_TRUE(run.out.starts_with(c.out) && (*c.out != '\0' || run.out.empty())) << where << run.out;
    EXPECT_NE(run.err.find(c.err), std::string::npos) << where << run.err;
  }
}

TEST(Run, BadInputsAreRefusedWithOneLineAndLibcupsRejectsPassUnedited) {
  ScratchDir dir;
  const std::string example = ReadFile(ExamplePath("color-laser.ppd")), gzip = GzipBytes(example);
  std::string bad_crc = gzip, corrupt = gzip;
  bad_crc[bad_crc.size() - 8] ^= 0x55;
  for (size_t at = corrupt.size() / 3; at < corrupt.size() / 3 + 16; ++at) corrupt[at] = ~corrupt[at];
  const std::string one_line = "*PPD-Adobe: \"" + std::string(1 << 20, 'x') + "\"";
  struct Case {
    std::string path;
    int status;
    std::string err;  // the reason, or for status 0 a fragment of the warning
  } cases[] = {
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
      {dir.Write("notppd.txt", "not a PPD\n*ISOCountryCode: \"JP\"\n"), 0, "warning: libcups cannot read it"},
      {dir.Write("one-line.ppd", one_line), 0, ", line 1); passed on unedited"},
      {dir.Write("latin1.txt", "Gr\xFC\xDF\n*PageSize B5/B5: \"\"\n"), 0, "warning: libcups cannot read it"},
  };
  for (const Case& c : cases) {
    const RunResult run = RunTool({"-", c.path}, Locale("DE"));
    EXPECT_EQ(run.status, c.status) << c.path;
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
    const bool as_expected = c.status != 0 ? run.out.empty() && run.err == "ppd-localize: " + c.path + ": " + c.err + "\n"
                                           : run.out == ReadFile(c.path) + "\n" && run.err.find(c.err) != std::string::npos;
    EXPECT_TRUE(as_expected) << run.err;
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
  std::thread writer([&] { std::ofstream(fifo, std::ios::binary) << ReadFile(ppd); });
  EXPECT_EQ(RunTool({"x", fifo}, Locale("TW")).out, want);
  writer.join();
  const RunResult empty = RunTool({"x", "-"}, {}, "", dir.Write("empty", ""));
  EXPECT_EQ(empty.err, "ppd-localize: standard input: empty file\n");
}

// A Shift-JIS copy of an example loses exactly the lines its UTF-8 copy
// loses, and every other byte stays as it was.
TEST(Run, LegacyEncodingsAreEditedByteForByte) {
  std::string utf8;
  std::istringstream lines(ReadFile(ExamplePath("mono13.ppd")));
  for (std::string line; std::getline(lines, line);) {
    if (line.starts_with("*LanguageEncoding:")) line = "*LanguageEncoding: JIS83-RKSJ";
    if (line.starts_with("*ja.") || std::all_of(line.begin(), line.end(), [](unsigned char c) { return c < 0x80; })) utf8 += line + "\n";
  }
  ASSERT_NE(utf8.find("*ja.PageSize Postcard/"), std::string::npos);
  ASSERT_NE(utf8.find("*ja.PageSize EnvChou3/"), std::string::npos);
  ScratchDir dir;
  const std::string sjis = dir.Write("sjis.ppd", Convert(utf8, "SHIFT_JIS", "UTF-8"));
  for (const std::string country : {"TW", "JP"}) {
    const RunResult legacy = RunTool({"x", sjis}, Locale(country)), plain = RunTool({"x", dir.Write("u.ppd", utf8)}, Locale(country));
    EXPECT_TRUE(legacy.status == 0 && legacy.err.empty()) << legacy.err;
    EXPECT_EQ(Convert(legacy.out, "UTF-8", "SHIFT_JIS"), plain.out) << country;
    EXPECT_LT(plain.out.size(), utf8.size()) << country;
  }
}

TEST(Run, OutputReplacesTheFileAtomically) {
  ScratchDir dir;
  const std::string ppd = dir.Write("model.ppd", ReadFile(ExamplePath("mono13.ppd"))), want = Expected("mono13.TW");
  const std::string target = dir.Write("target.ppd", "old\n");
  ASSERT_EQ(chmod(target.c_str(), 0640), 0);
  ASSERT_EQ(symlink("target.ppd", (dir.path() + "/link.ppd").c_str()), 0);
  const RunResult run = RunTool({"--output=" + dir.path() + "/link.ppd", "-", ppd}, Locale("TW"));
  struct stat info, link;
  EXPECT_TRUE(run.status == 0 && run.out.empty() && run.err.empty()) << run.err;
  EXPECT_EQ(ReadFile(target), want);
  EXPECT_TRUE(stat(target.c_str(), &info) == 0 && (info.st_mode & 0777) == 0640);
  EXPECT_TRUE(lstat((dir.path() + "/link.ppd").c_str(), &link) == 0 && S_ISLNK(link.st_mode));
  EXPECT_EQ(RunTool({"--output", ppd, "--country=TW", "-", ppd}).status, 0);  // the input itself
  EXPECT_EQ(ReadFile(ppd), want);
  for (const std::string& failing : {dir.Write("empty.ppd", ""), dir.path()}) {
    const RunResult failed = RunTool({"--output=" + target, "-", failing});
    EXPECT_TRUE(failed.status == 1 && failed.out.empty() && !failed.err.empty());
  }
  const RunResult no_dir = RunTool({"--output=" + dir.path() + "/no/such.ppd", "-", ppd});
  EXPECT_TRUE(no_dir.status == 1 && no_dir.err.find("No such file or directory") != std::string::npos) << no_dir.err;
  EXPECT_EQ(ReadFile(target), want);
  size_t entries = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.path())) ++entries;
  EXPECT_EQ(entries, 4u);  // model, target, link and empty: no temporary file is left behind
}

TEST(Run, ReportNamesEveryPaperOfTheRuleWithItsFate) {
  const RunResult run = RunTool({"--report", "--country=TW", "-", ExamplePath("mono13.ppd")}, Locale("JP"));
  EXPECT_EQ(run.out, Expected("mono13.TW"));
  EXPECT_EQ(run.err, "ppd-localize: report for " + ExamplePath("mono13.ppd") + "\n"
                     "  printer: monochrome laser (MonoLaser), model 13\n"
                     "  country: TW, from --country\n"
                     "  paper 195x270mm: deleted\n  paper 184x260mm: deleted\n  paper 197x273mm: deleted\n"
                     "  paper Postcard: deleted\n  paper EnvYou4: deleted\n  paper EnvChou3: deleted\n"
                     "  paper EnvChou4: deleted\n  paper 3x5: deleted\n"
                     "  changed: *DefaultDuplex: None -> *DefaultDuplex: DuplexNoTumble\n"
                     "  changed: *ISOCountryCode: \"JP\" -> *ISOCountryCode: \"TW\"\n");
}
