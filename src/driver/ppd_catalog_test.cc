// The catalog over scratch directories: recursion, links, loops, shadowing
// and left-out entries; and `cat`'s way back agrees with it.
#include "driver/ppd_catalog.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "test_support.h"

namespace {

TEST(PPDCatalog, WalksLinksShadowsAndWarns) {
  const ScratchDir first, second;
  const std::string a = first.path(), b = second.path();
  ASSERT_EQ(mkdir((a + "/vendor").c_str(), 0755), 0);
  ASSERT_EQ(mkdir((a + "/vendor/deep").c_str(), 0755), 0);
  ASSERT_EQ(mkdir((b + "/vendor").c_str(), 0755), 0);
  first.Write("top.ppd", "x");
  first.Write("vendor/deep/m.ppd.gz", "x");
  first.Write(".hidden.ppd", "x");
  first.Write("vendor/Info.plist", "x");
  first.Write("bad\tname.ppd", "x");
  second.Write("top.ppd", "x");  // shadowed by the first directory's
  second.Write("vendor/other.ppd", "x");
  ASSERT_EQ(symlink((a + "/top.ppd").c_str(), (b + "/link.ppd").c_str()), 0);
  ASSERT_EQ(symlink((a + "/vendor").c_str(), (b + "/linked-dir").c_str()), 0);
  ASSERT_EQ(symlink("..", (a + "/vendor/deep/up").c_str()), 0);  // a loop
  ASSERT_EQ(symlink("missing", (a + "/dangling.ppd").c_str()), 0);
  ASSERT_EQ(mkfifo((a + "/fifo.ppd").c_str(), 0644), 0);

  std::vector<std::string> warnings;
  const auto files = ScanCatalog({a, b, a + "/none"}, [&](const std::string& w) { warnings.push_back(w); });
  const std::map<std::string, std::string> expected = {
      {"linked-dir/deep/m.ppd.gz", b + "/linked-dir/deep/m.ppd.gz"},
      {"link.ppd", b + "/link.ppd"},
      {"top.ppd", a + "/top.ppd"},
      {"vendor/deep/m.ppd.gz", a + "/vendor/deep/m.ppd.gz"},
      {"vendor/other.ppd", b + "/vendor/other.ppd"},
  };
  EXPECT_EQ(files, expected);
  const std::vector<std::string> expected_warnings = {
      a + "/bad\tname.ppd: left out: its name holds a control character",
      a + "/dangling.ppd: left out: No such file or directory",
      a + "/fifo.ppd: left out: not a regular file",
      a + "/vendor/deep/up: left out: a link to a directory above it",
      b + "/linked-dir/deep/up: left out: a link to a directory above it",
      b + "/top.ppd: left out: " + a + "/top.ppd has the same name",
  };
  EXPECT_EQ(warnings, expected_warnings);

  // The way back finds exactly the listed files, and nothing else.
  for (const auto& [relative, path] : files) {
    std::string reason;
    EXPECT_EQ(ResolveCatalogPath({a, b}, relative, &reason), path) << relative << ": " << reason;
  }
  const std::pair<const char*, const char*> refused[] = {
      {"vendor", "names a directory, not a PPD"},
      {"vendor/deep/up/top.ppd", "no such PPD"},
      {"fifo.ppd", "no such PPD"},
      {"dangling.ppd", "no such PPD"},
      {"top.ppd/x", "no such PPD"},
      {"absent.ppd", "no such PPD"},
  };
  for (const auto& [relative, message] : refused) {
    std::string reason;
    EXPECT_FALSE(ResolveCatalogPath({a, b}, relative, &reason)) << relative;
    EXPECT_EQ(reason, message) << relative;
  }
}

}  // namespace
