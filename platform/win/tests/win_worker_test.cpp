// The worker thread: jobs run off the window's thread, their results come
// back on it, in order, through its message loop; ending the worker stops
// the job under way and drops what is left.
#include <gtest/gtest.h>

#include <windows.h>

#include <chrono>
#include <thread>
#include <vector>

#include "platform/win/win_worker.h"
#include "tests/support/win/pump_messages.h"

namespace orv::win {
namespace {

using orv::test::PumpMessagesFor;

TEST(WinWorker, JobsRunOffTheWindowsThreadAndResultsComeBackOnItInOrder) {
  WinWorker worker;
  const DWORD windowThread = GetCurrentThreadId();
  std::vector<int> results;
  std::vector<DWORD> jobThreads(5, 0);
  DWORD resultThread = 0;
  for (int i = 0; i < 5; ++i) {
    worker.post([i, &jobThreads, &results, &resultThread](const std::atomic<bool>&) -> Worker::Result {
      jobThreads[i] = GetCurrentThreadId();
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
      return [i, &results, &resultThread] {
        results.push_back(i);
        resultThread = GetCurrentThreadId();
      };
    });
  }
  EXPECT_TRUE(results.empty()) << "posting never waits";
  for (int waited = 0; results.size() < 5 && waited < 5000; waited += 10) PumpMessagesFor(10);
  EXPECT_EQ(results, (std::vector<int>{0, 1, 2, 3, 4}));
  EXPECT_EQ(resultThread, windowThread);
  for (DWORD t : jobThreads) EXPECT_NE(t, windowThread);
  EXPECT_EQ(jobThreads[0], jobThreads[4]) << "one worker thread";
}

TEST(WinWorker, EndingStopsTheJobUnderWayAndDropsTheRest) {
  std::atomic<bool> sawStop{false};
  std::atomic<int> started{0};
  const auto t0 = std::chrono::steady_clock::now();
  {
    WinWorker worker;
    for (int i = 0; i < 3; ++i)
      worker.post([&](const std::atomic<bool>& stopping) -> Worker::Result {
        ++started;
        while (!stopping) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        sawStop = true;
        return [] { ADD_FAILURE() << "a result after the end"; };
      });
    while (started == 0) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  EXPECT_TRUE(sawStop);
  EXPECT_EQ(started, 1);
  EXPECT_LT(std::chrono::steady_clock::now() - t0, std::chrono::seconds(2));
  PumpMessagesFor(50);
}

}  // namespace
}  // namespace orv::win
