#pragma once
// The host object's events: its default source interface as its type
// information describes it, and a connection to it that hands each event
// on to a target and lets go of the host when it ends.
#include <windows.h>

#include <ocidl.h>

#include <memory>
#include <string>

#include "host/win/host_event_queue.h"
#include "platform/win/scoped.h"

namespace orv::win {

class EventConnection {
 public:
  EventConnection() = default;
  ~EventConnection() { disconnect(); }
  EventConnection(const EventConnection&) = delete;
  EventConnection& operator=(const EventConnection&) = delete;

  // Connects `object`'s default events (found through the type information
  // of `clsid`) to `target`. Empty on success, else why not, in plain words.
  std::string connect(IDispatch* object, const CLSID& clsid, std::shared_ptr<HostEventTarget> target);
  // Fails harmlessly when the host is gone.
  void disconnect();

 private:
  ComPtr<IConnectionPoint> point_;
  DWORD cookie_ = 0;
};

}  // namespace orv::win
