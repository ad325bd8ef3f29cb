#pragma once
// The worker thread: jobs run there one at a time, in a COM apartment of
// their own (the system's decoders are COM objects), and their results come
// back through a message-only window of the thread that made the worker, so
// they run from its message loop, modal loops included, like its timers.
#include <windows.h>

#include <atomic>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

#include "platform/worker.h"

namespace orv::win {

class WinWorker : public Worker {
 public:
  WinWorker();
  // Tells the job under way to stop, drops the jobs and results still
  // waiting, and waits for the thread.
  ~WinWorker() override;
  WinWorker(const WinWorker&) = delete;
  WinWorker& operator=(const WinWorker&) = delete;

  void post(Job job) override;

 private:
  void run();
  void deliver();
  static LRESULT CALLBACK Proc(HWND, UINT, WPARAM, LPARAM);

  HWND hwnd_ = nullptr;
  std::mutex mutex_;
  std::condition_variable wake_;
  std::deque<Job> jobs_;
  std::deque<Result> results_;
  bool told_ = false;               // a delivery message is on its way
  std::atomic<bool> stopping_{false};
  std::thread thread_;              // started with the first job
};

}  // namespace orv::win
