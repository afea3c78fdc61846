// The helper's work hands back its result, or what it threw, and is asked to
// stop when the result is asked for.
#include "setup/background_task.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>
#include <stdexcept>
#include <string>

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
