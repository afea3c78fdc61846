// Resolving the --output path: which links are followed, which refused, and
// what each path ends at. The rows with links owned by another user need root
// (to give a link away with lchown) and are skipped without it.
#include "ppdio/output_path.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "test_support.h"

namespace {

constexpr uid_t kOther = 65534;  // nobody

void Link(const std::string& target, const std::string& link, uid_t owner) {
  ASSERT_EQ(symlink(target.c_str(), link.c_str()), 0) << link;
  if (owner != geteuid()) {
    ASSERT_EQ(lchown(link.c_str(), owner, owner), 0) << link;
  }
}

void Dir(const std::string& path, mode_t mode, uid_t owner) {
  ASSERT_EQ(mkdir(path.c_str(), 0700), 0) << path;
  ASSERT_EQ(chmod(path.c_str(), mode), 0);
  if (owner != geteuid()) {
    ASSERT_EQ(chown(path.c_str(), owner, owner), 0);
  }
}

}  // namespace

TEST(OutputPath, FollowsOnlyTheLinksTheProtectedSymlinkRuleAllows) {
  if (geteuid() != 0) GTEST_SKIP() << "needs root to make links owned by another user";
  ScratchDir scratch;
  const std::string d = scratch.path();
  scratch.Write("target.ppd", "old\n");
  ASSERT_NO_FATAL_FAILURE(Dir(d + "/stk", 01777, 0));          // like /tmp
  ASSERT_NO_FATAL_FAILURE(Dir(d + "/stk-other", 01777, kOther));  // sticky, world-writable, another's
  ASSERT_NO_FATAL_FAILURE(Dir(d + "/sticky", 01755, 0));        // sticky, not world-writable
  ASSERT_NO_FATAL_FAILURE(Dir(d + "/open", 0777, 0));           // world-writable, not sticky
  ASSERT_NO_FATAL_FAILURE(Link("../target.ppd", d + "/stk/mine", 0));
  ASSERT_NO_FATAL_FAILURE(Link(d + "/target.ppd", d + "/stk/planted", kOther));
  ASSERT_NO_FATAL_FAILURE(Link(d, d + "/stk/planted-dir", kOther));
  ASSERT_NO_FATAL_FAILURE(Link("../target.ppd", d + "/stk-other/owners", kOther));
  ASSERT_NO_FATAL_FAILURE(Link("../target.ppd", d + "/sticky/others", kOther));
  ASSERT_NO_FATAL_FAILURE(Link("../target.ppd", d + "/open/others", kOther));
  ASSERT_NO_FATAL_FAILURE(Link("stk/mine", d + "/via-mine", 0));
  ASSERT_NO_FATAL_FAILURE(Link("stk/planted", d + "/via-planted", 0));

  const std::string refused = "not following a symbolic link in a sticky world-writable directory";
  const std::tuple<std::string, std::string, std::string> cases[] = {
      // path, the file it ends at (empty when refused), what the refusal says
      {"stk/mine", d + "/stk/../target.ppd", ""},
      {"stk/planted", "", d + "/stk/planted: " + refused},
      {"stk/planted-dir/new.ppd", "", d + "/stk/planted-dir: " + refused},
      {"via-planted", "", d + "/stk/planted: " + refused},  // a link on the way to another
      {"via-mine", d + "/stk/../target.ppd", ""},
      {"stk-other/owners", d + "/stk-other/../target.ppd", ""},  // the directory's owner's own link
      {"sticky/others", d + "/sticky/../target.ppd", ""},
      {"open/others", d + "/open/../target.ppd", ""},
  };
  for (const auto& [path, file, error] : cases) {
    std::string said;
    const std::optional<OutputPlace> place = ResolveOutputPath(d + "/" + path, &said);
    EXPECT_EQ(place ? place->file : "", file) << path;
    EXPECT_EQ(said.substr(0, error.size()), error) << path;
    EXPECT_EQ(said.empty(), error.empty()) << path;
    EXPECT_TRUE(!place || (place->existing && S_ISREG(place->existing->st_mode))) << path;
  }
}

TEST(OutputPath, ResolvesNamesAndLinksAndRefusesWhatCannotBeReplaced) {
  ScratchDir scratch;
  const std::string d = scratch.path();
  scratch.Write("sub/target.ppd", "old\n");
  ASSERT_EQ(symlink("sub/target.ppd", (d + "/relative").c_str()), 0);
  ASSERT_EQ(symlink((d + "/relative").c_str(), (d + "/absolute").c_str()), 0);
  ASSERT_EQ(symlink("sub", (d + "/sub-link").c_str()), 0);
  ASSERT_EQ(symlink("missing.ppd", (d + "/dangling").c_str()), 0);
  ASSERT_EQ(symlink("sub/missing/x.ppd", (d + "/dangling-dir").c_str()), 0);
  ASSERT_EQ(symlink("loop-b", (d + "/loop-a").c_str()), 0);
  ASSERT_EQ(symlink("loop-a", (d + "/loop-b").c_str()), 0);
  ASSERT_EQ(mkfifo((d + "/fifo").c_str(), 0600), 0);

  const std::tuple<std::string, std::string, bool, std::string> cases[] = {
      // path, the file it ends at, whether a file is there, or what the refusal says
      {"sub/target.ppd", d + "/sub/target.ppd", true, ""},
      {"relative", d + "/sub/target.ppd", true, ""},
      {"absolute", d + "/sub/target.ppd", true, ""},
      {"sub-link/target.ppd", d + "/sub/target.ppd", true, ""},
      {"sub/../sub/./new.ppd", d + "/sub/../sub/./new.ppd", false, ""},
      {"new.ppd", d + "/new.ppd", false, ""},
      {"dangling", "", false, d + "/missing.ppd: not following a symbolic link to a file that does not exist"},
      {"dangling-dir", "", false, d + "/sub/missing: No such file or directory"},
      {"loop-a", "", false, d + "/loop-a: Too many levels of symbolic links"},
      {"sub", "", false, d + "/sub: Is a directory"},
      {"sub/", "", false, d + "/sub/: Is a directory"},
      {"sub/..", "", false, d + "/sub/..: Is a directory"},
      {"fifo", "", false, d + "/fifo: Invalid argument"},
      {"sub/target.ppd/x", "", false, d + "/sub/target.ppd: Not a directory"},
      {"no/such.ppd", "", false, d + "/no: No such file or directory"},
  };
  for (const auto& [path, file, exists, error] : cases) {
    std::string said;
    const std::optional<OutputPlace> place = ResolveOutputPath(d + "/" + path, &said);
    EXPECT_EQ(place ? place->file : "", file) << path;
    EXPECT_EQ(place && place->existing.has_value(), exists) << path;
    EXPECT_EQ(said.substr(0, error.size()), error) << path;
    EXPECT_EQ(said.empty(), error.empty()) << path << said;
  }
  EXPECT_FALSE(std::filesystem::exists(d + "/missing.ppd"));

  // A relative path starts at the working directory.
  const std::string saved = std::filesystem::current_path();
  std::filesystem::current_path(d);
  std::string said;
  const std::optional<OutputPlace> here = ResolveOutputPath("relative", &said);
  std::filesystem::current_path(saved);
  ASSERT_TRUE(here.has_value()) << said;
  EXPECT_EQ(here->file, "sub/target.ppd");
  EXPECT_EQ(here->directory, "sub");
  EXPECT_EQ(here->name, "target.ppd");
}
