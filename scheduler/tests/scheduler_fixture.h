#pragma once
#include <functional>
#include <string>
#include <vector>

#include "scheduler/slot_scheduler.h"
#include "tests/support/form_fixture.h"
#include "tests/support/recording_player.h"

namespace orv::test {

struct SchedulerFixture : FormFixture {
  SchedulerFixture() { sched.stopAllTimers(); }

  void addFile(const std::string& name) { files.files[fields.caminho + name] = "RIFF"; }
  // Fills slot `slot` (0-based) with an existing file and ticks its box as a click would.
  void arm(int slot, const std::string& name, const std::string& interval) {
    addFile(name);
    mens[slot].setText(name);
    cont[slot].setText(interval);
    click(slot);
  }
  void click(int slot) {
    check[slot].setValue(check[slot].value() ? 0 : 1);
    sched.onSlotCheckChanged(slot);
  }
  void clickMode(int which) {
    FakeCheck& box = which == 20 ? check20 : check21;
    box.setValue(box.value() ? 0 : 1);
    sched.onModeCheckChanged(which);
  }
  void seconds(double s) { time.advanceSeconds(s); }
  std::vector<std::string> sends() const { return host.callsStartingWith("TransmitFile"); }

  RecordingPlayer player{fields};
  TransmitterGuard guard{controls, services, fields, player};
  SlotScheduler sched{controls, services, fields, guard};
};

}  // namespace orv::test
