// The helper's work hands back its result, or what it threw, and is asked to
// stop when the result is asked for.
#include "setup/background_task.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

TEST(BackgroundTask, HandsBackTheResultOrWhatItThrew) {
  BackgroundTask<std::string> made([](std::stop_token) { return std::string("made"); });
  EXPECT_EQ(made.Get(), "made");
  BackgroundTask<int> failed([](std::stop_token) -> int { throw std::runtime_error("no memory"); });
  EXPECT_THROW(failed.Get(), std::runtime_error);
}

// Without the stop the work would wait for ever (and the test time out).
TEST(BackgroundTask, WorkThatWaitsForTheStopEndsWhenTheResultIsAskedFor) {
  BackgroundTask<bool> waiting([](std::stop_token stop) {
    std::mutex mutex;
    std::condition_variable_any wake;
    std::unique_lock lock(mutex);
    wake.wait(lock, stop, [] { return false; });
    return stop.stop_requested();
  });
  EXPECT_TRUE(waiting.Get());
}

// The helper goes beside the caller: from a thread allowed two processors,
// the other one alone; from a thread allowed one, nowhere in particular.
TEST(BackgroundTask, ProcessorsBesideTheCallerLeaveTheCallersOut) {
  cpu_set_t allowed;
  ASSERT_EQ(sched_getaffinity(0, sizeof allowed, &allowed), 0);
  std::vector<int> processors;
  for (int cpu = 0; cpu < CPU_SETSIZE && processors.size() < 2; ++cpu) {
    if (CPU_ISSET(cpu, &allowed)) processors.push_back(cpu);
  }
  for (size_t count = 1; count <= processors.size(); ++count) {
    std::thread([&] {
      cpu_set_t only;
      CPU_ZERO(&only);
      for (size_t i = 0; i < count; ++i) CPU_SET(processors[i], &only);
      ASSERT_EQ(pthread_setaffinity_np(pthread_self(), sizeof only, &only), 0);
      const std::optional<cpu_set_t> beside = ProcessorsBesideCaller();
      ASSERT_EQ(beside.has_value(), count == 2);
      if (beside) {
        CPU_AND(&only, &only, &*beside);
        EXPECT_TRUE(CPU_COUNT(&*beside) == 1 && CPU_COUNT(&only) == 1);
      }
    }).join();
  }
}
