#pragma once
// The host's events on their way to the window's thread. They come in on
// the thread the host's object lives on; they are handed over in order, one
// per message of the window's thread, and never while a call to the host is
// still waiting on that thread: the handler would otherwise run in the
// middle of the step that made the call.
#include <windows.h>

#include <deque>
#include <memory>
#include <mutex>
#include <string>

#include "host/host.h"

namespace orv::win {

struct HostEvent {
  bool closing = false;   // Closing, else DTMFString(digits)
  std::string digits;
};

// Any thread may raise.
class HostEventTarget {
 public:
  virtual ~HostEventTarget() = default;
  virtual void raise(HostEvent e) = 0;
};

class HostEventQueue final : public HostEventTarget {
 public:
  // Make on the window's thread: events are delivered there.
  static std::shared_ptr<HostEventQueue> Create();
  ~HostEventQueue() override;

  void raise(HostEvent e) override;
  // Where events go (window's thread); nullptr drops them.
  void deliverTo(HostEvents* sink) { sink_ = sink; }
  // No event is delivered any more, and those still queued are dropped
  // (window's thread).
  void close();
  bool ready() const { return window_ != nullptr; }

 private:
  HostEventQueue() = default;
  static LRESULT CALLBACK WindowProc(HWND w, UINT msg, WPARAM wp, LPARAM lp);
  void deliverOne();

  std::mutex lock_;
  std::deque<HostEvent> events_;
  HWND window_ = nullptr;   // null once closed
  HostEvents* sink_ = nullptr;
  int held_ = 0;            // deliveries held back by a call that waits
};

}  // namespace orv::win
