// The remote control on the main window's real parts: the transmitter
// guard, the slots, the agenda with the spoken time. Hours of a station
// driven at random by the radio and the operator, with the promise of the
// stop checked at every call the host receives.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "agenda/tests/agenda_fixture.h"
#include "audio/tests/wav_bytes.h"
#include "remote/form_station.h"
#include "remote/remote_control.h"
#include "tests/support/fake_audio_files.h"
#include "tests/support/fake_worker.h"

namespace orv {
namespace {

using namespace std::chrono_literals;

struct StationFixture : test::AgendaFixture {
  StationFixture() {
    files.files[kControlFileName] = "prefixo D\r\ncodigo 4821\r\nconfirmacao confirma.wav\r\n";
    for (const TimeClip& c : AllClips()) files.files[fields.caminho + "hora\\" + c.name] = test::SineWav({1, 8, 1, 8000}, 0.2, 500);
    announcer.setProgramFolder(fields.caminho);
    agenda.setTimeAnnouncer(&announcer);
    player.seconds = 3;
  }
  // Start-up in the main window's order: the stop first, then the clocks,
  // then the slots.
  void start(const std::vector<std::pair<std::string, std::string>>& slots) {
    remote.load();
    agenda.load();
    for (size_t i = 0; i < slots.size(); ++i) {
      mens[i].setText(slots[i].first);
      cont[i].setText(slots[i].second);
      files.files[fields.caminho + slots[i].first] = "RIFF";
      scheduler.setSlotCheck(static_cast<int>(i), 1);
    }
  }

  // Ticking one mode box while the other is ticked clears both; a second
  // click ticks it.
  void mode(int which) {
    scheduler.setModeCheck(which, 1);
    scheduler.setModeCheck(which, 1);
  }

  SlotScheduler scheduler{controls, services, fields, guard};
  test::FakeWorker jobs;
  test::FakeAudioFiles audioFiles{files};
  TimeAnnouncer announcer{jobs, audioFiles, nullptr};
  bool shownStopped = false;
  FormStation station{controls, fields, guard, scheduler, [this](bool s) { shownStopped = s; }};
  RemoteControl remote{station, services, &announcer};
};

TEST(RemoteStation, NothingOfTheStationsOwnGoesOnTheAirWhileStoppedWhateverFallsDue) {
  const unsigned seed = 20260519;
  StationFixture f;
  f.agendaFile({"*:00 todos @hora", "*:20 todos b.wav", "12:30 todos b.wav"}, {"b.wav", "confirma.wav"});
  f.start({{"a.wav", "7"}, {"c.wav", "13"}});
  // While stopped, the host may key the radio and be handed a file only for
  // a stop's own confirmation, once per stop accepted.
  int stops = 0, keyedWhileStopped = 0, keyedWhileRunning = 0;
  std::vector<std::string> violations;
  f.host.onCall = [&](const std::string& call) {
    if (!f.remote.stopped()) {
      keyedWhileRunning += call == "SetTransmit(-1)";
      return;
    }
    if (call == "SetTransmit(-1)" && ++keyedWhileStopped > stops) violations.push_back("keyed: " + call);
    if (call.rfind("TransmitFile(", 0) == 0 && call.find("\\confirma.wav,") == std::string::npos)
      violations.push_back(call);
    if (call.rfind("SendIdentification", 0) == 0) violations.push_back(call);
  };
  f.player.onToca = [&] {
    if (f.remote.stopped() && f.player.paths.back().find("confirma.wav") == std::string::npos)
      violations.push_back("played " + f.player.paths.back());
  };
  f.record.subscribe([&] {
    const RecordEntry& e = f.record.entries().back();
    stops += e.origin == "DTMF" && e.file == "parar" && e.outcome.rfind(kOutcomeAccepted, 0) == 0;
  });

  std::mt19937 rng(seed);
  const std::vector<std::string> strings = {"D48210", "D48219", "D48219", "D482111", "D482112", "D48214", "D48215",
                                            "D482121", "D482131", "D482132", "D9999", "D48217", "D482110"};
  for (int step = 0; step < 600; ++step) {
    switch (rng() % 6) {
      case 0:
      case 1: f.remote.onDtmf(strings[rng() % strings.size()]); break;
      case 2: f.host.secondBusy = rng() % 3 == 0; break;
      case 3: f.scheduler.setModeCheck(rng() % 2 ? 20 : 21, 1); break;
      case 4: f.scheduler.sendNow(static_cast<int>(rng() % 3)); break;
      case 5: break;
    }
    f.time.advance(std::chrono::milliseconds(200 + rng() % 90000));
    ASSERT_TRUE(violations.empty()) << "seed " << seed << ", step " << step << ": " << violations.front();
    ASSERT_EQ(f.shownStopped, f.remote.stopped());
  }
  EXPECT_GT(stops, 5);
  EXPECT_GT(keyedWhileRunning, 50);

  // And at length: three hours of slots, agenda entries, "Enviar agora" and
  // commands after one stop; then the resume lets everything go again.
  f.host.secondBusy = false;
  f.mode(21);
  f.scheduler.setSlotCheck(0, 1);
  f.time.advance(16min);   // past any lockout
  f.remote.onDtmf("D48210");
  ASSERT_TRUE(f.remote.stopped());
  const size_t calls = f.host.calls.size();
  for (int i = 0; i < 18; ++i) {
    f.scheduler.sendNow(0);
    f.remote.onDtmf("D482111");
    f.time.advance(10min);
  }
  for (size_t i = calls; i < f.host.calls.size(); ++i)
    EXPECT_TRUE(f.host.calls[i].rfind("TransmitFile", 0) != 0 && f.host.calls[i] != "SetTransmit(-1)") << f.host.calls[i];
  EXPECT_EQ(f.controls.PTT->text(), "PTT OFF");
  f.remote.onDtmf("D48219");
  const size_t resumed = f.host.calls.size();
  f.time.advance(15s);
  EXPECT_GT(std::count(f.host.calls.begin() + static_cast<long>(resumed), f.host.calls.end(), "SetTransmit(-1)"), 0);
}

TEST(RemoteStation, AStopWrittenBeforeARestartHoldsTheSlotsFromTheirFirstSecond) {
  StationFixture f;
  f.files.files[kControlFileName] += "parado sim\r\n";
  f.agendaFile({"*:01 todos @hora"}, {"confirma.wav"});
  f.start({{"a.wav", "9"}});
  EXPECT_TRUE(f.shownStopped);
  f.time.advance(3s);
  const std::string held = f.temp[0].text();
  f.time.advance(5min);
  EXPECT_EQ(f.host.callsStartingWith("TransmitFile").size(), 0u);
  EXPECT_EQ(f.host.count("SetTransmit(-1)"), 0);
  // The countdown holds where it was; the agenda's entry is not kept for later.
  EXPECT_EQ(f.temp[0].text(), held);
  ASSERT_EQ(f.record.entries().size(), 1u);
  EXPECT_EQ(f.record.entries()[0].outcome, "n\xC3\xA3o enviada: envios parados pelo r\xC3\xA1" "dio");
  // The operator's way out, from the menu: no confirmation, everything goes again.
  f.remote.resumeFromMenu();
  EXPECT_FALSE(f.shownStopped);
  f.time.advance(std::chrono::seconds(std::stoi(held) + 2));
  EXPECT_GT(f.host.callsStartingWith("TransmitFile(C:\\Orvalen\\a.wav").size(), 0u);
  EXPECT_EQ(f.host.callsStartingWith("TransmitFile(C:\\Orvalen\\confirma.wav").size(), 0u);
  EXPECT_EQ(f.files.files[kControlFileName].find("parado"), std::string::npos);
}

TEST(RemoteStation, TheSpokenTimeAndTheAnswersGoThroughTheGuardInBothModes) {
  StationFixture f;
  f.agendaFile({}, {"confirma.wav"});
  f.start({{"a.wav", "3600"}});
  f.host.calls.clear();
  f.remote.onDtmf("D48214");
  // "RF + IP": the time, then the confirmation, each keyed and released.
  ASSERT_EQ(f.sends().size(), 2u);
  EXPECT_NE(f.sends()[0].find("\\hora-certa-1.wav,"), std::string::npos);
  EXPECT_EQ(f.sends()[1], "TransmitFile(C:\\Orvalen\\confirma.wav,-1)");
  EXPECT_EQ(f.host.count("SetTransmit(-1)"), 2);
  // "RF  -": played here, the answer after the time, never over it.
  f.mode(20);
  f.remote.onDtmf("D48214");
  ASSERT_EQ(f.player.paths.size(), 1u);
  f.time.advance(2s);
  EXPECT_EQ(f.player.paths.size(), 1u);
  f.time.advance(3s);
  ASSERT_EQ(f.player.paths.size(), 2u);
  EXPECT_EQ(f.player.paths[1], "C:\\Orvalen\\confirma.wav");
  // "3N" arms with the check box's rules, quietly: no box for nobody.
  f.mens[4].setText("falta.wav");
  f.cont[4].setText("60");
  f.remote.onDtmf("D482135");
  EXPECT_EQ(f.check[4].value(), 0);
  EXPECT_TRUE(f.dialogs.shown.empty());
  EXPECT_EQ(f.record.entries().back().outcome, "recusado: O arquivo n\xC3\xA3o Existe!");
}

}  // namespace
}  // namespace orv
