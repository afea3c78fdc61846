// The driver's commands in-process and the built program: list, cat (byte
// for byte the core's run), hostile names, the country's order, usage.
#include "driver/driver_commands.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "driver/driver_country.h"
#include "setup/setup_ppd.h"
#include "test_support.h"

namespace {

// The locale variables set for a scope, the others unset.
class ScopedLocale {
 public:
  explicit ScopedLocale(const std::map<std::string, std::string>& values) {
    for (const char* name : {"LC_ALL", "LC_PAPER", "LANG"}) {
      if (const char* value = std::getenv(name)) saved_[name] = value;
      unsetenv(name);
    }
    for (const auto& [name, value] : values) setenv(name.c_str(), value.c_str(), 1);
  }
  ~ScopedLocale() {
    for (const char* name : {"LC_ALL", "LC_PAPER", "LANG"}) unsetenv(name);
    for (const auto& [name, value] : saved_) setenv(name.c_str(), value.c_str(), 1);
  }

 private:
  std::map<std::string, std::string> saved_;
};

// A command's status and what it wrote.
struct Output {
  int status;
  std::string out, err;
};
template <typename Run>
Output Capture(Run run) {
  char *out = nullptr, *err = nullptr;
  size_t out_size = 0, err_size = 0;
  FILE* out_file = open_memstream(&out, &out_size);
  FILE* err_file = open_memstream(&err, &err_size);
  const int status = run(out_file, err_file);
  std::fclose(out_file);
  std::fclose(err_file);
  Output result{status, std::string(out, out_size), std::string(err, err_size)};
  std::free(out);
  std::free(err);
  return result;
}

DriverConfig ExamplesConfig() {
  DriverConfig config;
  config.ppd_directories = {std::string(PPD_LOCALIZE_SOURCE_DIR) + "/examples"};
  return config;
}

TEST(DriverCountry, ConfigurationThenLocaleThenDefault) {
  DriverConfig config;
  const struct {
    std::map<std::string, std::string> locale;
    std::optional<std::string> country, default_country;
    const char* expected;
  } cases[] = {
      {{{"LANG", "zh_TW.UTF8"}}, {}, "DE", "TW"},
      {{{"LANG", "en.UTF8"}}, {}, "DE", "DE"},
      {{{"LANG", "C"}}, {}, {}, ""},
      {{{"LC_ALL", "ja_JP"}, {"LANG", "zh_TW.UTF8"}}, {}, {}, "JP"},
      {{{"LC_PAPER", "de_AT"}, {"LANG", "en"}}, {}, "US", "AT"},
      {{{"LANG", "zh_TW.UTF8"}}, "KR", "DE", "KR"},
      {{{"LANG", "zh_TW.UTF8"}}, "", "DE", ""},  // Country with no value: no country
  };
  for (const auto& c : cases) {
    const ScopedLocale locale(c.locale);
    config.country = c.country;
    config.default_country = c.default_country;
    EXPECT_EQ(DriverCountry(config), c.expected) << c.locale.begin()->second;
  }
}

TEST(DriverCommands, CatIsTheCoreRunForEachListedExample) {
  const Output list = Capture([](FILE* out, FILE* err) { return RunList(ExamplesConfig(), out, err); });
  ASSERT_EQ(list.status, 0);
  EXPECT_EQ(list.err, "");  // Info.plist is passed over silently
  EXPECT_NE(list.out.find("\"ppd-localize:mono13.ppd\" en,fr,de,ja,zh_TW \"Example Imaging\""), std::string::npos);
  int listed = 0;
  for (const char* name : {"color-laser.ppd", "mono13.ppd"}) {
    EXPECT_NE(list.out.find(std::string("\"ppd-localize:") + name + "\""), std::string::npos) << name;
    for (const char* lang : {"zh_TW.UTF8", "en.UTF8", "de_DE.UTF-8"}) {
      const ScopedLocale locale(std::map<std::string, std::string>{{"LANG", lang}});
      DriverConfig config = ExamplesConfig();
      config.default_country = "JP";
      const Output cat =
          Capture([&](FILE* out, FILE* err) { return RunCat(config, std::string("ppd-localize:") + name, out, err); });
      RunOptions options;
      options.country = DriverCountry(config);
      const Output core = Capture([&](FILE* out, FILE* err) { return setupPPD(ExamplePath(name).c_str(), options, out, err); });
      EXPECT_EQ(cat.status, 0) << cat.err;
      EXPECT_EQ(cat.err, "");
      EXPECT_EQ(cat.out, core.out) << name << " " << lang;
      ++listed;
    }
  }
  EXPECT_EQ(listed, 6);
}

TEST(DriverCommands, HostileNamesGiveOneLineAndNoOutput) {
  for (const std::string& name : std::vector<std::string>{"", "ppd-localize:/etc/passwd", "ppd-localize:../README.md", "ppd-localize:Info.plist",
                                 "ppd-localize:missing.ppd", "ppd-localize:mono13.ppd/x", "ppd-localize:a\nERROR: x",
                                 "mono13.ppd", "ppd-localize:" + std::string(300, 'a')}) {
    const Output cat = Capture([&](FILE* out, FILE* err) { return RunCat(ExamplesConfig(), name, out, err); });
    EXPECT_EQ(cat.status, 1) << name;
    EXPECT_EQ(cat.out, "") << name;
    EXPECT_EQ(cat.err.find('\n'), cat.err.size() - 1) << cat.err;
    EXPECT_EQ(cat.err.rfind("ERROR: ppd-localize: \"", 0), 0u) << cat.err;
  }
  const ScratchDir dir;
  dir.Write("readme.ppd", "not a PPD\n");
  DriverConfig config;
  config.ppd_directories = {dir.path()};
  const Output list = Capture([&](FILE* out, FILE* err) { return RunList(config, out, err); });
  EXPECT_EQ(list.out, "");
  EXPECT_EQ(list.err, "WARNING: ppd-localize: " + dir.path() + "/readme.ppd: left out: not a PPD (no *PPD-Adobe: first line)\n");
  const Output cat = Capture([&](FILE* out, FILE* err) { return RunCat(config, "ppd-localize:readme.ppd", out, err); });
  EXPECT_EQ(cat.status, 1);
  EXPECT_EQ(cat.out, "");
  EXPECT_EQ(cat.err, "ERROR: ppd-localize: " + dir.path() + "/readme.ppd: not listed: not a PPD (no *PPD-Adobe: first line)\n");
}

TEST(DriverProgram, UsageConfigurationAndWriteErrors) {
  const ScratchDir root;
  const std::map<std::string, std::string> env = {{"CUPS_SERVERROOT", root.path()}};
  const std::string usage = "Usage: ppd-localize list | ppd-localize cat PPD-NAME\n";
  for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{{}, {"show"}, {"cat"}, {"list", "x"}}) {
    const RunResult run = RunProgram(PPD_LOCALIZE_DRIVER_BINARY, args, env);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, usage);
  }
  root.Write("ppd-localize.conf", "PPDDirectory " + std::string(PPD_LOCALIZE_SOURCE_DIR) + "/examples\n");
  const RunResult list = RunProgram(PPD_LOCALIZE_DRIVER_BINARY, {"list"}, env);
  EXPECT_EQ(list.status, 0);
  EXPECT_EQ(std::count(list.out.begin(), list.out.end(), '\n'), 2);
  std::map<std::string, std::string> taiwan = env;
  taiwan["LANG"] = "zh_TW.UTF8";  // as cupsd sets it
  const RunResult cat = RunProgram(PPD_LOCALIZE_DRIVER_BINARY, {"cat", "ppd-localize:mono13.ppd"}, taiwan);
  EXPECT_EQ(cat.status, 0);
  EXPECT_EQ(cat.out, RunTool({"--country=TW", "-", ExamplePath("mono13.ppd")}).out);
  EXPECT_NE(cat.out.find("\n*ISOCountryCode: \"TW\""), std::string::npos);
  EXPECT_EQ(RunProgram(PPD_LOCALIZE_DRIVER_BINARY, {"list"}, env, "/dev/full").status, 1);
  EXPECT_EQ(RunProgram(PPD_LOCALIZE_DRIVER_BINARY, {"cat", "ppd-localize:mono13.ppd"}, env, "/dev/full").status, 1);
  root.Write("ppd-localize.conf", "# ok\nCountry Taiwan\n");
  for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{{"list"}, {"cat", "ppd-localize:mono13.ppd"}}) {
    const RunResult run = RunProgram(PPD_LOCALIZE_DRIVER_BINARY, args, env);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "ERROR: ppd-localize: " + root.path() +
                           "/ppd-localize.conf: line 2: Country takes two ASCII letters or three digits, not \"Taiwan\"\n");
  }
}

}  // namespace
