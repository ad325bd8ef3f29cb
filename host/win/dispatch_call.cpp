#include "host/win/dispatch_call.h"

#include "host/win/hresult_text.h"
#include "platform/win/text.h"

namespace orv::win {
namespace {

constexpr DWORD kRejectedPauseMs = 100;

std::string DescribeException(EXCEPINFO& ei) {
  if (ei.pfnDeferredFillIn) ei.pfnDeferredFillIn(&ei);
  std::string desc = FromBstr(ei.bstrDescription);
  std::string source = FromBstr(ei.bstrSource);
  HRESULT code = ei.scode ? ei.scode : (ei.wCode ? MAKE_HRESULT(SEVERITY_ERROR, FACILITY_ITF, ei.wCode) : 0);
  ::SysFreeString(ei.bstrDescription);
  ::SysFreeString(ei.bstrSource);
  ::SysFreeString(ei.bstrHelpFile);
  ei = EXCEPINFO{};
  std::string text = desc.empty() ? "the host reported an error" : desc;
  if (!source.empty()) text += " (" + source + ")";
  if (code) text += ", " + DescribeHresult(code);
  return text;
}

// The pause before asking a rejecting host again; the host's events keep
// coming in meanwhile.
void PauseServingMessages(DWORD ms) {
  const DWORD start = ::GetTickCount();
  for (;;) {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageW(&msg);
    }
    const DWORD spent = ::GetTickCount() - start;
    if (spent >= ms) return;
    ::MsgWaitForMultipleObjectsEx(0, nullptr, ms - spent, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
  }
}

}  // namespace

VARIANT TruthArg(bool v) {
  VARIANT var;
  ::VariantInit(&var);
  V_VT(&var) = VT_BOOL;
  V_BOOL(&var) = v ? VARIANT_TRUE : VARIANT_FALSE;
  return var;
}

VARIANT TextArg(const std::string& utf8) {
  VARIANT var;
  ::VariantInit(&var);
  std::wstring wide = Widen(utf8);
  BSTR text = ::SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
  if (!text) return var;
  V_VT(&var) = VT_BSTR;
  V_BSTR(&var) = text;
  return var;
}

std::string FromBstr(BSTR s) { return s ? Narrow(s, static_cast<int>(::SysStringLen(s))) : std::string(); }

HRESULT DispatchCaller::once(IDispatch* target, const wchar_t* name, WORD flags, std::vector<VARIANT>& args,
                             VARIANT* result, bool remember, EXCEPINFO& excep, UINT& argError, bool& lookingUp) {
  DISPID id = 0;
  auto known = remember ? ids_.find(name) : ids_.end();
  if (known != ids_.end()) {
    id = known->second;
  } else {
    lookingUp = true;
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    HRESULT hr = target->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
    if (FAILED(hr)) return hr;
    lookingUp = false;
    if (remember) ids_[name] = id;
  }
  std::vector<VARIANT> reversed(args.rbegin(), args.rend());   // Invoke takes them last first
  DISPPARAMS params{};
  params.rgvarg = reversed.empty() ? nullptr : reversed.data();
  params.cArgs = static_cast<UINT>(reversed.size());
  if (result) ::VariantClear(result);
  return target->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, result, &excep, &argError);
}

DispatchOutcome DispatchCaller::call(IDispatch* target, const wchar_t* name, WORD flags, std::vector<VARIANT> args,
                                     VARIANT* result, bool remember) {
  const std::string op = Narrow(name);
  struct Clear {
    std::vector<VARIANT>& a;
    ~Clear() { for (auto& v : a) ::VariantClear(&v); }
  } clear{args};

  const ULONGLONG start = ::GetTickCount64();
  HRESULT hr = S_OK;
  EXCEPINFO excep{};
  UINT argError = 0;
  bool lookingUp = false;
  for (;;) {
    excep = EXCEPINFO{};
    lookingUp = false;
    hr = once(target, name, flags, args, result, remember, excep, argError, lookingUp);
    if (!IsCallRejected(hr)) break;
    if (::GetTickCount64() - start + kRejectedPauseMs > static_cast<ULONGLONG>(rejectedRetry_.count())) break;
    PauseServingMessages(kRejectedPauseMs);
  }

  DispatchOutcome out;
  if (SUCCEEDED(hr)) return out;
  out.ok = false;
  if (hr == DISP_E_EXCEPTION) {
    out.error = op + " failed: " + DescribeException(excep);
    return out;
  }
  out.gone = IsHostGone(hr);
  out.error = op + " failed: ";
  if (lookingUp && (hr == DISP_E_UNKNOWNNAME || hr == DISP_E_MEMBERNOTFOUND))
    out.error += "the host does not know this operation, ";
  out.error += DescribeHresult(hr);
  if (!lookingUp && (hr == DISP_E_TYPEMISMATCH || hr == DISP_E_PARAMNOTFOUND))
    out.error += " (argument " + std::to_string(args.size() - argError) + ")";
  return out;
}

}  // namespace orv::win
