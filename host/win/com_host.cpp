#include "host/win/com_host.h"

#include "host/win/dispatch_host.h"
#include "host/win/threaded_host.h"

namespace orv::win {

ComHostCreation CreateComHost(const CLSID& clsid, HostCallLimits limits) {
  ComHostCreation out;
  try {
    MadeHost made = ThreadedHost::Create(
        [clsid, retry = limits.rejectedRetry](std::shared_ptr<HostEventTarget> events) {
          return MakeDispatchHost(clsid, retry, std::move(events));
        },
        limits.answer);
    out.host = std::move(made.host);
    out.eventsError = std::move(made.eventsError);
    out.error = made.unanswered ? "The host application's automation object " + GuidText(clsid) +
                                      " could not be created: " + made.error
                                : std::move(made.error);
  } catch (...) {
    out.host.reset();
    out.error = "The host application's automation object could not be created: out of memory";
  }
  return out;
}

HostConnector::Connection ComHostConnector::connect() {
  ComHostCreation made = CreateComHost(clsid_, limits_);
  return {std::move(made.host), std::move(made.error), std::move(made.eventsError)};
}

}  // namespace orv::win
