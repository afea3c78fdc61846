// Work done on a thread of its own while the caller goes on, handing its
// result back as a value: what the work makes cannot be read before it
// exists, and what it throws is thrown to whoever asks for the result.
#ifndef PPDLOCALIZE_SETUP_BACKGROUND_TASK_H_
#define PPDLOCALIZE_SETUP_BACKGROUND_TASK_H_

#include <pthread.h>
#include <sched.h>

#include <exception>
#include <functional>
#include <optional>
#include <stop_token>
#include <system_error>
#include <thread>
#include <utility>

// Where the process may use other processors, those but the one the caller
// runs on; KeepOnProcessors keeps a thread there.
std::optional<cpu_set_t> ProcessorsBesideCaller();
void KeepOnProcessors(pthread_t thread, const std::optional<cpu_set_t>& processors);

template <typename Result>
class BackgroundTask {
 public:
  using Work = std::function<Result(std::stop_token)>;

  // Starts work(stop) on a thread of its own, off the caller's processor,
  // `stop` being requested when the result is asked for. Where no thread can
  // be started, the work runs on the caller's thread when the result is
  // asked for, with the stop requested already (so work that waits for what
  // the caller does meanwhile still finds it done).
  explicit BackgroundTask(Work work) {
    try {
      const std::optional<cpu_set_t> beside = ProcessorsBesideCaller();
      thread_ = std::jthread([this, work, beside](std::stop_token stop) {
        KeepOnProcessors(pthread_self(), beside);
        Run(work, stop);
      });
      KeepOnProcessors(thread_.native_handle(), beside);
    } catch (const std::system_error&) {
      deferred_ = std::move(work);
    }
  }
  // Asks the work to stop and waits for it; its result is dropped.
  ~BackgroundTask() = default;
  BackgroundTask(const BackgroundTask&) = delete;
  BackgroundTask& operator=(const BackgroundTask&) = delete;

  // Asks the work to stop what it does only until it is asked (see Work),
  // waits for it to end, and answers its result or throws what it threw.
  // Once only.
  Result Get() {
    if (thread_.joinable()) {
      thread_.request_stop();
      thread_.join();
    } else if (deferred_) {
      std::stop_source stopped;
      stopped.request_stop();
      Run(std::exchange(deferred_, nullptr), stopped.get_token());
    }
    if (error_) std::rethrow_exception(std::exchange(error_, nullptr));
    return std::move(*result_);
  }

 private:
  void Run(const Work& work, std::stop_token stop) {
    try {
      result_.emplace(work(stop));
    } catch (...) {
      error_ = std::current_exception();
    }
  }

  Work deferred_;  // the work, when no thread could be started
  std::optional<Result> result_;
  std::exception_ptr error_;
  std::jthread thread_;  // last: joined before the members it writes go
};

#endif  // PPDLOCALIZE_SETUP_BACKGROUND_TASK_H_
