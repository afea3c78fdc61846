// Running a program with a fixed environment, its output captured, under a
// time limit.
#ifndef PPDLOCALIZE_TESTS_CORPUS_CHILD_PROCESS_H_
#define PPDLOCALIZE_TESTS_CORPUS_CHILD_PROCESS_H_

#include <chrono>
#include <string>
#include <vector>

namespace corpus {

struct ChildResult {
  bool started = false;
  bool timed_out = false;
  int status = -1;  // exit status, or -1 when the child did not exit normally
  int signal = 0;   // the signal that ended it, if one did
  std::string out;
  std::string err;
};

// Runs argv[0] (an absolute path, or a name looked up in the PATH entry of
// `env`) with exactly `env` as its environment and /dev/null as its standard
// input. A child still running after `limit` is killed. Safe to call from
// several threads at once.
ChildResult RunChild(const std::vector<std::string>& argv, const std::vector<std::string>& env,
                     std::chrono::milliseconds limit);

// One line describing how a child ended, for failure reports.
std::string DescribeEnd(const ChildResult& result);

}  // namespace corpus

#endif  // PPDLOCALIZE_TESTS_CORPUS_CHILD_PROCESS_H_
