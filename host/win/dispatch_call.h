#pragma once
// Calls to an automation object by name through IDispatch, so any version of
// the host that keeps the names serves. Each call says how it ended in its
// own result; nothing is left behind for the next one to read.
#include <windows.h>

#include <oaidl.h>

#include <chrono>
#include <map>
#include <string>
#include <vector>

namespace orv::win {

// A VARIANT that clears itself.
struct Variant : VARIANT {
  Variant() { ::VariantInit(this); }
  ~Variant() { ::VariantClear(this); }
  Variant(const Variant&) = delete;
  Variant& operator=(const Variant&) = delete;
};

VARIANT TruthArg(bool v);
// Null (VT_EMPTY) when out of memory.
VARIANT TextArg(const std::string& utf8);
std::string FromBstr(BSTR s);

struct DispatchOutcome {
  bool ok = true;
  bool gone = false;    // the host is not there any more
  std::string error;    // "SetTransmit failed: ..." when not ok
};

class DispatchCaller {
 public:
  // A host that rejects calls (busy in a dialog) is asked again for this
  // long in all, counted from the call's start, then the call fails.
  explicit DispatchCaller(std::chrono::milliseconds rejectedRetry) : rejectedRetry_(rejectedRetry) {}

  // Calls `name` on `target`. `args` in their natural order, owned (cleared)
  // here. `remember`: the member's id is kept for the next call of this
  // caller (the host object itself, not objects it hands out).
  DispatchOutcome call(IDispatch* target, const wchar_t* name, WORD flags, std::vector<VARIANT> args, VARIANT* result,
                       bool remember);

 private:
  HRESULT once(IDispatch* target, const wchar_t* name, WORD flags, std::vector<VARIANT>& args, VARIANT* result,
               bool remember, EXCEPINFO& excep, UINT& argError, bool& lookingUp);

  std::chrono::milliseconds rejectedRetry_;
  std::map<std::wstring, DISPID> ids_;
};

}  // namespace orv::win
