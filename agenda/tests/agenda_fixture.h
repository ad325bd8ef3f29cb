#pragma once
// An agenda beside the nine slots, on the virtual clock, with a local player
// whose messages play for a set time.
#include <string>
#include <vector>

#include "agenda/agenda.h"
#include "scheduler/slot_scheduler.h"
#include "tests/support/form_fixture.h"
#include "tests/support/recording_player.h"

namespace orv::test {

struct AgendaFixture : FormFixture {
  AgendaFixture() {
    record.subscribe([] {});
    services.record = &record;
    check21.setValue(1);   // "RF + IP" unless a test says otherwise
  }
  // The agenda file's lines; every file it names exists.
  void agendaFile(const std::vector<std::string>& lines, const std::vector<std::string>& existing) {
    std::string bytes;
    for (const auto& l : lines) bytes += l + "\r\n";
    files.files[kAgendaFileName] = bytes;
    for (const auto& name : existing) files.files[fields.caminho + name] = "RIFF";
  }
  // Local wall time at start: date and time of day.
  void startAt(int y, int m, int d, int hh, int mm, int ss) {
    time.setWallDate(y, m, d);
    time.setWallStart(hh * 3600 + mm * 60 + ss);
  }
  std::vector<std::string> sends() const { return host.callsStartingWith("TransmitFile"); }
  std::vector<std::string> outcomes() const {
    std::vector<std::string> out;
    for (const auto& e : record.entries()) out.push_back(RecordDateText(e.when) + " " + e.origin + " " + e.outcome);
    return out;
  }

  TransmissionRecord record{time};
  RecordingPlayer player = [this] {
    RecordingPlayer p{fields, &time};
    p.seconds = 20;
    return p;
  }();
  TransmitterGuard guard{controls, services, fields, player};
  Agenda agenda{controls, services, fields, guard};
};

}  // namespace orv::test
