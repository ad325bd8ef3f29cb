#pragma once
// The "host simulator" window beside the main window when the program runs
// with --host=simulator: the transmitter state, the calls received, and the
// operator's side of the host (station name, busy flags, DTMF, closing).
#include <windows.h>

#include <memory>

#include "host/simulated_host.h"

namespace orv::win {

// Control identifiers, for tests and automation.
enum SimulatorControl : int {
  kSimTransmitter = 101,   // static: "TRANSMITINDO" / "em repouso"
  kSimStation = 102,       // edit: station name, applied as typed
  kSimBusy1 = 103,         // check box: FirstBusyFlag
  kSimBusy2 = 104,         // check box: SecondBusyFlag
  kSimDtmf = 105,          // edit: digits to send
  kSimSendDtmf = 106,      // button: raises DTMFString(digits)
  kSimClose = 107,         // button: raises Closing
  kSimCalls = 108,         // list box: calls received, newest last
};

class SimulatorWindow {
 public:
  virtual ~SimulatorWindow() = default;
  virtual HWND hwnd() const = 0;
  // Puts the window to the right of `owner`, kept on the owner's screen.
  virtual void placeBeside(HWND owner) = 0;
};

// Creates and shows (without activating) the window, owned by `owner` and
// placed to its right. The host must outlive the window. Null on failure.
std::unique_ptr<SimulatorWindow> CreateSimulatorWindow(SimulatedHost& host, HWND owner);

}  // namespace orv::win
