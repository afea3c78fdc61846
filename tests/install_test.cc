// Whole runs as install steps make them with --output: links planted in a
// shared directory (by another user, and swapped in while the tool runs),
// gzip in and out, runs again on their own result, files libcups refuses.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "ppdio/ppd_load.h"
#include "test_support.h"

namespace {

const std::string kOther = "nobody";

// A sticky world-writable directory under /tmp, as /tmp itself, that
// another user can reach.
class SharedDir {
 public:
  SharedDir() : path_("/tmp/ppd-localize-shared-XXXXXX") {
    if (mkdtemp(path_.data()) == nullptr || chmod(path_.c_str(), 01777) != 0) std::abort();
  }
  ~SharedDir() { std::filesystem::remove_all(path_); }
  const std::string& path() const { return path_; }
  // The built tool, copied here for another user to run: the build directory
  // may lie where only its owner can reach (a home directory, a mkdtemp).
  std::string Tool() const {
    const std::string tool = path_ + "/.tool/ppd-localize";
    std::filesystem::create_directories(path_ + "/.tool");
    std::filesystem::copy_file(PPD_LOCALIZE_BINARY, tool, std::filesystem::copy_options::overwrite_existing);
    chmod((path_ + "/.tool").c_str(), 0755);
    chmod(tool.c_str(), 0755);
    return tool;
  }
  // Entries whose names the tool gives its new files.
  int Temporaries() const {
    int n = 0;
    for (const auto& entry : std::filesystem::directory_iterator(path_)) {
      n += entry.path().filename().string().starts_with(".ppd-localize-");
    }
    return n;
  }

 private:
  std::string path_;
};

// Runs `command` (argv) as `user`, or answers nothing when this process
// cannot switch users.
std::optional<RunResult> RunAs(const std::string& user, std::vector<std::string> command,
                               const std::string& stdin_path = "/dev/null") {
  if (geteuid() != 0 || access("/usr/sbin/runuser", X_OK) != 0) return std::nullopt;
  command.insert(command.begin(), {"-u", user, "--"});
  return RunProgram("/usr/sbin/runuser", command, {}, "", stdin_path);
}

std::string Unpacked(const std::string& path) {
  std::string reason;
  return ReadPPDFileBytes(path.c_str(), &reason).value_or("unreadable: " + reason);
}

const std::string kRefused = "not following a symbolic link in a sticky world-writable directory";

}  // namespace

TEST(Install, ALinkPlantedInASharedDirectoryIsNeverFollowed) {
  if (!RunAs(kOther, {"true"})) GTEST_SKIP() << "needs root and runuser to plant links as another user";
  const std::string model = ExamplePath("mono13.ppd");
  SharedDir shared;
  ScratchDir root_only;
  const std::string victim = root_only.Write("victim", "secret\n");
  ASSERT_EQ(RunAs(kOther, {"ln", "-s", victim, shared.path() + "/office.ppd"})->status, 0);
  ASSERT_EQ(RunAs(kOther, {"ln", "-s", root_only.path() + "/new.ppd", shared.path() + "/dangling.ppd"})->status, 0);
  for (const std::string name : {"office.ppd", "dangling.ppd"}) {
    const std::string target = shared.path() + "/" + name;
    const RunResult run = RunTool({"--country=DE", "--output=" + target, "-", model});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.out.empty());
    EXPECT_EQ(run.err, "ppd-localize: " + target + ": " + kRefused +
                           " that belongs to neither the directory's owner nor the caller\n");
  }
  EXPECT_EQ(ReadFile(victim), "secret\n");
  EXPECT_FALSE(std::filesystem::exists(root_only.path() + "/new.ppd"));
  EXPECT_EQ(shared.Temporaries(), 0);

  // As another user: a third user's link is refused, the directory owner's
  // followed; a dangling link of one's own creates nothing.
  const std::string tool = shared.Tool(), theirs = shared.path() + "/theirs";
  ASSERT_EQ(mkdir(theirs.c_str(), 0777), 0);
  ASSERT_EQ(chmod(theirs.c_str(), 0777), 0);
  ASSERT_EQ(RunAs("daemon", {"ln", "-s", theirs + "/x.ppd", shared.path() + "/third.ppd"})->status, 0);
  ASSERT_EQ(symlink((theirs + "/owners.ppd").c_str(), (shared.path() + "/owners.ppd").c_str()), 0);
  ASSERT_EQ(RunAs(kOther, {"ln", "-s", theirs + "/none.ppd", theirs + "/mine.ppd"})->status, 0);
  const std::tuple<std::string, int, std::string> cases[] = {
      {shared.path() + "/third.ppd", 1, kRefused},
      {theirs + "/mine.ppd", 1, "not following a symbolic link to a file that does not exist"},
  };
  for (const auto& [target, status, error] : cases) {
    const std::optional<RunResult> run = RunAs(kOther, {tool, "--country=DE", "--output=" + target, "-", "-"}, model);
    EXPECT_EQ(run->status, status) << target;
    EXPECT_NE(run->err.find(error), std::string::npos) << run->err;
  }
  EXPECT_FALSE(std::filesystem::exists(theirs + "/x.ppd") || std::filesystem::exists(theirs + "/none.ppd"));
  ASSERT_EQ(RunAs(kOther, {"touch", theirs + "/owners.ppd"})->status, 0);
  const std::optional<RunResult> owners =
      RunAs(kOther, {tool, "--country=DE", "--output=" + shared.path() + "/owners.ppd", "-", "-"}, model);
  EXPECT_EQ(owners->status, 0) << owners->err;
  EXPECT_EQ(ReadFile(theirs + "/owners.ppd") + "\n", RunTool({"--country=DE", "-", model}).out);
}

// Another user swaps the target between a file and a link to a file of
// root's, as fast as they can, while root writes the target again and again:
// every run either writes the shared directory's own entry or refuses the
// link, and no write ever reaches the file the link points to.
TEST(Install, ALinkSwappedInWhileTheToolRunsIsNeverFollowed) {
  if (!RunAs(kOther, {"true"})) GTEST_SKIP() << "needs root and runuser to swap links as another user";
  SharedDir shared;
  ScratchDir root_only;
  const std::string victim = root_only.Write("victim", "secret\n"), target = shared.path() + "/office.ppd";
  const std::string swapper =
      "end=$(($(date +%s) + 3)); while [ $(date +%s) -lt $end ]; do "
      "ln -sf " + victim + " " + shared.path() + "/l && mv -fT " + shared.path() + "/l " + target + "; "
      "echo x > " + shared.path() + "/f && mv -fT " + shared.path() + "/f " + target + "; done";
  ASSERT_EQ(RunAs(kOther, {"touch", target})->status, 0);  // theirs, so that they can swap it
  std::thread other([&] { RunAs(kOther, {"sh", "-c", swapper}); });
  int written = 0, refused = 0;
  const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(2500);
  while (std::chrono::steady_clock::now() < until) {
    const RunResult run = RunTool({"--country=DE", "--output=" + target, "-", ExamplePath("mono13.ppd")});
    written += run.status == 0;
    refused += run.status == 1 && run.err.find(kRefused) != std::string::npos;
    EXPECT_TRUE(run.status == 0 || run.err.find(kRefused) != std::string::npos) << run.err;
  }
  other.join();
  EXPECT_EQ(ReadFile(victim), "secret\n");
  EXPECT_EQ(shared.Temporaries(), 0);
  std::printf("%d runs wrote the shared directory's entry, %d refused the link\n", written, refused);
}

TEST(Install, OutputIsGzipForGzNamesAndASecondRunLeavesTheFileAsItIs) {
  ScratchDir dir;
  const std::string model = ReadFile(ExamplePath("mono13.ppd"));
  const std::string unterminated = model.substr(0, model.size() - 1);  // no line end after the last line
  for (const std::string& text : {model, unterminated, model.substr(0, model.size() - 1) + "\r\n"}) {
    for (const std::string name : {"f.ppd", "f.ppd.gz"}) {
      const bool gz = name.ends_with(".gz");
      const std::string file = dir.Write(name, gz ? GzipBytes(text) : text);
      const std::string out = RunTool({"--country=TW", "-", file}).out;
      const std::string once = (text.back() == '\n' ? out.substr(0, out.size() - 1) : out);
      for (int run = 0; run < 3; ++run) {
        const RunResult again = RunTool({"--country=TW", "--output=" + file, "-", file});
        EXPECT_TRUE(again.status == 0 && again.err.empty()) << again.err;
        EXPECT_EQ(Unpacked(file), once) << name << " run " << run;
      }
      const std::string bytes = ReadFile(file);
      EXPECT_EQ(bytes.starts_with("\x1f\x8b"), gz) << name;
      EXPECT_EQ(RunTool({"--country=TW", "--output=" + file, "-", file}).status, 0);
      EXPECT_EQ(ReadFile(file), bytes) << name;  // byte for byte, gzip too
      EXPECT_EQ(RunTool({"--country=TW", "-", file}).out, once + "\n");  // standard output as before
    }
  }
}

TEST(Install, AFileLibcupsRefusesIsLeftAsItWasUnderOutput) {
  ScratchDir dir;
  const std::string notes = dir.Write("notes.txt", "no PPD"), other = dir.path() + "/other.ppd";
  struct stat before, after;
  ASSERT_EQ(stat(notes.c_str(), &before), 0);
  for (const std::string& target : {notes, other}) {
    const RunResult run = RunTool({"--report", "--output=" + target, "-", notes});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "ppd-localize: " + notes + ": warning: libcups cannot read it as a PPD (Missing asterisk in "
                       "column 1, line 0); " + target + " left as it was\nppd-localize: report for " + notes +
                       "\n  printer: libcups cannot read it as a PPD; nothing was edited, and " + target +
                       " was left as it was\n");
  }
  ASSERT_EQ(stat(notes.c_str(), &after), 0);
  EXPECT_EQ(ReadFile(notes), "no PPD");
  EXPECT_EQ(after.st_ino, before.st_ino);
  EXPECT_FALSE(std::filesystem::exists(other));
}

// A full file system: the run fails with the system's reason, plain or
// gzip, and leaves the file as it was and no temporary file behind.
TEST(Install, AFullFileSystemFailsTheRunAndLeavesTheFile) {
  ScratchDir dir;
  const std::string mount = dir.path() + "/small";
  std::filesystem::create_directory(mount);
  if (geteuid() != 0 || RunProgram("/usr/bin/mount", {"-t", "tmpfs", "-o", "size=16k", "tmpfs", mount}).status != 0) {
    GTEST_SKIP() << "needs root to mount a small tmpfs";
  }
  const std::string model = ExamplePath("mono13.ppd");  // 16 KB, some 4 KB packed
  for (const std::string name : {"office.ppd", "office.ppd.gz"}) {
    const std::string target = mount + "/" + name;
    {
      std::ofstream(target) << std::string(14000, 'o');  // the four pages
    }
    const RunResult run = RunTool({"--country=DE", "--output=" + target, "-", model});
    EXPECT_EQ(run.status, 1) << name;
    EXPECT_NE(run.err.find("No space left on device"), std::string::npos) << run.err;
    EXPECT_TRUE(ReadFile(target) == std::string(14000, 'o')) << name << " was replaced";
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(mount), {}), 1) << name;
    std::filesystem::remove(target);
  }
  EXPECT_EQ(RunProgram("/usr/bin/umount", {mount}).status, 0);
}
