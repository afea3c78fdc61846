#include "setup/background_task.h"

#include <pthread.h>
#include <sched.h>

// Left to itself the kernel often wakes the work beside the caller on one
// processor (the work waits for libcups now and then), and the two then take
// turns while another processor stays idle. Measured, paired, on a 1 MB PPD
// and the largest real one: about 4 per cent of a whole run. The thread is
// moved from both ends: the kernel may start it on the caller's processor
// and run it at once, and the caller could move it only after its first
// slice (seen: the whole reading of a rules file); or start it there
// without running it, and only the caller can move it before the caller's
// own slice ends (seen: after libcups's whole parse).
std::optional<cpu_set_t> ProcessorsBesideCaller() {
  const int caller = sched_getcpu();
  cpu_set_t allowed;
  if (caller < 0 || sched_getaffinity(0, sizeof allowed, &allowed) != 0) return std::nullopt;
  if (!CPU_ISSET(caller, &allowed) || CPU_COUNT(&allowed) < 2) return std::nullopt;
  CPU_CLR(caller, &allowed);
  return allowed;
}

void KeepOnProcessors(pthread_t thread, const std::optional<cpu_set_t>& processors) {
  if (processors) pthread_setaffinity_np(thread, sizeof *processors, &*processors);
}
