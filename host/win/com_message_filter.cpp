#include "host/win/com_message_filter.h"

namespace orv::win {
namespace {

constexpr DWORD kRetryPauseMs = 100;

class Filter final : public IMessageFilter {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    if (!out) return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IMessageFilter) {
      *out = static_cast<IMessageFilter*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(::InterlockedIncrement(&refs_)); }
  ULONG STDMETHODCALLTYPE Release() override {
    LONG n = ::InterlockedDecrement(&refs_);
    if (n == 0) delete this;
    return static_cast<ULONG>(n);
  }
  // The program serves no calls of its own except the host's events.
  DWORD STDMETHODCALLTYPE HandleInComingCall(DWORD, HTASK, DWORD, LPINTERFACEINFO) override {
    return SERVERCALL_ISHANDLED;
  }
  DWORD STDMETHODCALLTYPE RetryRejectedCall(HTASK, DWORD elapsed, DWORD rejectType) override {
    return ComMessageFilter::RetryAnswer(rejectType, elapsed);
  }
  // The host thread has no window to keep alive: what comes in while a
  // call waits is COM's own traffic and the host's events.
  DWORD STDMETHODCALLTYPE MessagePending(HTASK, DWORD, DWORD) override { return PENDINGMSG_WAITDEFPROCESS; }

 private:
  ~Filter() = default;
  LONG refs_ = 1;
};

}  // namespace

DWORD ComMessageFilter::RetryAnswer(DWORD rejectType, DWORD elapsedMs) {
  if (rejectType != SERVERCALL_RETRYLATER && rejectType != SERVERCALL_REJECTED) return static_cast<DWORD>(-1);
  if (elapsedMs >= kRejectedCallRetryMs) return static_cast<DWORD>(-1);
  return kRetryPauseMs;
}

ComMessageFilter::ComMessageFilter() {
  filter_.Attach(new Filter);  // created with one reference, now the owner's
  registered_ = SUCCEEDED(::CoRegisterMessageFilter(filter_.Get(), previous_.GetAddressOf()));
}

ComMessageFilter::~ComMessageFilter() {
  if (!registered_) return;
  Microsoft::WRL::ComPtr<IMessageFilter> ours;
  ::CoRegisterMessageFilter(previous_.Get(), ours.GetAddressOf());
}

}  // namespace orv::win
