#pragma once
// The worker thread for tests, on the test's own thread: each job and its
// result run at once, or wait until the test runs them, or finish a set
// time after they are posted on the virtual clock (one at a time, in order,
// as the real worker does them).
#include <atomic>
#include <chrono>
#include <deque>
#include <memory>
#include <vector>

#include "platform/worker.h"
#include "tests/support/virtual_time.h"

namespace orv::test {

class FakeWorker : public Worker {
 public:
  enum class Mode { AtOnce, Held, Timed };
  FakeWorker() = default;
  // Timed: each job takes `perJob` of virtual time.
  FakeWorker(VirtualTime& time, std::chrono::milliseconds perJob) : mode(Mode::Timed), time_(&time), perJob_(perJob) {}

  void post(Job job) override {
    ++posted;
    if (mode == Mode::AtOnce) return finish(job);
    held_.push_back(std::move(job));
    if (mode != Mode::Timed) return;
    // Behind whatever is still being worked on.
    const auto now = time_->monotonic();
    busyUntil_ = std::max(busyUntil_, now) + perJob_;
    auto timer = time_->create([this] { runOne(); });
    timer->start(busyUntil_ - now);
    timers_.push_back(std::move(timer));
  }

  // Held: runs the jobs posted so far, and any they post, with their results.
  int runAll() {
    int n = 0;
    while (!held_.empty()) n += runOne();
    return n;
  }
  std::size_t waiting() const { return held_.size(); }

  Mode mode = Mode::AtOnce;
  // What the jobs see; a test sets it to play the program ending.
  std::atomic<bool> stopping{false};
  int posted = 0, finished = 0;

 private:
  int runOne() {
    if (mode == Mode::Timed && !timers_.empty()) {
      // One-shot: the earliest timer is the one ticking now.
      timers_.front()->stop();
      spent_.push_back(std::move(timers_.front()));
      timers_.erase(timers_.begin());
    }
    if (held_.empty()) return 0;
    Job job = std::move(held_.front());
    held_.pop_front();
    finish(job);
    return 1;
  }
  void finish(Job& job) {
    Result result = job(stopping);
    ++finished;
    if (result) result();
  }

  VirtualTime* time_ = nullptr;
  std::chrono::milliseconds perJob_{0};
  std::chrono::milliseconds busyUntil_{0};
  std::deque<Job> held_;
  std::vector<std::unique_ptr<Timer>> timers_, spent_;
};

}  // namespace orv::test
