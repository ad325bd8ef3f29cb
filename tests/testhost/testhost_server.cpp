// orvalen_testhost.exe: an out-of-process automation server that stands in for
// the voice-link host application in tests. It records every call with its
// arguments as they arrived, answers with the settings a test gave through
// orvalen_testhostctl.exe, and raises DTMFString and Closing on request.
#include <windows.h>
#include <ocidl.h>
#include <olectl.h>
#include <shellapi.h>
#include <wrl/client.h>

#include <algorithm>
#include <cstdlib>
#include <deque>
#include <string>
#include <utility>
#include <vector>

#include "orvalen_testhost.h"
#include "testhost_state.h"

using Microsoft::WRL::ComPtr;
namespace th = orv::testhost;

namespace {

constexpr UINT kFireEvents = WM_APP + 1;
constexpr UINT kDisconnectAll = WM_APP + 2;
constexpr UINT_PTR kIdleTimer = 1;
// A server started by hand, or by a client that went away before connecting,
// does not stay for ever.
constexpr UINT kIdleMs = 20000;

LONG g_objects = 0;
HWND g_control = nullptr;
DWORD g_classCookie = 0;
ComPtr<ITypeLib> g_lib;
ComPtr<ITypeInfo> g_hostInfo, g_stationInfo;

void ObjectCreated() {
  ++g_objects;
  if (g_control) ::KillTimer(g_control, kIdleTimer);
}
// Gone with the last client: under Wine a server started by COM keeps the
// client's output pipe open, and a test runner would wait for it.
void ObjectGone() {
  if (--g_objects == 0) ::PostQuitMessage(0);
}

void Log(const std::string& line) { th::AppendLog(th::LoadSettings().logFile, line); }

std::string ArgText(const VARIANT& raw) {
  VARIANT v;
  ::VariantInit(&v);
  if (FAILED(::VariantCopyInd(&v, const_cast<VARIANT*>(&raw)))) return "?";
  std::string out;
  switch (V_VT(&v)) {
    case VT_BOOL: out = std::to_string(V_BOOL(&v)); break;   // -1 / 0 as they came
    case VT_BSTR: out = th::Utf8(V_BSTR(&v), static_cast<int>(::SysStringLen(V_BSTR(&v)))); break;
    case VT_I2: out = "i2:" + std::to_string(V_I2(&v)); break;
    case VT_I4: out = "i4:" + std::to_string(V_I4(&v)); break;
    case VT_ERROR: out = V_ERROR(&v) == DISP_E_PARAMNOTFOUND ? "missing" : "error:" + std::to_string(V_ERROR(&v)); break;
    case VT_EMPTY: out = "empty"; break;
    default: out = "vt" + std::to_string(V_VT(&v)); break;
  }
  ::VariantClear(&v);
  return out;
}

// "Name(a,b)" from the arguments as they crossed the boundary; property gets
// and calls without arguments are the bare name.
std::string CallText(const std::string& name, const DISPPARAMS* params) {
  if (!params || params->cArgs == 0) return name;
  std::string text = name + "(";
  for (UINT i = params->cArgs; i-- > 0;) {   // rgvarg holds them last first
    text += ArgText(params->rgvarg[i]);
    if (i) text += ",";
  }
  return text + ")";
}

std::string NameOf(ITypeInfo* info, DISPID id) {
  BSTR name = nullptr;
  UINT count = 0;
  if (FAILED(info->GetNames(id, &name, 1, &count)) || count == 0) return "dispid" + std::to_string(id);
  std::string out = th::Utf8(name);
  ::SysFreeString(name);
  return out;
}

HRESULT Refuse(const std::string& call, th::Failure how, EXCEPINFO* excep) {
  Log("# " + call + " failed (" + (how == th::Failure::Hresult ? "hresult" : "exception") + ")");
  if (how == th::Failure::Hresult) return E_UNEXPECTED;
  if (excep) {
    *excep = EXCEPINFO{};
    excep->scode = E_FAIL;
    excep->bstrSource = ::SysAllocString(L"orvalen_testhost");
    excep->bstrDescription = ::SysAllocString(th::Wide(call + " refused by the test host").c_str());
  }
  return DISP_E_EXCEPTION;
}

// A busy host: every call is turned away, as a host in a modal dialog does,
// until the time the test gave. The call itself answers so (see the README).
bool Rejecting(const th::Settings& s, const std::string& text) {
  if (s.rejectUntil == 0 || th::SystemTimeNow() >= s.rejectUntil) return false;
  Log("# rejected " + text);
  return true;
}

// The call the test asked to be answered late: the host thinks that long,
// serving other calls (and other clients) meanwhile.
void HangIfAsked(const th::Settings& s, const std::string& name, const std::string& text) {
  const size_t bar = s.hang.rfind('|');
  if (bar == std::string::npos) return;
  const std::string call = s.hang.substr(0, bar);
  if (call != name && call != text) return;
  th::DeleteSetting(L"Hang");
  const double seconds = std::atof(s.hang.c_str() + bar + 1);
  Log("# hanging " + text + " for " + s.hang.substr(bar + 1) + " s");
  const ULONGLONG end = ::GetTickCount64() + static_cast<ULONGLONG>(seconds * 1000);
  for (ULONGLONG now = ::GetTickCount64(); now < end; now = ::GetTickCount64()) {
    ::MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(end - now), QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) {   // the server's own loop is to see it
        ::PostQuitMessage(static_cast<int>(msg.wParam));
        Log("# answering " + text + " early: the server stops");
        return;
      }
      ::TranslateMessage(&msg);
      ::DispatchMessageW(&msg);
    }
  }
  Log("# answering " + text);
}

// A direct (vtable) call: log it, and fail it through IErrorInfo when asked.
HRESULT VtableCall(bool viaInvoke, const std::string& name, const std::string& text) {
  if (viaInvoke) return S_OK;   // Invoke has logged the raw arguments and applied failures
  const th::Settings settings = th::LoadSettings();
  if (Rejecting(settings, text)) return RPC_E_CALL_REJECTED;
  Log(text);
  HangIfAsked(settings, name, text);
  th::Failure how = th::FailureFor(settings, name, text);
  if (how == th::Failure::None) return S_OK;
  ComPtr<ICreateErrorInfo> create;
  if (SUCCEEDED(::CreateErrorInfo(&create))) {
    create->SetSource(const_cast<LPOLESTR>(L"orvalen_testhost"));
    std::wstring d = th::Wide(name + " refused by the test host");
    create->SetDescription(const_cast<LPOLESTR>(d.c_str()));
    ComPtr<IErrorInfo> info;
    if (SUCCEEDED(create.As(&info))) ::SetErrorInfo(0, info.Get());
  }
  return how == th::Failure::Hresult ? E_UNEXPECTED : E_FAIL;
}

void RaiseDtmfNow(const std::wstring& digits);

// A test asked for an event from inside this call: the client is waiting
// for the call's answer when the event reaches it.
void RaiseIfAsked(const std::string& name) {
  std::string during = th::LoadSettings().raiseDuring;
  size_t colon = during.find(':');
  if (colon == std::string::npos || during.substr(0, colon) != name) return;
  th::DeleteSetting(L"RaiseDuring");
  Log("# raising DTMFString(" + during.substr(colon + 1) + ") inside " + name);
  RaiseDtmfNow(th::Wide(during.substr(colon + 1)));
}

// IDispatch through the type library, with logging and failures applied to
// the arguments exactly as the client sent them.
template <class Iface>
HRESULT LoggedInvoke(Iface* self, ITypeInfo* info, bool& invoking, DISPID id, WORD flags, DISPPARAMS* params,
                     VARIANT* result, EXCEPINFO* excep, UINT* argErr) {
  std::string name = NameOf(info, id);
  std::string text = CallText(name, params);
  const th::Settings settings = th::LoadSettings();
  if (Rejecting(settings, text)) return RPC_E_CALL_REJECTED;
  Log(text);
  RaiseIfAsked(name);
  HangIfAsked(settings, name, text);
  th::Failure how = th::FailureFor(settings, name, text);
  if (how != th::Failure::None) return Refuse(name, how, excep);
  invoking = true;
  HRESULT hr = info->Invoke(self, id, flags, params, result, excep, argErr);
  invoking = false;
  return hr;
}

class TestStation : public ITestStation {
 public:
  TestStation() { ObjectCreated(); }
  virtual ~TestStation() { ObjectGone(); }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    if (!out) return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IDispatch || riid == __uuidof(ITestStation)) {
      *out = static_cast<ITestStation*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
  ULONG STDMETHODCALLTYPE Release() override {
    ULONG n = --refs_;
    if (n == 0) delete this;
    return n;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* n) override { *n = 1; return S_OK; }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT i, LCID, ITypeInfo** out) override {
    if (i != 0) return DISP_E_BADINDEX;
    return g_stationInfo.CopyTo(out);
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT n, LCID, DISPID* ids) override {
    return ::DispGetIDsOfNames(g_stationInfo.Get(), names, n, ids);
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                   EXCEPINFO* excep, UINT* argErr) override {
    return LoggedInvoke(static_cast<ITestStation*>(this), g_stationInfo.Get(), invoking_, id, flags, params, result,
                        excep, argErr);
  }
  HRESULT STDMETHODCALLTYPE get_StationName(BSTR* value) override {
    HRESULT hr = VtableCall(invoking_, "StationName", "StationName");
    if (FAILED(hr)) return hr;
    *value = ::SysAllocString(th::Wide(th::LoadSettings().station).c_str());
    return S_OK;
  }

 private:
  ULONG refs_ = 1;
  bool invoking_ = false;
};

class TestHostObject;

class EventPoint : public IConnectionPoint {
 public:
  explicit EventPoint(TestHostObject* owner) : owner_(owner) {}
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    if (!out) return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IConnectionPoint) {
      *out = static_cast<IConnectionPoint*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  HRESULT STDMETHODCALLTYPE GetConnectionInterface(IID* iid) override {
    *iid = DIID_DTestHostEvents;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetConnectionPointContainer(IConnectionPointContainer** out) override;
  HRESULT STDMETHODCALLTYPE Advise(IUnknown* sink, DWORD* cookie) override {
    if (!sink || !cookie) return E_POINTER;
    // As strict as common servers: the sink must answer the source interface.
    ComPtr<IDispatch> events;
    if (FAILED(sink->QueryInterface(DIID_DTestHostEvents, reinterpret_cast<void**>(events.GetAddressOf())))) {
      Log("# advise refused: the sink does not implement the event interface");
      return CONNECT_E_CANNOTCONNECT;
    }
    *cookie = ++lastCookie_;
    sinks_.push_back({*cookie, events});
    Log("# advise " + std::to_string(*cookie));
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Unadvise(DWORD cookie) override {
    auto it = std::find_if(sinks_.begin(), sinks_.end(), [&](const Sink& s) { return s.cookie == cookie; });
    if (it == sinks_.end()) return CONNECT_E_NOCONNECTION;
    sinks_.erase(it);
    Log("# unadvise " + std::to_string(cookie));
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE EnumConnections(IEnumConnections**) override { return E_NOTIMPL; }

  struct Sink {
    DWORD cookie;
    ComPtr<IDispatch> events;
  };
  std::vector<Sink> sinks_;

 private:
  TestHostObject* owner_;
  DWORD lastCookie_ = 0;
};

std::vector<TestHostObject*> g_hosts;

class TestHostObject : public ITestHost, public IConnectionPointContainer, public IProvideClassInfo {
 public:
  TestHostObject() : point_(this) {
    ObjectCreated();
    g_hosts.push_back(this);
    Log("# object created");
  }
  virtual ~TestHostObject() {
    g_hosts.erase(std::find(g_hosts.begin(), g_hosts.end(), this));
    Log("# object released");
    ObjectGone();
  }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (riid == IID_IUnknown || riid == IID_IDispatch || riid == __uuidof(ITestHost))
      *out = static_cast<ITestHost*>(this);
    else if (riid == IID_IConnectionPointContainer)
      *out = static_cast<IConnectionPointContainer*>(this);
    else if (riid == IID_IProvideClassInfo && !th::LoadSettings().noClassInfo)
      *out = static_cast<IProvideClassInfo*>(this);
    if (!*out) return E_NOINTERFACE;
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
  ULONG STDMETHODCALLTYPE Release() override {
    ULONG n = --refs_;
    if (n == 0) delete this;
    return n;
  }

  // IDispatch
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* n) override { *n = 1; return S_OK; }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT i, LCID, ITypeInfo** out) override {
    if (i != 0) return DISP_E_BADINDEX;
    return g_hostInfo.CopyTo(out);
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT n, LCID, DISPID* ids) override {
    return ::DispGetIDsOfNames(g_hostInfo.Get(), names, n, ids);
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                   EXCEPINFO* excep, UINT* argErr) override {
    return LoggedInvoke(static_cast<ITestHost*>(this), g_hostInfo.Get(), invoking_, id, flags, params, result, excep,
                        argErr);
  }

  // ITestHost
#define ORV_UNUSED(n) \
  HRESULT STDMETHODCALLTYPE Unused##n() override { VtableCall(invoking_, "Unused" #n, "Unused" #n); return E_NOTIMPL; }
  ORV_UNUSED(00) ORV_UNUSED(01) ORV_UNUSED(02) ORV_UNUSED(03) ORV_UNUSED(04) ORV_UNUSED(07) ORV_UNUSED(08)
  ORV_UNUSED(11) ORV_UNUSED(12) ORV_UNUSED(13) ORV_UNUSED(14) ORV_UNUSED(15) ORV_UNUSED(16) ORV_UNUSED(17)
  ORV_UNUSED(19) ORV_UNUSED(20) ORV_UNUSED(21) ORV_UNUSED(22) ORV_UNUSED(23) ORV_UNUSED(25) ORV_UNUSED(26)
  ORV_UNUSED(27) ORV_UNUSED(28) ORV_UNUSED(29)
#undef ORV_UNUSED

  HRESULT STDMETHODCALLTYPE SetTransmit(VARIANT_BOOL on) override {
    return VtableCall(invoking_, "SetTransmit", "SetTransmit(" + std::to_string(on) + ")");
  }
  HRESULT STDMETHODCALLTYPE get_FirstBusyFlag(VARIANT_BOOL* v) override {
    HRESULT hr = VtableCall(invoking_, "FirstBusyFlag", "FirstBusyFlag");
    if (SUCCEEDED(hr)) *v = th::LoadSettings().busy1 ? VARIANT_TRUE : VARIANT_FALSE;
    return hr;
  }
  HRESULT STDMETHODCALLTYPE get_SecondBusyFlag(VARIANT_BOOL* v) override {
    HRESULT hr = VtableCall(invoking_, "SecondBusyFlag", "SecondBusyFlag");
    if (SUCCEEDED(hr)) *v = th::LoadSettings().busy2 ? VARIANT_TRUE : VARIANT_FALSE;
    return hr;
  }
  HRESULT STDMETHODCALLTYPE SendIdentification(VARIANT_BOOL value, VARIANT extra) override {
    std::string text = "SendIdentification(" + std::to_string(value);
    if (!(V_VT(&extra) == VT_ERROR && V_ERROR(&extra) == DISP_E_PARAMNOTFOUND)) text += "," + ArgText(extra);
    return VtableCall(invoking_, "SendIdentification", text + ")");
  }
  HRESULT STDMETHODCALLTYPE TransmitFile(BSTR path, VARIANT_BOOL value) override {
    return VtableCall(invoking_, "TransmitFile",
                      "TransmitFile(" + th::Utf8(path, static_cast<int>(::SysStringLen(path))) + "," +
                          std::to_string(value) + ")");
  }
  HRESULT STDMETHODCALLTYPE get_StationObject(ITestStation** station) override {
    HRESULT hr = VtableCall(invoking_, "StationObject", "StationObject");
    if (FAILED(hr)) return hr;
    *station = new TestStation;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE ExitSignal(VARIANT_BOOL value) override {
    return VtableCall(invoking_, "ExitSignal", "ExitSignal(" + std::to_string(value) + ")");
  }

  // IConnectionPointContainer
  HRESULT STDMETHODCALLTYPE EnumConnectionPoints(IEnumConnectionPoints**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID riid, IConnectionPoint** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (riid != DIID_DTestHostEvents) return CONNECT_E_NOCONNECTION;
    *out = &point_;
    point_.AddRef();
    return S_OK;
  }

  // IProvideClassInfo
  HRESULT STDMETHODCALLTYPE GetClassInfo(ITypeInfo** out) override {
    return g_lib->GetTypeInfoOfGuid(CLSID_TestHost, out);
  }

  // Raises an event on every connected sink; the count of sinks it reached.
  int Fire(DISPID id, const std::wstring* digits) {
    auto sinks = point_.sinks_;   // a sink may unadvise from inside its handler
    int reached = 0;
    for (auto& s : sinks) {
      VARIANT arg;
      ::VariantInit(&arg);
      DISPPARAMS params{};
      if (digits) {
        V_VT(&arg) = VT_BSTR;
        V_BSTR(&arg) = ::SysAllocStringLen(digits->data(), static_cast<UINT>(digits->size()));
        params.rgvarg = &arg;
        params.cArgs = 1;
      }
      HRESULT hr = s.events->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, nullptr, nullptr,
                                    nullptr);
      ::VariantClear(&arg);
      if (SUCCEEDED(hr)) ++reached;
      else Log("# event delivery to sink " + std::to_string(s.cookie) + " failed: 0x" + [&] {
        char b[16];
        wsprintfA(b, "%08lX", static_cast<unsigned long>(hr));
        return std::string(b);
      }());
    }
    return reached;
  }
  size_t SinkCount() const { return point_.sinks_.size(); }

  ULONG refs_ = 1;

 private:
  bool invoking_ = false;
  EventPoint point_;
};

ULONG EventPoint::AddRef() { return owner_->AddRef(); }
ULONG EventPoint::Release() { return owner_->Release(); }
HRESULT EventPoint::GetConnectionPointContainer(IConnectionPointContainer** out) {
  return owner_->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(out));
}

class Factory : public IClassFactory {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    if (riid == IID_IUnknown || riid == IID_IClassFactory) {
      *out = static_cast<IClassFactory*>(this);
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** out) override {
    if (outer) return CLASS_E_NOAGGREGATION;
    auto* host = new TestHostObject;
    HRESULT hr = host->QueryInterface(riid, out);
    host->Release();
    return hr;
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
    if (lock) ObjectCreated();
    else ObjectGone();
    return S_OK;
  }
};

// Events wait here between the control request and their delivery: the
// request comes in through SendMessage, inside which no outgoing COM call may
// be made.
struct Pending {
  DISPID id;
  std::wstring digits;
  bool hasDigits;
};
std::deque<Pending> g_pending;

void RaiseDtmfNow(const std::wstring& digits) {
  auto hosts = g_hosts;
  for (auto* h : hosts) {
    h->AddRef();
    h->Fire(1, &digits);
    h->Release();
  }
}

std::string EventText(const Pending& p) {
  return p.hasDigits ? "DTMFString(" + th::Utf8(p.digits.data(), static_cast<int>(p.digits.size())) + ")"
                     : "Closing";
}

LRESULT CALLBACK ControlProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COPYDATA: {
      auto* cd = reinterpret_cast<const COPYDATASTRUCT*>(lp);
      switch (cd->dwData) {
        case th::kRaiseDtmf:
          g_pending.push_back({1, std::wstring(static_cast<const wchar_t*>(cd->lpData), cd->cbData / sizeof(wchar_t)),
                               true});
          ::PostMessageW(w, kFireEvents, 0, 0);
          return 1;
        case th::kRaiseClosing:
          g_pending.push_back({2, {}, false});
          ::PostMessageW(w, kFireEvents, 0, 0);
          return 1;
        case th::kCountSinks: {
          size_t n = 0;
          for (auto* h : g_hosts) n += h->SinkCount();
          return static_cast<LRESULT>(n);
        }
        case th::kDie:
          Log("# killed");
          ::ExitProcess(3);
        case th::kDisconnect:
          ::PostMessageW(w, kDisconnectAll, 0, 0);
          return 1;
      }
      return 0;
    }
    case kDisconnectAll: {
      // A host that goes away without Closing, but tidily: its clients'
      // references die with the stubs, and the class can be made again.
      Log("# disconnecting");
      if (g_classCookie) ::CoRevokeClassObject(std::exchange(g_classCookie, 0));
      auto hosts = g_hosts;
      for (auto* h : hosts) h->AddRef();
      for (auto* h : hosts) ::CoDisconnectObject(static_cast<ITestHost*>(h), 0);
      for (auto* h : hosts) h->Release();
      ::PostQuitMessage(0);
      return 0;
    }
    case kFireEvents:
      while (!g_pending.empty()) {
        Pending p = g_pending.front();
        g_pending.pop_front();
        int reached = 0;
        auto hosts = g_hosts;
        for (auto* h : hosts) {
          h->AddRef();
          reached += h->Fire(p.id, p.hasDigits ? &p.digits : nullptr);
          h->Release();
        }
        Log("# event " + EventText(p) + " sinks=" + std::to_string(reached));
      }
      return 0;
    case WM_TIMER:
      if (wp == kIdleTimer) {
        ::KillTimer(w, kIdleTimer);
        if (g_objects == 0) ::PostQuitMessage(0);
      }
      return 0;
  }
  return ::DefWindowProcW(w, msg, wp, lp);
}

std::wstring ExePath() {
  wchar_t path[MAX_PATH * 2] = {};
  DWORD n = ::GetModuleFileNameW(nullptr, path, static_cast<DWORD>(std::size(path)));
  return std::wstring(path, n);
}

bool SetKey(HKEY root, const std::wstring& sub, const wchar_t* name, const std::wstring& value) {
  HKEY key = nullptr;
  if (::RegCreateKeyExW(root, sub.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) != ERROR_SUCCESS)
    return false;
  LONG r = ::RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                            static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
  ::RegCloseKey(key);
  return r == ERROR_SUCCESS;
}

int Register() {
  std::wstring exe = ExePath();
  std::wstring clsKey = std::wstring(L"CLSID\\") + th::kHostClsid;
  ComPtr<ITypeLib> lib;
  HRESULT hr = ::LoadTypeLibEx(exe.c_str(), REGKIND_REGISTER, &lib);
  if (FAILED(hr)) {
    fwprintf(stderr, L"orvalen_testhost: type library registration failed: 0x%08lX\n", static_cast<unsigned long>(hr));
    return 1;
  }
  bool ok = SetKey(HKEY_CLASSES_ROOT, clsKey, nullptr, L"Orvalen test host") &&
            SetKey(HKEY_CLASSES_ROOT, clsKey + L"\\LocalServer32", nullptr, L"\"" + exe + L"\"") &&
            SetKey(HKEY_CLASSES_ROOT, clsKey + L"\\TypeLib", nullptr, L"{5E3C2B71-9A4D-4C1E-8F27-3B6D0A9E4C15}") &&
            SetKey(HKEY_CLASSES_ROOT, clsKey + L"\\Version", nullptr, L"1.0") &&
            th::SaveString(L"LogFile", th::ModuleFolder() + L"orvalen_testhost.log");
  if (!ok) {
    fwprintf(stderr, L"orvalen_testhost: could not write the registration\n");
    return 1;
  }
  return 0;
}

int Unregister() {
  std::wstring clsKey = std::wstring(L"CLSID\\") + th::kHostClsid;
  ::RegDeleteTreeW(HKEY_CLASSES_ROOT, clsKey.c_str());
  ::UnRegisterTypeLib(LIBID_OrvalenTestHostLib, 1, 0, LOCALE_NEUTRAL, SYS_WIN64);
  return 0;
}

bool HasSwitch(const wchar_t* cmdLine, const wchar_t* name) {
  int argc = 0;
  wchar_t** argv = ::CommandLineToArgvW(cmdLine, &argc);
  bool found = false;
  for (int i = 1; i < argc && argv; ++i) {
    const wchar_t* a = argv[i];
    if (*a == L'/' || *a == L'-') ++a;
    if (::lstrcmpiW(a, name) == 0) found = true;
  }
  ::LocalFree(argv);
  return found;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  const wchar_t* cmd = ::GetCommandLineW();
  if (HasSwitch(cmd, L"regserver")) return Register();
  if (HasSwitch(cmd, L"unregserver")) return Unregister();

  if (FAILED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 2;
  int code = 0;
  {
    if (FAILED(::LoadTypeLibEx(ExePath().c_str(), REGKIND_NONE, &g_lib)) ||
        FAILED(g_lib->GetTypeInfoOfGuid(__uuidof(ITestHost), &g_hostInfo)) ||
        FAILED(g_lib->GetTypeInfoOfGuid(__uuidof(ITestStation), &g_stationInfo))) {
      Log("# the embedded type library could not be loaded");
      ::CoUninitialize();
      return 2;
    }
    WNDCLASSW wc{};
    wc.lpfnWndProc = ControlProc;
    wc.hInstance = instance;
    wc.lpszClassName = th::kControlClass;
    ::RegisterClassW(&wc);
    g_control = ::CreateWindowExW(0, th::kControlClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, nullptr);

    static Factory factory;
    HRESULT hr =
        ::CoRegisterClassObject(CLSID_TestHost, &factory, CLSCTX_LOCAL_SERVER, REGCLS_MULTIPLEUSE, &g_classCookie);
    if (FAILED(hr)) {
      Log("# class registration failed");
      code = 2;
    } else {
      Log("# server started, pid " + std::to_string(::GetCurrentProcessId()));
      if (g_objects == 0) ::SetTimer(g_control, kIdleTimer, kIdleMs, nullptr);
      MSG msg;
      while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
      }
      if (g_classCookie) ::CoRevokeClassObject(std::exchange(g_classCookie, 0));
      Log("# server stopped");
    }
    ::DestroyWindow(g_control);
    g_control = nullptr;
    g_stationInfo.Reset();
    g_hostInfo.Reset();
    g_lib.Reset();
  }
  ::CoUninitialize();
  return code;
}
