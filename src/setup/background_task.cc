#include "setup/background_task.h"

#include <pthread.h>
#include <sched.h>

// Left to itself the kernel may start the work beside the caller on one
// processor, and the two then take turns while another processor stays idle.
void KeepOffCallersProcessor(std::jthread& thread) {
  const int caller = sched_getcpu();
  cpu_set_t allowed;
  if (caller < 0 || sched_getaffinity(0, sizeof allowed, &allowed) != 0) return;
  if (!CPU_ISSET(caller, &allowed) || CPU_COUNT(&allowed) < 2) return;
  CPU_CLR(caller, &allowed);
  pthread_setaffinity_np(thread.native_handle(), sizeof allowed, &allowed);
}
