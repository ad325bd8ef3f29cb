#pragma once
// The host object's own thread: a single-threaded apartment of its own with
// the program's message filter, where the object is made, called and let go
// of. The window's thread hands it one job at a time and never waits on it
// without a deadline; a thread whose job does not come back is left to end
// on its own whenever it does.
#include <windows.h>

#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "host/host.h"
#include "host/win/call_wait.h"
#include "platform/win/scoped.h"

namespace orv::win {

struct HostJob {
  // Runs on the host thread with the host object made there (null until a
  // job makes it).
  std::function<void(std::unique_ptr<Host>& host)> run;
  const char* op = "";                 // the operation, for the words of a failure
  UniqueHandle answered;               // set once `run` has returned
  HostClock::time_point deadline{};
};

class HostThread {
 public:
  // Null when no thread could be started.
  static std::shared_ptr<HostThread> Start();
  ~HostThread();
  HostThread(const HostThread&) = delete;
  HostThread& operator=(const HostThread&) = delete;

  void post(std::shared_ptr<HostJob> job);
  // The thread lets go of the host object and ends once the job it runs (if
  // any) returns. Never waits.
  void finish();
  // Signalled once the host object is let go of and the apartment closed.
  HANDLE finished() const { return finished_.get(); }

 private:
  HostThread() = default;
  static DWORD WINAPI Main(void* param);
  void run();

  std::mutex lock_;
  std::deque<std::shared_ptr<HostJob>> jobs_;
  bool finishing_ = false;
  UniqueHandle wake_;
  UniqueHandle finished_;
  std::unique_ptr<Host> host_;   // the thread's only
};

}  // namespace orv::win
