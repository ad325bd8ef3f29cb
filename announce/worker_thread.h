#pragma once
// Slow work (reading and converting audio files) away from the window's
// thread: jobs run one after another on a thread of their own, started on
// the first job, so a program that never needs one never has it.
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

namespace orv {

class JobRunner {
 public:
  virtual ~JobRunner() = default;
  // Runs `job` later, on another thread (in tests: when the test says).
  virtual void post(std::function<void()> job) = 0;
};

class WorkerThread : public JobRunner {
 public:
  // `setup` runs first on the new thread; what it returns lives as long as
  // the thread does (on Windows, the thread's COM apartment).
  explicit WorkerThread(std::function<std::shared_ptr<void>()> setup = {});
  // Lets the job under way finish, drops the others, and joins.
  ~WorkerThread() override;
  WorkerThread(const WorkerThread&) = delete;
  WorkerThread& operator=(const WorkerThread&) = delete;

  void post(std::function<void()> job) override;

 private:
  void run();

  std::function<std::shared_ptr<void>()> setup_;
  std::mutex mutex_;
  std::condition_variable wake_;
  std::deque<std::function<void()>> jobs_;
  bool ending_ = false;
  std::thread thread_;
};

}  // namespace orv
