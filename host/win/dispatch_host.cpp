#include "host/win/dispatch_host.h"

#include "host/win/dispatch_call.h"
#include "host/win/event_connection.h"
#include "host/win/hresult_text.h"
#include "platform/win/scoped.h"
#include "platform/win/text.h"

namespace orv::win {
namespace {

template <class R>
R Failed(const DispatchOutcome& o) {
  return o.gone ? R::lost(o.error) : R::failure(o.error);
}

class DispatchHost final : public Host {
 public:
  DispatchHost(ComPtr<IDispatch> object, std::chrono::milliseconds rejectedRetry)
      : object_(std::move(object)), caller_(rejectedRetry) {}
  ~DispatchHost() override {
    events_.disconnect();   // fails harmlessly when the host is gone
    object_.Reset();
  }

  std::string connectEvents(const CLSID& clsid, std::shared_ptr<HostEventTarget> target) {
    return events_.connect(object_.Get(), clsid, std::move(target));
  }

  HostReply setTransmit(bool on) override { return Method(L"SetTransmit", {TruthArg(on)}); }
  HostValue<bool> firstBusyFlag() override { return Flag(L"FirstBusyFlag"); }
  HostValue<bool> secondBusyFlag() override { return Flag(L"SecondBusyFlag"); }
  HostReply sendIdentification(bool value) override { return Method(L"SendIdentification", {TruthArg(value)}); }

  HostReply transmitFile(const std::string& path, bool value) override {
    VARIANT file = TextArg(path);
    if (V_VT(&file) != VT_BSTR) return HostReply::failure("TransmitFile failed: out of memory");
    return Method(L"TransmitFile", {file, TruthArg(value)});
  }

  HostValue<std::string> stationName() override {
    Variant station;
    auto got = caller_.call(object_.Get(), L"StationObject", DISPATCH_PROPERTYGET | DISPATCH_METHOD, {}, &station, true);
    if (!got.ok) return Failed<HostValue<std::string>>(got);
    ComPtr<IDispatch> info;
    if (V_VT(&station) == VT_DISPATCH && V_DISPATCH(&station)) info = V_DISPATCH(&station);
    else if (V_VT(&station) == VT_UNKNOWN && V_UNKNOWN(&station))
      V_UNKNOWN(&station)->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(info.GetAddressOf()));
    if (!info) return HostValue<std::string>::failure("StationObject failed: the host returned no station object");
    Variant name;
    // The station object is asked afresh each time.
    got = caller_.call(info.Get(), L"StationName", DISPATCH_PROPERTYGET | DISPATCH_METHOD, {}, &name, false);
    if (!got.ok) return Failed<HostValue<std::string>>(got);
    Variant text;
    HRESULT hr = ::VariantChangeType(&text, &name, 0, VT_BSTR);
    if (FAILED(hr)) return HostValue<std::string>::failure("StationName failed: " + DescribeHresult(hr));
    return {true, FromBstr(V_BSTR(&text)), {}};
  }

  HostReply exitSignal(bool value) override { return Method(L"ExitSignal", {TruthArg(value)}); }
  // Events go to the target given at the connection.
  void setEventSink(HostEvents*) override {}

 private:
  HostReply Method(const wchar_t* name, std::vector<VARIANT> args) {
    auto got = caller_.call(object_.Get(), name, DISPATCH_METHOD, std::move(args), nullptr, true);
    return got.ok ? HostReply{} : Failed<HostReply>(got);
  }

  HostValue<bool> Flag(const wchar_t* name) {
    Variant value;
    auto got = caller_.call(object_.Get(), name, DISPATCH_PROPERTYGET | DISPATCH_METHOD, {}, &value, true);
    if (!got.ok) return Failed<HostValue<bool>>(got);
    Variant truth;
    HRESULT hr = ::VariantChangeType(&truth, &value, 0, VT_BOOL);
    if (FAILED(hr)) return HostValue<bool>::failure(Narrow(name) + " failed: " + DescribeHresult(hr));
    return {true, V_BOOL(&truth) != VARIANT_FALSE, {}};
  }

  ComPtr<IDispatch> object_;
  DispatchCaller caller_;
  EventConnection events_;
};

}  // namespace

MadeHost MakeDispatchHost(const CLSID& clsid, std::chrono::milliseconds rejectedRetry,
                          std::shared_ptr<HostEventTarget> events) {
  MadeHost out;
  ComPtr<IDispatch> object;
  HRESULT hr = ::CoCreateInstance(clsid, nullptr, CLSCTX_SERVER, IID_IDispatch,
                                  reinterpret_cast<void**>(object.GetAddressOf()));
  if (FAILED(hr)) {
    out.error = "The host application's automation object " + GuidText(clsid) +
                " could not be created: " + DescribeHresult(hr);
    return out;
  }
  auto host = std::make_unique<DispatchHost>(std::move(object), rejectedRetry);
  out.eventsError = host->connectEvents(clsid, std::move(events));
  out.host = std::move(host);
  return out;
}

}  // namespace orv::win
