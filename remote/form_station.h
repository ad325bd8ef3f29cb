#pragma once
// The remote control's commands carried out on the main window: through
// the transmitter guard for everything that goes on the air, through the
// slots' own arming for the check boxes.
#include <functional>

#include "remote/remote_station.h"
#include "scheduler/form_controls.h"
#include "scheduler/slot_scheduler.h"
#include "scheduler/transmitter_guard.h"

namespace orv {

class FormStation : public RemoteStation {
 public:
  // `showStopped` puts the stop on the caption and the system menu.
  FormStation(FormControls& controls, FormFields& fields, TransmitterGuard& guard, SlotScheduler& scheduler,
              std::function<void(bool)> showStopped);

  void stop() override { guard_.stop(); }
  void resume() override { guard_.resume(); }
  void showStopped(bool stopped) override {
    if (showStopped_) showStopped_(stopped);
  }
  Delivery sendSlot(int slot) override;
  Delivery sendFile(const std::string& name, const std::string& path, long long waited, bool despiteStop) override;
  Delivery sendIdentification() override;
  std::string slotFile(int slot) override { return c_.mens[slot]->text(); }
  void switchSlotOff(int slot) override { scheduler_.setSlotCheck(slot, 0); }
  std::string switchSlotOn(int slot) override { return scheduler_.armFromRadio(slot); }
  std::string modeName() override;
  std::string messagePath(const std::string& name) override;

 private:
  FormControls& c_;
  FormFields& f_;
  TransmitterGuard& guard_;
  SlotScheduler& scheduler_;
  std::function<void(bool)> showStopped_;
};

}  // namespace orv
