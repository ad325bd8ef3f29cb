#pragma once
// The host thread's message filter: a host busy in a modal dialog rejects
// calls ("call rejected", "retry later"); such a call is tried again for
// about a second before it counts as failed, so a rejecting host holds the
// window's input back no longer than that.
#include <windows.h>

#include <objidl.h>
#include <wrl/client.h>

namespace orv::win {

inline constexpr DWORD kRejectedCallRetryMs = 1000;

// Registers the filter for the calling thread's apartment for the owner's
// lifetime, and puts the previous one back at the end.
class ComMessageFilter {
 public:
  ComMessageFilter();
  ~ComMessageFilter();
  ComMessageFilter(const ComMessageFilter&) = delete;
  ComMessageFilter& operator=(const ComMessageFilter&) = delete;
  bool registered() const { return registered_; }

  // What the filter answers a rejected call after `elapsedMs` (a wait in
  // milliseconds before the next try, or -1: give up).
  static DWORD RetryAnswer(DWORD rejectType, DWORD elapsedMs);

 private:
  Microsoft::WRL::ComPtr<IMessageFilter> filter_;
  Microsoft::WRL::ComPtr<IMessageFilter> previous_;
  bool registered_ = false;
};

}  // namespace orv::win
