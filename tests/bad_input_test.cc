// The bad-input catalogue: every kind of broken or hostile input the binary
// may be handed, each with the outcome the README's "Reliability" section
// promises. A file that cannot be loaded gives exit status 1, nothing on
// standard output and exactly one line `ppd-localize: <path>: <reason>` on
// standard error; a text file that libcups rejects as a PPD comes back
// unedited with one warning line and exit status 0. Nothing crashes, hangs or
// prints part of a PPD.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/capability.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "test_support.h"

namespace {

using namespace std::chrono_literals;

std::string Message(const std::string& path, const std::string& reason) {
  return "ppd-localize: " + path + ": " + reason + "\n";
}

// A load failure: status 1, no output, one line naming the path and reason.
void ExpectRefused(const RunResult& result, const std::string& path, const std::string& reason) {
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.out, "");
  EXPECT_EQ(result.err, Message(path, reason));
}

// A text that libcups will not open: printed as it was, one warning line.
void ExpectPassedThrough(const RunResult& result, const std::string& path, const std::string& text) {
  EXPECT_EQ(result.status, 0);
  EXPECT_TRUE(result.out == text + "\n") << "the output is not the input unedited plus one newline";
  const std::string head = "ppd-localize: " + path + ": warning: libcups cannot read it as a PPD (";
  EXPECT_TRUE(result.err.starts_with(head)) << result.err;
  EXPECT_TRUE(result.err.ends_with("); printed unedited\n")) << result.err;
  EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1) << result.err;
}

std::string Example() { return ReadFile(ExamplePath("mono13.ppd")); }

// The example with `bytes` in a comment line after its first line.
std::string ExampleWith(const std::string& bytes) {
  std::string text = Example();
  text.insert(text.find('\n') + 1, "*% " + bytes + " here\n");
  return text;
}

struct GuardedRun {
  RunResult result;
  bool timed_out = false;
  std::chrono::duration<double> took{};
};

constexpr int kCannotDropCapabilities = 125;

// Runs the binary like RunTool, but kills it (and fails the run) when it takes
// longer than `limit`, so that a regression that blocks on a FIFO or reads an
// endless device makes the test fail instead of hang. With
// `without_file_override` the child gives up the capabilities that let root
// read any file, so that permissions are checked as for anyone else.
GuardedRun RunGuarded(const std::vector<std::string>& args, std::chrono::seconds limit,
                      bool without_file_override = false) {
  ScratchDir dir;
  const std::string out_path = dir.path() + "/out";
  const std::string err_path = dir.path() + "/err";
  std::vector<std::string> argv_storage = {PPD_LOCALIZE_BINARY};
  argv_storage.insert(argv_storage.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& arg : argv_storage) argv.push_back(arg.data());
  argv.push_back(nullptr);
  std::string path_entry = "PATH=/usr/bin:/bin";
  char* envp[] = {path_entry.data(), nullptr};

  GuardedRun run;
  const auto start = std::chrono::steady_clock::now();
  const pid_t pid = fork();
  if (pid == 0) {
    const int in = open("/dev/null", O_RDONLY);
    const int out = open(out_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const int err = open(err_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (in < 0 || out < 0 || err < 0 || dup2(in, 0) < 0 || dup2(out, 1) < 0 || dup2(err, 2) < 0) _exit(126);
    if (without_file_override && (prctl(PR_CAPBSET_DROP, CAP_DAC_OVERRIDE, 0, 0, 0) != 0 ||
                                  prctl(PR_CAPBSET_DROP, CAP_DAC_READ_SEARCH, 0, 0, 0) != 0)) {
      _exit(kCannotDropCapabilities);
    }
    execve(argv[0], argv.data(), envp);
    _exit(127);
  }
  if (pid < 0) {
    ADD_FAILURE() << "fork: " << std::strerror(errno);
    return run;
  }
  int wstatus = 0;
  for (;;) {
    const pid_t done = waitpid(pid, &wstatus, WNOHANG);
    if (done == pid) break;
    if (done < 0 && errno != EINTR) break;
    if (std::chrono::steady_clock::now() - start > limit) {
      run.timed_out = true;
      kill(pid, SIGKILL);
      waitpid(pid, &wstatus, 0);
      break;
    }
    std::this_thread::sleep_for(5ms);
  }
  run.took = std::chrono::steady_clock::now() - start;
  if (!run.timed_out && WIFEXITED(wstatus)) run.result.status = WEXITSTATUS(wstatus);
  run.result.out = ReadFile(out_path);
  run.result.err = ReadFile(err_path);
  return run;
}

TEST(BadInput, MissingPath) {
  ScratchDir dir;
  const std::string path = dir.path() + "/no-such.ppd";
  ExpectRefused(RunTool({"-", path}), path, std::strerror(ENOENT));
}

TEST(BadInput, Directory) {
  ScratchDir dir;
  ExpectRefused(RunTool({"-", dir.path()}), dir.path(), "not a regular file");
}

TEST(BadInput, FileWithoutReadPermission) {
  ScratchDir dir;
  const std::string path = dir.Write("locked.ppd", Example());
  ASSERT_EQ(chmod(path.c_str(), 0), 0);
  if (geteuid() != 0) {
    ExpectRefused(RunTool({"-", path}), path, std::strerror(EACCES));
    return;
  }
  // Root reads every file; the child gives up that power first.
  const GuardedRun run = RunGuarded({"-", path}, 30s, /*without_file_override=*/true);
  if (run.result.status == kCannotDropCapabilities) GTEST_SKIP() << "cannot drop CAP_DAC_OVERRIDE here";
  ASSERT_FALSE(run.timed_out);
  ExpectRefused(run.result, path, std::strerror(EACCES));
}

TEST(BadInput, EmptyFile) {
  ScratchDir dir;
  const std::string path = dir.Write("empty.ppd", "");
  ExpectRefused(RunTool({"-", path}), path, "empty file");
}

TEST(BadInput, OnlyAZeroByte) {
  ScratchDir dir;
  const std::string path = dir.Write("zero.ppd", std::string(1, '\0'));
  ExpectRefused(RunTool({"-", path}), path, "not a text file (it holds a zero byte)");
}

TEST(BadInput, ZeroByteInTheMiddle) {
  ScratchDir dir;
  std::string text = Example();
  text.insert(text.size() / 2, 1, '\0');
  const std::string path = dir.Write("middle-zero.ppd", text);
  ExpectRefused(RunTool({"-", path}), path, "not a text file (it holds a zero byte)");
}

// Devices and FIFOs are refused before anything is opened: reading /dev/zero
// would never end and opening a FIFO without a writer would block.
TEST(BadInput, DevZeroIsRefusedAtOnce) {
  const GuardedRun run = RunGuarded({"-", "/dev/zero"}, 10s);
  ASSERT_FALSE(run.timed_out) << "the binary was still running after 10 s";
  EXPECT_LT(run.took, 5s);
  ExpectRefused(run.result, "/dev/zero", "not a regular file");
}

TEST(BadInput, FifoIsRefusedAtOnce) {
  ScratchDir dir;
  const std::string path = dir.path() + "/fifo.ppd";
  ASSERT_EQ(mkfifo(path.c_str(), 0600), 0) << std::strerror(errno);
  const GuardedRun run = RunGuarded({"-", path}, 10s);
  ASSERT_FALSE(run.timed_out) << "the binary was still running after 10 s";
  EXPECT_LT(run.took, 5s);
  ExpectRefused(run.result, path, "not a regular file");
}

struct BadUtf8 {
  const char* name;
  std::string bytes;
  bool at_end;  // the file ends inside the sequence
};

// Test logs name the case, not the struct's bytes.
void PrintTo(const BadUtf8& bad, std::ostream* os) { *os << bad.name; }

class InvalidUtf8 : public testing::TestWithParam<BadUtf8> {};

TEST_P(InvalidUtf8, IsRefused) {
  ScratchDir dir;
  const BadUtf8& bad = GetParam();
  const std::string text = bad.at_end ? Example() + "*% " + bad.bytes : ExampleWith(bad.bytes);
  const std::string path = dir.Write(std::string(bad.name) + ".ppd", text);
  ExpectRefused(RunTool({"-", path}), path, "not valid UTF-8");
}

INSTANTIATE_TEST_SUITE_P(
    BadInput, InvalidUtf8,
    testing::Values(BadUtf8{"OverlongSlash", "\xC0\xAF", false},
                    BadUtf8{"OverlongThreeBytes", "\xE0\x80\xAF", false},
                    BadUtf8{"LoneContinuation", "\x80", false},
                    BadUtf8{"EncodedSurrogate", "\xED\xA0\x80", false},
                    BadUtf8{"TruncatedSequence", "\xE6\x97", false},
                    BadUtf8{"TruncatedAtEndOfFile", "\xE6\x97", true},
                    BadUtf8{"BeyondU10FFFF", "\xF4\x90\x80\x80", false},
                    BadUtf8{"LatinOneByte", "Gr\xFC\xDF", false}),
    [](const testing::TestParamInfo<BadUtf8>& info) { return std::string(info.param.name); });

TEST(BadInput, TruncatedGzip) {
  ScratchDir dir;
  const std::string gzip = GzipBytes(Example());
  for (const size_t keep : {size_t{10}, gzip.size() / 2, gzip.size() - 4}) {
    SCOPED_TRACE("kept " + std::to_string(keep) + " of " + std::to_string(gzip.size()) + " bytes");
    const std::string path = dir.Write("truncated-" + std::to_string(keep) + ".ppd.gz", gzip.substr(0, keep));
    ExpectRefused(RunTool({"-", path}), path, "gzip data is truncated or corrupt");
  }
}

TEST(BadInput, GzipWithWrongChecksum) {
  ScratchDir dir;
  std::string gzip = GzipBytes(Example());
  gzip[gzip.size() - 8] ^= 0x55;  // first byte of the CRC-32 in the trailer
  const std::string path = dir.Write("bad-crc.ppd.gz", gzip);
  ExpectRefused(RunTool({"-", path}), path, "gzip data is truncated or corrupt");
}

TEST(BadInput, GzipWithCorruptData) {
  ScratchDir dir;
  std::string gzip = GzipBytes(Example());
  for (size_t at = gzip.size() / 3; at < gzip.size() / 3 + 16; ++at) gzip[at] = static_cast<char>(~gzip[at]);
  const std::string path = dir.Write("corrupt.ppd.gz", gzip);
  const RunResult result = RunTool({"-", path});
  // zlib notices broken deflate data as a read error; data that still
  // inflates fails the trailer's checksum. Either way: refused, one line.
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.out, "");
  EXPECT_TRUE(result.err == Message(path, "read error: " + std::string(std::strerror(EIO))) ||
              result.err == Message(path, "gzip data is truncated or corrupt"))
      << result.err;
}

std::string RandomBytes(size_t count, uint32_t seed, bool without_zero) {
  std::mt19937 random(seed);
  std::string bytes(count, '\0');
  for (char& byte : bytes) {
    auto value = static_cast<unsigned char>(random() >> 24);
    if (without_zero && value == 0) value = 1;
    byte = static_cast<char>(value);
  }
  return bytes;
}

TEST(BadInput, RandomBinary) {
  ScratchDir dir;
  const std::string path = dir.Write("random.bin", RandomBytes(64 * 1024, 20240601, false));
  ExpectRefused(RunTool({"-", path}), path, "not a text file (it holds a zero byte)");
}

TEST(BadInput, RandomBinaryWithoutZeroBytes) {
  ScratchDir dir;
  const std::string path = dir.Write("random-nonzero.bin", RandomBytes(64 * 1024, 20240601, true));
  ExpectRefused(RunTool({"-", path}), path, "not valid UTF-8");
}

// 100 MiB of valid UTF-8 on one line, starting like a PPD: libcups refuses
// lines longer than 255 characters, so it comes back unedited with a warning.
TEST(BadInput, HundredMegabyteSingleLine) {
  constexpr size_t kSize = size_t{100} << 20;
  const std::string head = "*PPD-Adobe: \"4.3 ";
  const std::string unit = "日本語のテキスト PPD 0123456789 ";
  std::string text;
  text.reserve(kSize);
  text += head;
  while (text.size() + unit.size() < kSize - 1) text += unit;
  text.append(kSize - 1 - text.size(), 'x');
  text += '"';
  ASSERT_EQ(text.size(), kSize);
  ASSERT_EQ(text.find('\n'), std::string::npos);
  ScratchDir dir;
  const std::string path = dir.Write("one-line.ppd", text);
  const auto start = std::chrono::steady_clock::now();
  const RunResult result = RunTool({"-", path}, {{"LC_ALL", "de_DE.UTF-8"}});
  EXPECT_LT(std::chrono::steady_clock::now() - start, 60s);
  ExpectPassedThrough(result, path, text);
  // libcups words its reason in the locale's language; the place is line 1.
  EXPECT_TRUE(result.err.ends_with(", line 1); printed unedited\n")) << result.err;
}

// Old Mac files end their lines in CR alone. libcups reads them; the run edits
// them like any other, keeps their CR line ends and removes whole lines only.
TEST(BadInput, CarriageReturnLineEnds) {
  std::string text = ReadFile(ExamplePath("color-laser.ppd"));
  ASSERT_EQ(text.find('\r'), std::string::npos);
  std::replace(text.begin(), text.end(), '\n', '\r');
  ScratchDir dir;
  const std::string path = dir.Write("cr.ppd", text);
  // Japan: the colour rows delete paper sizes and rewrite nothing.
  const RunResult result = RunTool({"-", path}, {{"LC_ALL", "ja_JP.UTF-8"}});
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.err, "");
  ASSERT_TRUE(result.out.ends_with("\n"));
  const std::string body = result.out.substr(0, result.out.size() - 1);
  EXPECT_EQ(body.find('\n'), std::string::npos) << "a line end other than CR crept in";
  EXPECT_EQ(body.find("*PageSize Executive/"), std::string::npos) << "Executive was not deleted";
  EXPECT_NE(body.find("*PageSize A4/"), std::string::npos);
  // Every output line is an input line, in order.
  auto lines = [](const std::string& cr_text) {
    std::vector<std::string> split;
    for (size_t at = 0; at < cr_text.size();) {
      const size_t end = std::min(cr_text.find('\r', at), cr_text.size());
      split.push_back(cr_text.substr(at, end - at));
      at = end + 1;
    }
    return split;
  };
  const std::vector<std::string> in = lines(text);
  const std::vector<std::string> out = lines(body);
  size_t next = 0;
  for (const std::string& line : out) {
    while (next < in.size() && in[next] != line) ++next;
    ASSERT_LT(next, in.size()) << "output line not in the input (in order): " << line;
    ++next;
  }
  EXPECT_LT(out.size(), in.size());
  EXPECT_TRUE(OpenPPDText(body)) << "libcups cannot open the output";
}

TEST(BadInput, PPDThatLibcupsRejects) {
  // The example without its *PPD-Adobe header line.
  std::string text = Example();
  text.erase(0, text.find('\n') + 1);
  ScratchDir dir;
  const std::string path = dir.Write("headless.ppd", text);
  ASSERT_FALSE(OpenPPDText(text));
  // A country whose rows would delete sizes: nothing is edited all the same.
  ExpectPassedThrough(RunTool({"-", path}, {{"LC_ALL", "de_DE.UTF-8"}}), path, text);
}

TEST(BadInput, SymlinkLoop) {
  ScratchDir dir;
  const std::string first = dir.path() + "/a.ppd";
  const std::string second = dir.path() + "/b.ppd";
  ASSERT_EQ(symlink(second.c_str(), first.c_str()), 0);
  ASSERT_EQ(symlink(first.c_str(), second.c_str()), 0);
  ExpectRefused(RunTool({"-", first}), first, std::strerror(ELOOP));
}

TEST(BadInput, OutputToDevFull) {
  const std::string path = ExamplePath("mono13.ppd");
  const RunResult result = RunTool({"-", path}, {{"LC_ALL", "de_DE.UTF-8"}}, "/dev/full");
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.err, Message(path, "cannot write the output: " + std::string(std::strerror(ENOSPC))));
}

}  // namespace
