#pragma once
#include <functional>
#include <string>
#include <vector>

#include "scheduler/slot_scheduler.h"
#include "tests/support/form_fixture.h"

namespace orv::test {

// Local playback as the slot ticks see it: records what TOCA was asked to play.
struct RecordingPlayer : LocalPlayer {
  explicit RecordingPlayer(FormFields& f) : fields(f) {}
  void TOCA() override {
    played.push_back(fields.arquivoAtual);
    if (onToca) onToca();
  }
  void retryRelease() override { ++retries; }
  int retries = 0;
  FormFields& fields;
  std::vector<std::string> played;
  std::function<void()> onToca;
};

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
  SlotScheduler sched{controls, services, fields, player};
};

}  // namespace orv::test
