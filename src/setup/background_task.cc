#include "setup/background_task.h"

#include <pthread.h>
#include <sched.h>

// Left to itself the kernel often wakes the work beside the caller on one
// processor (the work waits for libcups now and then), and the two then take
// turns while another processor stays idle. Measured, paired, on a 1 MB PPD
// and the largest real one: about 4 per cent of a whole run.
void KeepOffCallersProcessor(std::jthread& thread) {
  const int caller = sched_getcpu();
  cpu_set_t allowed;
  if (caller < 0 || sched_getaffinity(0, sizeof allowed, &allowed) != 0) return;
  if (!CPU_ISSET(caller, &allowed) || CPU_COUNT(&allowed) < 2) return;
  CPU_CLR(caller, &allowed);
  pthread_setaffinity_np(thread.native_handle(), sizeof allowed, &allowed);
}
