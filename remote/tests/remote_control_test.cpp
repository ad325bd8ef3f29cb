#include "remote/remote_control.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "audio/wav_reader.h"
#include "remote/tests/remote_fixture.h"

namespace orv {
namespace {

using namespace std::chrono_literals;
using ::testing::ElementsAre;
using test::RemoteFixture;

const std::string kWrong = "DTMF|-|RF+IP|recusado: c\xC3\xB3" "digo errado";

TEST(RemoteControl, EveryCommandIsCarriedOutRecordedAndConfirmed) {
  RemoteFixture f;
  f.remote.load();
  f.key("D482111");   // send slot 1 now
  f.key("D482122");   // slot 2 off
  f.key("D482139");   // slot 9 on
  f.key("D48215");    // identification
  f.key("D482113");   // slot 3 has no file
  f.key("D482110");   // there is no slot 0
  f.key("D482137");
  EXPECT_THAT(f.station.calls,
              ElementsAre("sent slot 1", "sent file confirma.wav", "off 2", "sent file confirma.wav", "on 9",
                          "sent file confirma.wav", "sent identification", "sent file confirma.wav", "on 7",
                          "sent file confirma.wav"));
  EXPECT_EQ(f.station.files[0], "C:\\Orvalen\\confirma.wav");
  EXPECT_THAT(f.lines(), ElementsAre("DTMF|enviar slot 1|RF+IP|aceito", "DTMF|desligar slot 2|RF+IP|aceito",
                                     "DTMF|ligar slot 9|RF+IP|aceito", "DTMF|identifica\xC3\xA7\xC3\xA3o|RF+IP|aceito",
                                     "DTMF|enviar slot 3|RF+IP|recusado: slot 3 sem arquivo",
                                     "DTMF|-|RF+IP|recusado: slot fora de 1 a 9", "DTMF|ligar slot 7|RF+IP|aceito"));
  // Arming may refuse: the reason is recorded and nothing is confirmed.
  f.station.calls.clear();
  f.station.refuseArming = "O arquivo n\xC3\xA3o Existe!";
  f.station.mode = "";
  f.key("D482134");
  f.key("D4821");
  f.key("D48217");
  EXPECT_THAT(f.station.calls, ElementsAre("on 4"));
  const auto lines = f.lines();
  EXPECT_THAT(std::vector<std::string>(lines.end() - 3, lines.end()),
              ElementsAre("DTMF|ligar slot 4|RF|recusado: O arquivo n\xC3\xA3o Existe!", "DTMF|-|RF|recusado: sem comando",
                          "DTMF|-|RF|recusado: comando desconhecido"));
  // Not ours: not recorded, not answered.
  const size_t before = f.lines().size();
  EXPECT_FALSE(f.remote.onDtmf("AA"));
  EXPECT_FALSE(f.remote.onDtmf("123"));
  EXPECT_FALSE(f.remote.onDtmf(""));
  EXPECT_EQ(f.lines().size(), before);
  // Nothing anywhere holds the code.
  for (const auto& line : f.lines()) EXPECT_EQ(line.find("4821"), std::string::npos) << line;
  EXPECT_TRUE(f.dialogs.shown.empty());
}

TEST(RemoteControl, OffWithoutACodeOrWithARefusedFileWhichTheHostLogStillMasks) {
  RemoteFixture none;
  none.files.files.erase(kControlFileName);
  none.remote.load();
  EXPECT_FALSE(none.remote.onDtmf("D48210"));
  EXPECT_EQ(none.remote.maskForLog("D48210"), "D48210");
  RemoteFixture bad;
  bad.files.files[kControlFileName] = "prefixo D\r\ncodigo 48\r\n";
  bad.remote.load();
  bad.remote.reportRefusal();
  ASSERT_EQ(bad.dialogs.shown.size(), 1u);
  EXPECT_NE(bad.dialogs.shown[0].text.find("orvalen-controle.txt foi recusado (linha 2: "), std::string::npos);
  EXPECT_FALSE(bad.remote.onDtmf("D480"));
  EXPECT_TRUE(bad.record.entries().empty());
  EXPECT_EQ(bad.remote.maskForLog("B480"), "B***");
}

TEST(RemoteControl, ThreeWrongCodesLockEveryCommandForFifteenMinutes) {
  RemoteFixture f;
  f.remote.load();
  f.key("D1111");
  f.time.advance(4min);
  f.key("D482");
  f.time.advance(4min);
  f.key("D48220");
  f.time.advance(1min);
  f.key("D48210");   // the right code, ignored
  f.time.advance(13min);
  f.key("D48215");   // 14 minutes into the lock: still ignored
  EXPECT_TRUE(f.station.calls.empty());
  f.time.advance(1min);
  f.key("D48215");
  EXPECT_THAT(f.station.sends(), ElementsAre("identification", "file confirma.wav"));
  EXPECT_THAT(f.lines(), ElementsAre(kWrong, kWrong, kWrong + "; bloqueado por 15 min", "DTMF|-|RF+IP|bloqueado",
                                     "DTMF|-|RF+IP|bloqueado", "DTMF|identifica\xC3\xA7\xC3\xA3o|RF+IP|aceito"));
  // The right code with a wrong command never counts towards a lock.
  for (int i = 0; i < 5; ++i) f.key("D48217");
  f.key("D9999");
  f.key("D9999");
  f.key("D48215");
  EXPECT_EQ(f.lines().back(), "DTMF|identifica\xC3\xA7\xC3\xA3o|RF+IP|aceito");
}

TEST(RemoteControl, TheStopEmptiesTheQueueRefusesTheRestAndIsWrittenDown) {
  RemoteFixture f;
  f.remote.load();
  f.station.busy = true;
  f.key("D482111");          // waits for the host, with its confirmation
  f.station.busy = false;
  f.station.calls.clear();
  f.key("D48210");
  // Only the stop's own confirmation goes out; what waited is dropped.
  EXPECT_THAT(f.station.calls, ElementsAre("stop", "sent file confirma.wav despite stop"));
  EXPECT_TRUE(f.station.shownStopped);
  EXPECT_NE(f.files.files[kControlFileName].find("parado sim\r\n"), std::string::npos);
  f.key("D48214");
  const std::string dropped = "|RF+IP|n\xC3\xA3o enviada: parado pelo r\xC3\xA1" "dio";
  EXPECT_THAT(f.lines(), ElementsAre("DTMF|enviar slot 1|RF+IP|aceito", "DTMF|enviar slot 1" + dropped,
                                     "DTMF|confirma.wav" + dropped, "DTMF|parar|RF+IP|aceito",
                                     "DTMF|hora certa|RF+IP|recusado: parado pelo r\xC3\xA1" "dio"));
  // The operator's way out; a file that cannot be written is said, not hidden.
  f.files.failWrites = true;
  f.remote.resumeFromMenu();
  EXPECT_FALSE(f.remote.stopped());
  ASSERT_EQ(f.dialogs.shown.size(), 1u);
  EXPECT_NE(f.dialogs.shown[0].text.find("ainda diz parado"), std::string::npos);
}

TEST(RemoteControl, WhatACommandSendsWaitsForTheAirInOrderUpToTenMinutes) {
  RemoteFixture f;
  f.remote.load();
  f.station.busy = true;
  f.key("D482111");
  f.key("D482119");
  f.time.advance(5s);
  EXPECT_EQ(f.station.sends().size(), 0u);
  // The first is asked for at each string and once a second; the others wait behind it.
  EXPECT_EQ(f.station.calls, std::vector<std::string>(7, "held slot 1"));
  f.station.busy = false;
  f.time.advance(1s);
  EXPECT_THAT(f.station.sends(), ElementsAre("slot 1", "file confirma.wav", "slot 9", "file confirma.wav"));
  EXPECT_EQ(f.time.runningTimers(), 0);   // nothing left to wait for
  // Ten minutes of a busy host: recorded as any message is, and dropped.
  f.station.calls.clear();
  f.station.busy = true;
  f.key("D482111");
  f.time.advance(11min);
  EXPECT_EQ(f.station.sends().size(), 0u);
  EXPECT_EQ(f.lines().back(), "DTMF|confirma.wav|RF+IP|" + kOutcomeBusyTooLong);
  EXPECT_EQ(f.time.runningTimers(), 0);
}

TEST(RemoteControl, StringsArrivingFasterThanTheyAreHandledAreBoundedNotLost) {
  RemoteFixture f;
  f.files.files[kControlFileName] = "prefixo D\r\ncodigo 4821\r\n";
  // The send lets the host's events in, as a call to a COM host does: it
  // brings forty more strings.
  int raised = 0;
  struct Reentrant : test::FakeStation {
    std::function<void()> during;
    Delivery sendIdentification() override {
      if (during) during();
      return FakeStation::sendIdentification();
    }
  };
  Reentrant station;
  RemoteControl remote(station, f.services, nullptr);
  remote.load();
  station.during = [&] {
    for (int i = 0; i < 40; ++i, ++raised) remote.onDtmf("D48212" + std::to_string(i % 9 + 1));
  };
  remote.onDtmf("D48215");
  station.during = nullptr;
  f.time.advance(10s);
  int accepted = 0, tooMany = 0;
  for (const auto& e : f.record.entries()) {
    accepted += e.outcome == kOutcomeAccepted;
    tooMany += e.outcome == "recusado: comandos demais de uma vez";
  }
  EXPECT_EQ(raised, 40);
  EXPECT_EQ(accepted, 1 + static_cast<int>(kRemoteQueueLimit));
  EXPECT_EQ(tooMany, 40 - static_cast<int>(kRemoteQueueLimit));
  EXPECT_EQ(f.record.entries().size(), 41u);   // one line per string, none lost silently
}

TEST(RemoteControl, TheTimeIsSpokenForTheMinuteItGoesOutIn) {
  RemoteFixture f;
  f.clips();
  f.time.setWallStart(12 * 3600 + 59 * 60 + 58);
  f.remote.load();
  f.station.busy = true;
  f.key("D48214");               // made for 12:59 at once
  EXPECT_EQ(f.jobs.posted, 1);
  f.time.advance(5s);            // now 13:00:03, still busy
  f.station.busy = false;
  f.time.advance(1s);
  ASSERT_EQ(f.station.sends().front(), "file hora certa");
  // Made again for 13:00: the clips of 13:00, not of 12:59.
  EXPECT_EQ(f.jobs.posted, 2);
  // The last message of the time handed over, not the one tried at 12:59.
  const auto made = std::find_if(f.station.files.rbegin(), f.station.files.rend(),
                                 [](const std::string& p) { return p.find("hora-certa") != std::string::npos; });
  ASSERT_NE(made, f.station.files.rend());
  const std::string sent = f.files.files.at(*made);
  const WavParse wav = ParseWav(sent);
  ASSERT_EQ(wav.error, AudioError::None);
  const double expected = (0.1 + 0.95) + (0.1 + 0.13) + (0.1 + 0.30) + (0.1 + 0.95);
  EXPECT_NEAR(wav.layout.seconds, expected, 0.002);
  // A clip missing at that minute: the announcement is refused, naming it.
  f.files.files.erase("C:\\Orvalen\\hora\\m01.wav");
  f.time.advance(60s);   // 13:01
  f.key("D48214");
  f.time.advance(1s);
  EXPECT_EQ(f.lines().back(), "DTMF|hora certa|RF+IP|recusada: falta hora\\m01.wav");
}

}  // namespace
}  // namespace orv
