#include "setup/background_task.h"

#include <pthread.h>
#include <sched.h>

#include <system_error>

namespace {

// Where the system lets it, the work is kept off the caller's processor:
// left to itself the kernel may start it beside the caller on one processor,
// and the two would then take turns while another processor stays idle.
void KeepOffCallersProcessor(std::thread& thread, int caller_cpu) {
#if defined(__linux__)
  cpu_set_t allowed;
  if (caller_cpu < 0 || sched_getaffinity(0, sizeof allowed, &allowed) != 0) return;
  if (!CPU_ISSET(caller_cpu, &allowed) || CPU_COUNT(&allowed) < 2) return;
  CPU_CLR(caller_cpu, &allowed);
  pthread_setaffinity_np(thread.native_handle(), sizeof allowed, &allowed);
#else
  (void)thread;
  (void)caller_cpu;
#endif
}

}  // namespace

BackgroundTask::BackgroundTask(std::function<void()> work) {
  try {
    thread_ = std::thread(work);
    KeepOffCallersProcessor(thread_, sched_getcpu());
  } catch (const std::system_error&) {
    work();
  }
}
