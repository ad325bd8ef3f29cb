#include "host/win/com_host.h"

#include <ocidl.h>
#include <olectl.h>

#include <cstdio>
#include <deque>
#include <map>
#include <mutex>
#include <vector>

#include "platform/win/scoped.h"
#include "platform/win/text.h"

namespace orv::win {
namespace {

constexpr UINT kDeliverEvent = WM_APP + 0x48;
constexpr wchar_t kWindowClass[] = L"OrvalenHostEvents";

std::string Hex(HRESULT hr) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "0x%08lX", static_cast<unsigned long>(hr));
  return buf;
}

// Words for the errors a host call is likely to meet, where the system has
// none (Wine knows few of them).
const char* KnownError(HRESULT hr) {
  switch (hr) {
    case REGDB_E_CLASSNOTREG: return "Class not registered";
    case CO_E_SERVER_EXEC_FAILURE: return "Server execution failed";
    case CO_E_NOTINITIALIZED: return "CoInitialize has not been called";
    case CLASS_E_CLASSNOTAVAILABLE: return "ClassFactory cannot supply requested class";
    case E_UNEXPECTED: return "Catastrophic failure";
    case E_FAIL: return "Unspecified error";
    case E_NOTIMPL: return "Not implemented";
    case E_NOINTERFACE: return "No such interface supported";
    case E_OUTOFMEMORY: return "Not enough memory";
    case E_INVALIDARG: return "The parameter is incorrect";
    case E_ACCESSDENIED: return "Access is denied";
    case RPC_E_DISCONNECTED: return "The object invoked has disconnected from its clients";
    case RPC_E_SERVER_DIED: return "The callee (server) has died";
    case RPC_E_SERVER_DIED_DNE: return "The callee (server) has died and did not execute the call";
    case CO_E_OBJNOTCONNECTED: return "Object is not connected to server";
    case RPC_E_SERVERFAULT: return "The server threw an exception";
    case RPC_E_CALL_REJECTED: return "Call was rejected by callee";
    case HRESULT_FROM_WIN32(RPC_S_SERVER_UNAVAILABLE): return "The RPC server is unavailable";
    case HRESULT_FROM_WIN32(RPC_S_CALL_FAILED): return "The remote procedure call failed";
    case DISP_E_UNKNOWNNAME: return "Unknown name";
    case DISP_E_MEMBERNOTFOUND: return "Member not found";
    case DISP_E_TYPEMISMATCH: return "Type mismatch";
    case DISP_E_BADPARAMCOUNT: return "Invalid number of parameters";
    case DISP_E_PARAMNOTFOUND: return "Parameter not found";
    case DISP_E_EXCEPTION: return "Exception occurred";
    case DISP_E_OVERFLOW: return "Out of present range";
    case CONNECT_E_CANNOTCONNECT: return "The sink does not support the event interface";
    case CONNECT_E_NOCONNECTION: return "No such connection";
    default: return nullptr;
  }
}

std::string FromBstr(BSTR s) { return s ? Narrow(s, static_cast<int>(::SysStringLen(s))) : std::string(); }

std::string GuidText(const GUID& g) {
  wchar_t buf[40] = {};
  ::StringFromGUID2(g, buf, 40);
  return Narrow(buf);
}

// A VARIANT that clears itself.
struct Variant : VARIANT {
  Variant() { ::VariantInit(this); }
  ~Variant() { ::VariantClear(this); }
  Variant(const Variant&) = delete;
  Variant& operator=(const Variant&) = delete;
};

VARIANT Truth(bool v) {
  VARIANT var;
  ::VariantInit(&var);
  V_VT(&var) = VT_BOOL;
  V_BOOL(&var) = v ? VARIANT_TRUE : VARIANT_FALSE;
  return var;
}

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

// What the event sink hands to the user-interface thread.
struct Event {
  bool closing;
  std::string digits;
};

struct EventQueue {
  std::mutex lock;
  std::deque<Event> events;
  HWND window = nullptr;   // null once the host is gone
};

// The object the host calls back. It only queues: the program's handlers run
// later, from the message loop, and the host is never kept waiting on them.
class EventSink final : public IDispatch {
 public:
  EventSink(IID source, std::map<DISPID, std::string> names, std::shared_ptr<EventQueue> queue)
      : source_(source), names_(std::move(names)), queue_(std::move(queue)) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    if (!out) return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IDispatch || riid == source_) {
      *out = static_cast<IDispatch*>(this);
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
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* n) override {
    if (n) *n = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }

  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*,
                                   UINT*) override {
    try {
      auto name = names_.find(id);
      if (name == names_.end()) return S_OK;   // an event the program does not use
      Event e{};
      if (name->second == "Closing") {
        e.closing = true;
      } else if (name->second == "DTMFString") {
        if (!params || params->cArgs < 1) return DISP_E_BADPARAMCOUNT;
        Variant text;
        // The first argument is last in rgvarg; it may come by reference.
        if (FAILED(::VariantChangeType(&text, &params->rgvarg[params->cArgs - 1], 0, VT_BSTR)))
          return DISP_E_TYPEMISMATCH;
        e.digits = FromBstr(V_BSTR(&text));
      } else {
        return S_OK;
      }
      std::lock_guard<std::mutex> hold(queue_->lock);
      if (!queue_->window) return S_OK;
      queue_->events.push_back(std::move(e));
      ::PostMessageW(queue_->window, kDeliverEvent, 0, 0);
      return S_OK;
    } catch (...) {
      return E_UNEXPECTED;
    }
  }

 private:
  ~EventSink() = default;
  LONG refs_ = 1;
  IID source_;
  std::map<DISPID, std::string> names_;
  std::shared_ptr<EventQueue> queue_;
};

// The coclass's type information: from the object itself, or else through
// the type library that describes its dispatch interface.
ComPtr<ITypeInfo> FindClassInfo(IDispatch* object, const CLSID& clsid) {
  ComPtr<ITypeInfo> coclass;
  ComPtr<IProvideClassInfo> provider;
  if (SUCCEEDED(object->QueryInterface(IID_IProvideClassInfo, reinterpret_cast<void**>(provider.GetAddressOf()))) &&
      SUCCEEDED(provider->GetClassInfo(&coclass)) && coclass)
    return coclass;

  ComPtr<ITypeInfo> iface;
  ComPtr<ITypeLib> lib;
  UINT index = 0;
  if (FAILED(object->GetTypeInfo(0, LOCALE_USER_DEFAULT, &iface)) || !iface ||
      FAILED(iface->GetContainingTypeLib(&lib, &index)) || !lib)
    return nullptr;
  if (SUCCEEDED(lib->GetTypeInfoOfGuid(clsid, &coclass)) && coclass) return coclass;
  return nullptr;
}

// The default source interface of a coclass, as a dispinterface.
ComPtr<ITypeInfo> DefaultSource(ITypeInfo* coclass, std::string& why) {
  TYPEATTR* attr = nullptr;
  if (FAILED(coclass->GetTypeAttr(&attr))) {
    why = "its class information cannot be read";
    return nullptr;
  }
  WORD count = attr->cImplTypes;
  coclass->ReleaseTypeAttr(attr);
  for (UINT i = 0; i < count; ++i) {
    INT flags = 0;
    if (FAILED(coclass->GetImplTypeFlags(i, &flags))) continue;
    if ((flags & (IMPLTYPEFLAG_FDEFAULT | IMPLTYPEFLAG_FSOURCE)) != (IMPLTYPEFLAG_FDEFAULT | IMPLTYPEFLAG_FSOURCE))
      continue;
    HREFTYPE ref = 0;
    ComPtr<ITypeInfo> source;
    if (FAILED(coclass->GetRefTypeOfImplType(i, &ref)) || FAILED(coclass->GetRefTypeInfo(ref, &source))) break;
    TYPEATTR* sa = nullptr;
    if (FAILED(source->GetTypeAttr(&sa))) break;
    TYPEKIND kind = sa->typekind;
    WORD typeFlags = sa->wTypeFlags;
    source->ReleaseTypeAttr(sa);
    if (kind == TKIND_DISPATCH) return source;
    // A dual interface: its dispatch half describes what Invoke receives.
    ComPtr<ITypeInfo> dispatch;
    if (kind == TKIND_INTERFACE && (typeFlags & TYPEFLAG_FDUAL) && SUCCEEDED(source->GetRefTypeOfImplType(-1, &ref)) &&
        SUCCEEDED(source->GetRefTypeInfo(ref, &dispatch)))
      return dispatch;
    why = "its event interface is not dispatch-based";
    return nullptr;
  }
  if (why.empty()) why = "it declares no default event interface";
  return nullptr;
}

std::map<DISPID, std::string> EventNames(ITypeInfo* source, IID& iid) {
  std::map<DISPID, std::string> names;
  TYPEATTR* attr = nullptr;
  if (FAILED(source->GetTypeAttr(&attr))) return names;
  iid = attr->guid;
  WORD funcs = attr->cFuncs;
  source->ReleaseTypeAttr(attr);
  for (UINT i = 0; i < funcs; ++i) {
    FUNCDESC* fd = nullptr;
    if (FAILED(source->GetFuncDesc(i, &fd))) continue;
    MEMBERID id = fd->memid;
    source->ReleaseFuncDesc(fd);
    BSTR name = nullptr;
    UINT got = 0;
    if (SUCCEEDED(source->GetNames(id, &name, 1, &got)) && got == 1) names[id] = FromBstr(name);
    ::SysFreeString(name);
  }
  return names;
}

class ComHost final : public Host {
 public:
  explicit ComHost(ComPtr<IDispatch> object) : object_(std::move(object)), queue_(std::make_shared<EventQueue>()) {
    queue_->window = CreateEventWindow();
  }

  ~ComHost() override {
    HWND window = nullptr;
    {
      std::lock_guard<std::mutex> hold(queue_->lock);
      window = std::exchange(queue_->window, nullptr);
      queue_->events.clear();
    }
    if (point_) point_->Unadvise(cookie_);   // fails harmlessly when the host is gone
    point_.Reset();
    object_.Reset();
    if (window) ::DestroyWindow(window);
  }

  // Returns an empty text on success, otherwise why the events are not connected.
  std::string ConnectEvents(const CLSID& clsid) {
    if (!queue_->window) return "no window for the host's events: " + DescribeHresult(HRESULT_FROM_WIN32(::GetLastError()));
    ComPtr<ITypeInfo> coclass = FindClassInfo(object_.Get(), clsid);
    if (!coclass) return "the host's object gives no class information for its events";
    std::string why;
    ComPtr<ITypeInfo> source = DefaultSource(coclass.Get(), why);
    if (!source) return "the host's events cannot be found: " + why;
    IID iid{};
    auto names = EventNames(source.Get(), iid);
    ComPtr<IConnectionPointContainer> container;
    HRESULT hr = object_.As(&container);
    if (FAILED(hr)) return "the host's object has no events: " + DescribeHresult(hr);
    hr = container->FindConnectionPoint(iid, &point_);
    if (FAILED(hr)) return "the host's object has no connection for " + GuidText(iid) + ": " + DescribeHresult(hr);
    // The connection point holds the sink from here on; ours goes with the scope.
    ComPtr<EventSink> sink;
    sink.Attach(new EventSink(iid, std::move(names), queue_));
    hr = point_->Advise(sink.Get(), &cookie_);
    if (FAILED(hr)) {
      point_.Reset();
      return "the host refused the event connection: " + DescribeHresult(hr);
    }
    return {};
  }

  HostReply setTransmit(bool on) override { return Reply(L"SetTransmit", {Truth(on)}); }
  HostValue<bool> firstBusyFlag() override { return Flag(L"FirstBusyFlag"); }
  HostValue<bool> secondBusyFlag() override { return Flag(L"SecondBusyFlag"); }
  HostReply sendIdentification(bool value) override { return Reply(L"SendIdentification", {Truth(value)}); }

  HostReply transmitFile(const std::string& path, bool value) override {
    try {
      VARIANT file;
      ::VariantInit(&file);
      V_VT(&file) = VT_BSTR;
      std::wstring wide = Widen(path);
      V_BSTR(&file) = ::SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
      if (!V_BSTR(&file)) return HostReply::failure("TransmitFile failed: out of memory");
      return Reply(L"TransmitFile", {file, Truth(value)});
    } catch (...) {
      return HostReply::failure("TransmitFile failed: out of memory");
    }
  }

  HostValue<std::string> stationName() override {
    try {
      Variant station;
      std::string error;
      auto failed = [&] {
        return lastGone_ ? HostValue<std::string>::lost(error) : HostValue<std::string>::failure(error);
      };
      if (!Call(object_.Get(), L"StationObject", DISPATCH_PROPERTYGET | DISPATCH_METHOD, {}, &station, error))
        return failed();
      ComPtr<IDispatch> info;
      if (V_VT(&station) == VT_DISPATCH && V_DISPATCH(&station)) info = V_DISPATCH(&station);
      else if (V_VT(&station) == VT_UNKNOWN && V_UNKNOWN(&station))
        V_UNKNOWN(&station)->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(info.GetAddressOf()));
      if (!info) return HostValue<std::string>::failure("StationObject failed: the host returned no station object");
      Variant name;
      if (!Call(info.Get(), L"StationName", DISPATCH_PROPERTYGET | DISPATCH_METHOD, {}, &name, error))
        return failed();
      Variant text;
      HRESULT hr = ::VariantChangeType(&text, &name, 0, VT_BSTR);
      if (FAILED(hr)) return HostValue<std::string>::failure("StationName failed: " + DescribeHresult(hr));
      return {true, FromBstr(V_BSTR(&text)), {}};
    } catch (...) {
      return HostValue<std::string>::failure("StationName failed: out of memory");
    }
  }

  HostReply exitSignal(bool value) override { return Reply(L"ExitSignal", {Truth(value)}); }
  void setEventSink(HostEvents* sink) override { sink_ = sink; }

 private:
  static LRESULT CALLBACK WindowProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == kDeliverEvent) {
      auto* self = reinterpret_cast<ComHost*>(::GetWindowLongPtrW(w, GWLP_USERDATA));
      if (self) self->DeliverOne();
      return 0;
    }
    return ::DefWindowProcW(w, msg, wp, lp);
  }

  HWND CreateEventWindow() {
    static ATOM atom = [] {
      WNDCLASSW wc{};
      wc.lpfnWndProc = WindowProc;
      wc.hInstance = ::GetModuleHandleW(nullptr);
      wc.lpszClassName = kWindowClass;
      return ::RegisterClassW(&wc);
    }();
    if (!atom) return nullptr;
    HWND w = ::CreateWindowExW(0, kWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                               ::GetModuleHandleW(nullptr), nullptr);
    if (w) ::SetWindowLongPtrW(w, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    return w;
  }

  // One event per message. The handler may end the program and destroy this
  // host, so nothing of it is touched after the handler returns.
  void DeliverOne() {
    if (calling_ > 0) {   // inside a call to the host: handlers wait for it to return
      deferred_ = true;
      return;
    }
    Event e;
    {
      std::lock_guard<std::mutex> hold(queue_->lock);
      if (queue_->events.empty()) return;
      e = std::move(queue_->events.front());
      queue_->events.pop_front();
    }
    HostEvents* sink = sink_;
    if (!sink) return;
    if (e.closing) sink->onClosing();
    else sink->onDtmfString(e.digits);
  }

  void CallFinished() {
    if (--calling_ > 0 || !deferred_) return;
    deferred_ = false;
    std::lock_guard<std::mutex> hold(queue_->lock);
    for (size_t i = 0; i < queue_->events.size(); ++i) ::PostMessageW(queue_->window, kDeliverEvent, 0, 0);
  }

  // Calls a member by name; `args` in their natural order, owned (cleared) here.
  bool Call(IDispatch* target, const wchar_t* name, WORD flags, std::vector<VARIANT> args, VARIANT* result,
            std::string& error) {
    lastGone_ = false;
    bool ok = Invoke(target, name, flags, std::move(args), result, error);
    return ok;
  }

  bool Invoke(IDispatch* target, const wchar_t* name, WORD flags, std::vector<VARIANT> args, VARIANT* result,
              std::string& error) {
    std::string op = Narrow(name);
    struct Clear {
      std::vector<VARIANT>& a;
      ~Clear() { for (auto& v : a) ::VariantClear(&v); }
    } clear{args};
    DISPID id = 0;
    ++calling_;
    HRESULT hr = S_OK;
    bool cached = target == object_.Get();   // the station object is asked afresh each time
    auto known = cached ? ids_.find(name) : ids_.end();
    if (known != ids_.end()) {
      id = known->second;
    } else {
      LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
      hr = target->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
      if (FAILED(hr)) {
        CallFinished();
        lastGone_ = IsHostGone(hr);
        error = op + " failed: " +
                (hr == DISP_E_UNKNOWNNAME || hr == DISP_E_MEMBERNOTFOUND ? "the host does not know this operation, "
                                                                         : "") +
                DescribeHresult(hr);
        return false;
      }
      if (cached) ids_[name] = id;
    }
    std::vector<VARIANT> reversed(args.rbegin(), args.rend());   // Invoke takes them last first
    DISPPARAMS params{};
    params.rgvarg = reversed.empty() ? nullptr : reversed.data();
    params.cArgs = static_cast<UINT>(reversed.size());
    EXCEPINFO excep{};
    UINT argError = 0;
    hr = target->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, result, &excep, &argError);
    CallFinished();
    if (hr == DISP_E_EXCEPTION) {
      error = op + " failed: " + DescribeException(excep);
      return false;
    }
    if (FAILED(hr)) {
      lastGone_ = IsHostGone(hr);
      error = op + " failed: " + DescribeHresult(hr);
      if (hr == DISP_E_TYPEMISMATCH || hr == DISP_E_PARAMNOTFOUND)
        error += " (argument " + std::to_string(args.size() - argError) + ")";
      return false;
    }
    return true;
  }

  HostReply Reply(const wchar_t* name, std::vector<VARIANT> args) {
    try {
      std::string error;
      if (!Call(object_.Get(), name, DISPATCH_METHOD, std::move(args), nullptr, error))
        return lastGone_ ? HostReply::lost(error) : HostReply::failure(error);
      return {};
    } catch (...) {
      return HostReply::failure(Narrow(name) + " failed: out of memory");
    }
  }

  HostValue<bool> Flag(const wchar_t* name) {
    try {
      Variant value;
      std::string error;
      if (!Call(object_.Get(), name, DISPATCH_PROPERTYGET | DISPATCH_METHOD, {}, &value, error))
        return lastGone_ ? HostValue<bool>::lost(error) : HostValue<bool>::failure(error);
      Variant truth;
      HRESULT hr = ::VariantChangeType(&truth, &value, 0, VT_BOOL);
      if (FAILED(hr)) return HostValue<bool>::failure(Narrow(name) + " failed: " + DescribeHresult(hr));
      return {true, V_BOOL(&truth) != VARIANT_FALSE, {}};
    } catch (...) {
      return HostValue<bool>::failure(Narrow(name) + " failed: out of memory");
    }
  }

  ComPtr<IDispatch> object_;
  std::shared_ptr<EventQueue> queue_;
  ComPtr<IConnectionPoint> point_;
  DWORD cookie_ = 0;
  HostEvents* sink_ = nullptr;
  int calling_ = 0;
  bool deferred_ = false;
  bool lastGone_ = false;   // the last failed call did not reach the host
  std::map<std::wstring, DISPID> ids_;
};

}  // namespace

std::string DescribeHresult(HRESULT hr) {
  wchar_t* text = nullptr;
  DWORD n = ::FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                             nullptr, static_cast<DWORD>(hr), 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::string words;
  if (n && text) {
    words = Narrow(text, static_cast<int>(n));
    while (!words.empty() && (words.back() == '\n' || words.back() == '\r' || words.back() == ' ' || words.back() == '.'))
      words.pop_back();
  }
  if (text) ::LocalFree(text);
  if (words.empty()) words = KnownError(hr) ? KnownError(hr) : "Unknown error";
  return words + " (" + Hex(hr) + ")";
}

bool IsHostGone(HRESULT hr) {
  switch (hr) {
    case RPC_E_DISCONNECTED:
    case RPC_E_SERVER_DIED:
    case RPC_E_SERVER_DIED_DNE:
    case RPC_E_CONNECTION_TERMINATED:
    case RPC_E_INVALID_OBJECT:
    case CO_E_OBJNOTCONNECTED:
    case CO_E_SERVER_STOPPING:
    case HRESULT_FROM_WIN32(RPC_S_SERVER_UNAVAILABLE):
    case HRESULT_FROM_WIN32(RPC_S_CALL_FAILED):
    case HRESULT_FROM_WIN32(RPC_S_CALL_FAILED_DNE):
    case HRESULT_FROM_WIN32(ERROR_BROKEN_PIPE):
      return true;
    default:
      return false;
  }
}

HostConnector::Connection ComHostConnector::connect() {
  ComHostCreation made = CreateComHost(clsid_);
  return {std::move(made.host), std::move(made.error), std::move(made.eventsError)};
}

ComHostCreation CreateComHost(const CLSID& clsid) {
  ComHostCreation out;
  try {
    ComPtr<IDispatch> object;
    HRESULT hr = ::CoCreateInstance(clsid, nullptr, CLSCTX_SERVER, IID_IDispatch,
                                    reinterpret_cast<void**>(object.GetAddressOf()));
    if (FAILED(hr)) {
      out.error = "The host application's automation object " + GuidText(clsid) +
                  " could not be created: " + DescribeHresult(hr);
      return out;
    }
    auto host = std::make_unique<ComHost>(std::move(object));
    out.eventsError = host->ConnectEvents(clsid);
    out.host = std::move(host);
  } catch (...) {
    out.host.reset();
    out.error = "The host application's automation object could not be created: out of memory";
  }
  return out;
}

}  // namespace orv::win
