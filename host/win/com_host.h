#pragma once
// The real voice-link host application, reached through its automation
// object. Operations are called by name through IDispatch, so any version of
// the host that keeps the names serves; events come through the object's
// default source interface as found in its type information.
#include <windows.h>

#include <memory>
#include <string>

#include "host/host.h"
#include "host/host_link.h"

namespace orv::win {

// The host application's automation class.
inline constexpr CLSID kHostClsid = {0xD1FB3C9A, 0xBB2D, 0x446A, {0xA7, 0x4A, 0xE7, 0x71, 0xF1, 0x34, 0xED, 0x56}};

struct ComHostCreation {
  std::unique_ptr<Host> host;   // null when the object could not be created
  std::string error;            // why not, in plain words
  std::string eventsError;      // the object works but its events could not be connected
};

// Call on the user-interface thread after CoInitializeEx(COINIT_APARTMENTTHREADED);
// the host must be used and destroyed there. Events (DTMFString, Closing)
// reach the sink through that thread's message queue: never from inside a
// call to the host, always from the message loop (a modal one included).
ComHostCreation CreateComHost(const CLSID& clsid = kHostClsid);

// "Class not registered (0x80040154)": the system's text for an HRESULT.
std::string DescribeHresult(HRESULT hr);

// The call did not reach a host that is there (its process died, it
// disconnected its objects, the call failed on the way): not an answer.
bool IsHostGone(HRESULT hr);

// New connections for the host link: the object of the class, with its events.
class ComHostConnector : public HostConnector {
 public:
  explicit ComHostConnector(const CLSID& clsid = kHostClsid) : clsid_(clsid) {}
  Connection connect() override;

 private:
  CLSID clsid_;
};

}  // namespace orv::win
