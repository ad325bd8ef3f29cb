#include "host/win/event_connection.h"

#include <map>
#include <utility>

#include "host/win/dispatch_call.h"
#include "host/win/hresult_text.h"
#include "platform/win/text.h"

namespace orv::win {
namespace {

// The object the host calls back. It only hands the event on: the program's
// handlers run later on the window's thread, and the host is never kept
// waiting on them.
class EventSink final : public IDispatch {
 public:
  EventSink(IID source, std::map<DISPID, std::string> names, std::shared_ptr<HostEventTarget> target)
      : source_(source), names_(std::move(names)), target_(std::move(target)) {}

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
      HostEvent e;
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
      target_->raise(std::move(e));
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
  std::shared_ptr<HostEventTarget> target_;
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

}  // namespace

std::string EventConnection::connect(IDispatch* object, const CLSID& clsid, std::shared_ptr<HostEventTarget> target) {
  disconnect();
  ComPtr<ITypeInfo> coclass = FindClassInfo(object, clsid);
  if (!coclass) return "the host's object gives no class information for its events";
  std::string why;
  ComPtr<ITypeInfo> source = DefaultSource(coclass.Get(), why);
  if (!source) return "the host's events cannot be found: " + why;
  IID iid{};
  auto names = EventNames(source.Get(), iid);
  ComPtr<IConnectionPointContainer> container;
  HRESULT hr = object->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(container.GetAddressOf()));
  if (FAILED(hr)) return "the host's object has no events: " + DescribeHresult(hr);
  ComPtr<IConnectionPoint> point;
  hr = container->FindConnectionPoint(iid, &point);
  if (FAILED(hr)) return "the host's object has no connection for " + GuidText(iid) + ": " + DescribeHresult(hr);
  // The connection point holds the sink from here on; ours goes with the scope.
  ComPtr<EventSink> sink;
  sink.Attach(new EventSink(iid, std::move(names), std::move(target)));
  hr = point->Advise(sink.Get(), &cookie_);
  if (FAILED(hr)) return "the host refused the event connection: " + DescribeHresult(hr);
  point_ = std::move(point);
  return {};
}

void EventConnection::disconnect() {
  if (point_) point_->Unadvise(cookie_);
  point_.Reset();
  cookie_ = 0;
}

}  // namespace orv::win
