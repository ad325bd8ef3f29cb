#include "host/win/host_thread.h"

#include "host/win/com_message_filter.h"

namespace orv::win {

std::shared_ptr<HostThread> HostThread::Start() {
  std::shared_ptr<HostThread> t(new HostThread);
  t->wake_.reset(::CreateEventW(nullptr, FALSE, FALSE, nullptr));
  t->finished_.reset(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
  if (!t->wake_ || !t->finished_) return nullptr;
  // The thread holds itself alive for as long as it runs.
  auto* hold = new std::shared_ptr<HostThread>(t);
  HANDLE thread = ::CreateThread(nullptr, 0, &HostThread::Main, hold, 0, nullptr);
  if (!thread) {
    delete hold;
    return nullptr;
  }
  ::CloseHandle(thread);
  return t;
}

HostThread::~HostThread() = default;

DWORD WINAPI HostThread::Main(void* param) {
  std::shared_ptr<HostThread> self = std::move(*static_cast<std::shared_ptr<HostThread>*>(param));
  delete static_cast<std::shared_ptr<HostThread>*>(param);
  self->run();
  return 0;
}

void HostThread::post(std::shared_ptr<HostJob> job) {
  std::lock_guard<std::mutex> hold(lock_);
  jobs_.push_back(std::move(job));
  ::SetEvent(wake_.get());
}

void HostThread::finish() {
  std::lock_guard<std::mutex> hold(lock_);
  finishing_ = true;
  ::SetEvent(wake_.get());
}

void HostThread::run() {
  {
    ComApartment apartment;
    ComMessageFilter filter;
    for (;;) {
      std::shared_ptr<HostJob> job;
      {
        std::lock_guard<std::mutex> hold(lock_);
        if (finishing_) break;
        if (!jobs_.empty()) {
          job = std::move(jobs_.front());
          jobs_.pop_front();
        }
      }
      if (job) {
        try {
          job->run(host_);
        } catch (...) {
          // The job's result keeps the failure it was given to start with.
        }
        ::SetEvent(job->answered.get());
        continue;
      }
      // The host's events come in through this thread's messages.
      MSG msg;
      while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
      }
      HANDLE wake = wake_.get();
      ::MsgWaitForMultipleObjectsEx(1, &wake, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    }
    host_.reset();
  }
  ::SetEvent(finished_.get());
}

}  // namespace orv::win
