// The catalog: recursion, links, loops, shadowing, left-out entries; `cat`'s way back agrees.
#include "driver/ppd_catalog.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "test_support.h"

TEST(PPDCatalog, WalksLinksShadowsAndWarns) {
  const ScratchDir first, second;
  const std::string a = first.path(), b = second.path();
  for (const char* name : {"top.ppd", "vendor/deep/m.ppd.gz", ".hidden.ppd", "vendor/Info.plist", "bad\tname.ppd"}) first.Write(name, "x");
  for (const char* name : {"top.ppd", "vendor/other.ppd"}) second.Write(name, "x");  // its top.ppd shadowed by the first's
  std::filesystem::create_symlink(a + "/top.ppd", b + "/link.ppd");
  std::filesystem::create_directory_symlink(a + "/vendor", b + "/linked-dir");
  std::filesystem::create_directory_symlink("..", a + "/vendor/deep/up");  // a loop
  std::filesystem::create_symlink("missing", a + "/dangling.ppd");
  ASSERT_EQ(mkfifo((a + "/fifo.ppd").c_str(), 0644), 0);

  std::vector<std::string> warnings;
  const auto files = ScanCatalog({a, b, a + "/none"}, [&](const std::string& w) { warnings.push_back(w); });
  EXPECT_EQ(files, (std::map<std::string, std::string>{
      {"linked-dir/deep/m.ppd.gz", b + "/linked-dir/deep/m.ppd.gz"}, {"link.ppd", b + "/link.ppd"}, {"top.ppd", a + "/top.ppd"},
      {"vendor/deep/m.ppd.gz", a + "/vendor/deep/m.ppd.gz"}, {"vendor/other.ppd", b + "/vendor/other.ppd"}}));
  EXPECT_EQ(warnings, (std::vector<std::string>{
      a + "/bad\tname.ppd: left out: its name holds a control character", a + "/dangling.ppd: left out: No such file or directory",
      a + "/fifo.ppd: left out: not a regular file", a + "/vendor/deep/up: left out: a link to a directory above it",
      b + "/linked-dir/deep/up: left out: a link to a directory above it", b + "/top.ppd: left out: " + a + "/top.ppd has the same name"}));

  // The way back finds exactly the listed files, and nothing else.
  std::map<std::string, std::string> back = files;  // relative path: its file or why there is none
  for (const char* r : {"vendor/deep/up/top.ppd", "fifo.ppd", "dangling.ppd", "top.ppd/x", "absent.ppd"}) back[r] = "no such PPD";
  back["vendor"] = "names a directory, not a PPD";
  for (const auto& [relative, expected] : back) {
    std::string reason;
    EXPECT_EQ(ResolveCatalogPath({a, b}, relative, &reason).value_or(reason), expected) << relative;
  }
}
