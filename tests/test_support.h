// Helpers shared by the tests.
#ifndef PPDLOCALIZE_TESTS_TEST_SUPPORT_H_
#define PPDLOCALIZE_TESTS_TEST_SUPPORT_H_

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "ppdtext/ustring.h"

// A scratch directory removed with everything in it at scope end.
class ScratchDir {
 public:
  ScratchDir();
  ~ScratchDir();
  const std::string& path() const { return path_; }
  // Writes `bytes` to `name` inside the directory, making its parent
  // directories; answers the full path.
  std::string Write(const std::string& name, std::string_view bytes) const;

 private:
  std::string path_;
};

// UTF-8 <-> UTF-16 for test data; fails the test on invalid input.
UString U(std::string_view utf8);
std::string Utf8(UStringView text);

std::string ReadFile(const std::string& path);
std::string GzipBytes(std::string_view bytes);

std::string ExamplePath(const std::string& name);  // examples/<name>

struct RunResult {
  int status = -1;  // exit status, or -1 when the process did not exit normally
  std::string out, err;
};

// Runs the built ppd-localize with `args` (program name not included) and an
// environment holding only PATH plus `env`; standard input from `stdin_path`
// (closed when empty) and, when `stdout_path` is given, standard output to it.
RunResult RunTool(const std::vector<std::string>& args,
                  const std::map<std::string, std::string>& env = {},
                  const std::string& stdout_path = "", const std::string& stdin_path = "/dev/null");
// The same for another program, as the built driver program.
RunResult RunProgram(const std::string& program, const std::vector<std::string>& args,
                     const std::map<std::string, std::string>& env = {}, const std::string& stdout_path = "",
                     const std::string& stdin_path = "/dev/null");

#endif  // PPDLOCALIZE_TESTS_TEST_SUPPORT_H_
