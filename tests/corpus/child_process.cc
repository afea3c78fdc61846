#include "child_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string_view>

namespace corpus {

namespace {

// Pipes are made close-on-exec, so that a child spawned by another thread at
// the same moment does not inherit (and hold open) this child's write ends.
bool MakePipe(int fds[2]) { return pipe2(fds, O_CLOEXEC) == 0; }

void CloseIfOpen(int& fd) {
  if (fd >= 0) close(fd);
  fd = -1;
}

}  // namespace

ChildResult RunChild(const std::vector<std::string>& argv, const std::vector<std::string>& env,
                     std::chrono::milliseconds limit) {
  ChildResult result;
  if (argv.empty()) return result;
  int out_pipe[2] = {-1, -1};
  int err_pipe[2] = {-1, -1};
  if (!MakePipe(out_pipe)) return result;
  if (!MakePipe(err_pipe)) {
    CloseIfOpen(out_pipe[0]);
    CloseIfOpen(out_pipe[1]);
    return result;
  }

  std::vector<std::string> argv_storage = argv;
  std::vector<char*> child_argv;
  for (std::string& arg : argv_storage) child_argv.push_back(arg.data());
  child_argv.push_back(nullptr);
  std::vector<std::string> env_storage = env;
  std::vector<char*> child_env;
  for (std::string& entry : env_storage) child_env.push_back(entry.data());
  child_env.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_adddup2(&actions, out_pipe[1], 1);
  posix_spawn_file_actions_adddup2(&actions, err_pipe[1], 2);

  pid_t pid = -1;
  int spawned;
  if (argv[0].find('/') != std::string::npos) {
    spawned = posix_spawn(&pid, child_argv[0], &actions, nullptr, child_argv.data(), child_env.data());
  } else {
    // posix_spawnp searches the caller's PATH; the child's own PATH is meant.
    std::string found;
    for (const std::string& entry : env) {
      if (entry.rfind("PATH=", 0) != 0) continue;
      std::string_view dirs = std::string_view(entry).substr(5);
      while (!dirs.empty() && found.empty()) {
        const size_t colon = dirs.find(':');
        const std::string candidate = std::string(dirs.substr(0, colon)) + "/" + argv[0];
        if (access(candidate.c_str(), X_OK) == 0) found = candidate;
        dirs = colon == std::string_view::npos ? std::string_view() : dirs.substr(colon + 1);
      }
    }
    spawned = found.empty() ? ENOENT
                            : posix_spawn(&pid, found.c_str(), &actions, nullptr, child_argv.data(),
                                          child_env.data());
  }
  posix_spawn_file_actions_destroy(&actions);
  CloseIfOpen(out_pipe[1]);
  CloseIfOpen(err_pipe[1]);
  if (spawned != 0) {
    CloseIfOpen(out_pipe[0]);
    CloseIfOpen(err_pipe[0]);
    result.err = std::string("cannot start ") + argv[0] + ": " + std::strerror(spawned);
    return result;
  }
  result.started = true;

  const auto deadline = std::chrono::steady_clock::now() + limit;
  int fds[2] = {out_pipe[0], err_pipe[0]};
  std::string* sinks[2] = {&result.out, &result.err};
  char chunk[1 << 16];
  while (fds[0] >= 0 || fds[1] >= 0) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) {
      result.timed_out = true;
      break;
    }
    pollfd polled[2];
    int count = 0;
    for (int k = 0; k < 2; ++k) {
      if (fds[k] >= 0) polled[count++] = {fds[k], POLLIN, 0};
    }
    const int ready = poll(polled, count, static_cast<int>(std::min<long long>(left.count(), 1000)));
    if (ready < 0 && errno != EINTR) break;
    for (int p = 0; p < count && ready > 0; ++p) {
      if (polled[p].revents == 0) continue;
      const int k = polled[p].fd == fds[0] ? 0 : 1;
      const ssize_t got = read(fds[k], chunk, sizeof chunk);
      if (got > 0) {
        sinks[k]->append(chunk, static_cast<size_t>(got));
      } else if (got == 0 || errno != EINTR) {
        CloseIfOpen(fds[k]);
      }
    }
  }
  CloseIfOpen(fds[0]);
  CloseIfOpen(fds[1]);

  int wstatus = 0;
  if (result.timed_out) kill(pid, SIGKILL);
  for (;;) {
    const pid_t done = waitpid(pid, &wstatus, WNOHANG);
    if (done == pid) break;
    if (done < 0) {
      if (errno == EINTR) continue;
      return result;
    }
    // Both pipes are closed but the child has not exited yet: give it until
    // the deadline, then kill it.
    if (!result.timed_out && std::chrono::steady_clock::now() >= deadline) {
      result.timed_out = true;
      kill(pid, SIGKILL);
    }
    usleep(500);
  }
  if (WIFEXITED(wstatus) && !result.timed_out) result.status = WEXITSTATUS(wstatus);
  if (WIFSIGNALED(wstatus)) result.signal = WTERMSIG(wstatus);
  return result;
}

std::string DescribeEnd(const ChildResult& result) {
  if (!result.started) return "did not start: " + result.err;
  if (result.timed_out) return "was killed after its time limit";
  if (result.signal != 0) return std::string("died of signal ") + strsignal(result.signal);
  return "exited with status " + std::to_string(result.status);
}

}  // namespace corpus
