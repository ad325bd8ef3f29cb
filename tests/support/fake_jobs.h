#pragma once
// Work meant for a worker thread, run when the test says: at once, or when
// it calls runAll(), so a test can look at the moment in between.
#include <deque>
#include <functional>

#include "announce/worker_thread.h"

namespace orv::test {

class FakeJobs : public JobRunner {
 public:
  void post(std::function<void()> job) override {
    ++posted;
    if (immediate) job();
    else queued.push_back(std::move(job));
  }
  void runAll() {
    while (!queued.empty()) {
      auto job = std::move(queued.front());
      queued.pop_front();
      job();
    }
  }
  bool immediate = true;
  int posted = 0;
  std::deque<std::function<void()>> queued;
};

}  // namespace orv::test
