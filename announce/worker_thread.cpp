#include "announce/worker_thread.h"

namespace orv {

WorkerThread::WorkerThread(std::function<std::shared_ptr<void>()> setup) : setup_(std::move(setup)) {}

WorkerThread::~WorkerThread() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    ending_ = true;
    jobs_.clear();
  }
  wake_.notify_all();
  if (thread_.joinable()) thread_.join();
}

void WorkerThread::post(std::function<void()> job) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (ending_) return;
    jobs_.push_back(std::move(job));
    if (!thread_.joinable()) thread_ = std::thread([this] { run(); });
  }
  wake_.notify_one();
}

void WorkerThread::run() {
  const std::shared_ptr<void> context = setup_ ? setup_() : nullptr;
  while (true) {
    std::function<void()> job;
    {
      std::unique_lock<std::mutex> lock(mutex_);
      wake_.wait(lock, [this] { return ending_ || !jobs_.empty(); });
      if (ending_) return;
      job = std::move(jobs_.front());
      jobs_.pop_front();
    }
    job();
  }
}

}  // namespace orv
