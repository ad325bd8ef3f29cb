#pragma once
// The real voice-link host application, reached through its automation
// object. The object lives on a thread of its own (host_thread.h); the
// program's calls reach it from the window's thread through the bounded
// wait of threaded_host.h.
#include <windows.h>

#include <chrono>
#include <memory>
#include <string>

#include "host/host.h"
#include "host/host_link.h"
#include "host/win/hresult_text.h"

namespace orv::win {

// The host application's automation class.
inline constexpr CLSID kHostClsid = {0xD1FB3C9A, 0xBB2D, 0x446A, {0xA7, 0x4A, 0xE7, 0x71, 0xF1, 0x34, 0xED, 0x56}};

struct HostCallLimits {
  // A call (the object's creation included) not answered by then is given up.
  std::chrono::milliseconds answer{10000};
  // A host that rejects calls is asked again for this long, then the call fails.
  std::chrono::milliseconds rejectedRetry{1000};
};

struct ComHostCreation {
  std::unique_ptr<Host> host;   // null when the object could not be created
  std::string error;            // why not, in plain words
  std::string eventsError;      // the object works but its events could not be connected
};

// Call on the window's thread; the host returned is used and destroyed
// there. Events (DTMFString, Closing) reach its sink on that thread from
// the message loop (a modal one included), never while a call waits.
ComHostCreation CreateComHost(const CLSID& clsid = kHostClsid, HostCallLimits limits = {});

// New connections for the host link: the object of the class, with its events.
class ComHostConnector : public HostConnector {
 public:
  explicit ComHostConnector(const CLSID& clsid = kHostClsid, HostCallLimits limits = {})
      : clsid_(clsid), limits_(limits) {}
  Connection connect() override;

 private:
  CLSID clsid_;
  HostCallLimits limits_;
};

}  // namespace orv::win
