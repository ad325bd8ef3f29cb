#pragma once
// Slow work (reading and converting sound files) away from the window's
// thread. A job runs on the worker thread and hands back what the window's
// thread then does with its result, so nothing the worker does touches the
// window or the program's state directly.
#include <atomic>
#include <functional>

namespace orv {

class Worker {
 public:
  // Runs on the window's thread, from its message loop.
  using Result = std::function<void()>;
  // Runs on the worker thread. `stopping` turns true when the program ends:
  // a long job then gives up at its next look. An empty Result is allowed.
  using Job = std::function<Result(const std::atomic<bool>& stopping)>;

  virtual ~Worker() = default;
  // Jobs run one at a time in the order posted; their results come back in
  // the same order. Never waits for the job.
  virtual void post(Job job) = 0;
};

}  // namespace orv
