// Work done on a thread of its own while the caller goes on.
#ifndef PPDLOCALIZE_SETUP_BACKGROUND_TASK_H_
#define PPDLOCALIZE_SETUP_BACKGROUND_TASK_H_

#include <functional>
#include <thread>

class BackgroundTask {
 public:
  // Starts `work`; where no thread can be started, does it at once on the
  // caller's thread.
  explicit BackgroundTask(std::function<void()> work);
  // Waits for the work to end.
  ~BackgroundTask() { Wait(); }
  BackgroundTask(const BackgroundTask&) = delete;
  BackgroundTask& operator=(const BackgroundTask&) = delete;

  // Waits for the work to end; everything it did is then visible.
  void Wait() {
    if (thread_.joinable()) thread_.join();
  }

 private:
  std::thread thread_;
};

#endif  // PPDLOCALIZE_SETUP_BACKGROUND_TASK_H_
