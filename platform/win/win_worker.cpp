#include "platform/win/win_worker.h"

#include <exception>

#include "platform/win/scoped.h"

namespace orv::win {

namespace {
constexpr UINT kResults = WM_APP + 0x57;
}  // namespace

WinWorker::WinWorker() {
  static const wchar_t* kClass = L"OrvalenWorker";
  WNDCLASSEXW wc{sizeof wc};
  wc.lpfnWndProc = &WinWorker::Proc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = kClass;
  RegisterClassExW(&wc);  // fails harmlessly when already registered
  hwnd_ = CreateWindowExW(0, kClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
  SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

WinWorker::~WinWorker() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = true;
    jobs_.clear();
  }
  wake_.notify_all();
  if (thread_.joinable()) thread_.join();
  if (hwnd_) {
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);
  }
}

void WinWorker::post(Job job) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (stopping_) return;
    jobs_.push_back(std::move(job));
    if (!thread_.joinable()) thread_ = std::thread([this] { run(); });
  }
  wake_.notify_one();
}

void WinWorker::run() {
  ComApartment apartment(COINIT_MULTITHREADED);
  // Below the window's thread: a conversion takes what the window leaves.
  SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_BELOW_NORMAL);
  for (;;) {
    Job job;
    {
      std::unique_lock<std::mutex> lock(mutex_);
      wake_.wait(lock, [this] { return stopping_ || !jobs_.empty(); });
      if (stopping_) return;
      job = std::move(jobs_.front());
      jobs_.pop_front();
    }
    Result result;
    // Nothing may escape a thread; a job that fails gives no result.
    try {
      result = job(stopping_);
    } catch (const std::exception&) {
    }
    if (!result) continue;
    std::lock_guard<std::mutex> lock(mutex_);
    if (stopping_) return;
    results_.push_back(std::move(result));
    // One message carries every result waiting, so the queue never fills.
    if (!told_) told_ = PostMessageW(hwnd_, kResults, 0, 0) != 0;
  }
}

void WinWorker::deliver() {
  std::deque<Result> ready;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    ready.swap(results_);
    told_ = false;
  }
  for (Result& r : ready) r();
}

LRESULT CALLBACK WinWorker::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == kResults) {
    auto* self = reinterpret_cast<WinWorker*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (self) self->deliver();
    return 0;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

}  // namespace orv::win
