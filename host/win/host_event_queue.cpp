#include "host/win/host_event_queue.h"

#include <utility>

#include "host/win/call_wait.h"

namespace orv::win {
namespace {

constexpr UINT kDeliverEvent = WM_APP + 0x48;
constexpr UINT kDeliverHeld = WM_APP + 0x49;
constexpr wchar_t kWindowClass[] = L"OrvalenHostEvents";

}  // namespace

std::shared_ptr<HostEventQueue> HostEventQueue::Create() {
  static const ATOM atom = [] {
    WNDCLASSW wc{};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = kWindowClass;
    return ::RegisterClassW(&wc);
  }();
  std::shared_ptr<HostEventQueue> queue(new HostEventQueue);
  if (!atom) return queue;
  HWND w = ::CreateWindowExW(0, kWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, ::GetModuleHandleW(nullptr),
                             nullptr);
  if (w) ::SetWindowLongPtrW(w, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(queue.get()));
  queue->window_ = w;
  return queue;
}

// The owner closes the queue on the window's thread; the last reference
// may go on another.
HostEventQueue::~HostEventQueue() = default;

void HostEventQueue::raise(HostEvent e) {
  std::lock_guard<std::mutex> hold(lock_);
  if (!window_) return;
  events_.push_back(std::move(e));
  ::PostMessageW(window_, kDeliverEvent, 0, 0);
}

void HostEventQueue::close() {
  HWND window = nullptr;
  {
    std::lock_guard<std::mutex> hold(lock_);
    window = std::exchange(window_, nullptr);
    events_.clear();
  }
  sink_ = nullptr;
  if (window) {
    ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    ::DestroyWindow(window);
  }
}

LRESULT CALLBACK HostEventQueue::WindowProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  auto* self = reinterpret_cast<HostEventQueue*>(::GetWindowLongPtrW(w, GWLP_USERDATA));
  if (msg == kDeliverEvent) {
    if (self) self->deliverOne();
    return 0;
  }
  if (msg == kDeliverHeld) {
    if (self)
      for (int n = std::exchange(self->held_, 0); n > 0; --n) ::PostMessageW(w, kDeliverEvent, 0, 0);
    return 0;
  }
  return ::DefWindowProcW(w, msg, wp, lp);
}

// One event per message. The handler may end the program and destroy the
// host and this queue with it, so nothing of it is touched afterwards.
void HostEventQueue::deliverOne() {
  if (CallWaitDepth() > 0) {
    ++held_;
    PostAfterCallWaits(window_, kDeliverHeld);
    return;
  }
  HostEvent e;
  {
    std::lock_guard<std::mutex> hold(lock_);
    if (events_.empty()) return;
    e = std::move(events_.front());
    events_.pop_front();
  }
  HostEvents* sink = sink_;
  if (!sink) return;
  if (e.closing) sink->onClosing();
  else sink->onDtmfString(e.digits);
}

}  // namespace orv::win
