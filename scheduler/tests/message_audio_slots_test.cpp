// Slots and their files' sound: a file no reader opens is refused at arming,
// RF + IP sends hand the host a file in its format, made by the worker before
// the send (a due slot waits at 0 while it is made), and the file-name box
// describes the file.
#include <gtest/gtest.h>

#include "audio/message_audio.h"
#include "audio/tests/wav_bytes.h"
#include "audio/wav_reader.h"
#include "scheduler/tests/scheduler_fixture.h"
#include "tests/support/fake_audio_files.h"
#include "tests/support/fake_worker.h"

using namespace orv;
using namespace orv::test;

namespace {

struct AudioSlots : ::testing::Test, SchedulerFixture {
  AudioSlots() { services.audio = &audio; }
  void put(const std::string& name, const std::string& bytes) { files.files[fields.caminho + name] = bytes; }
  void armWith(int slot, const std::string& name, const std::string& interval) {
    mens[slot].setText(name);
    cont[slot].setText(interval);
    click(slot);
  }
  int copiesWritten() const {
    int n = 0;
    for (const auto& [path, count] : audioFiles.writes) n += path.ends_with(".wav") ? count : 0;
    return n;
  }
  FakeAudioFiles audioFiles{files};
  FakeWorker worker;
  MessageAudio audio{audioFiles, nullptr, worker};
  const std::string cd = SineWav({1, 16, 2, 44100}, 0.5, 440);
  const std::string ready = SineWav({1, 8, 1, 8000}, 0.5, 440);
};

TEST_F(AudioSlots, ArmingRefusesAFileNoReaderOpensAndArmsOneThatPlays) {
  put("cortado.wav", cd.substr(0, cd.size() - 1000));
  put("nota.txt", "lembrar de trocar a bateria");
  put("bom.wav", cd);
  armWith(0, "cortado.wav", "10");
  armWith(1, "nota.txt", "10");
  armWith(2, "bom.wav", "10");
  ASSERT_EQ(dialogs.shown.size(), 2u);
  EXPECT_EQ(dialogs.shown[0].text, "O arquivo n\xc3\xa3o pode ser tocado: " + AudioErrorReason(AudioError::Truncated));
  EXPECT_EQ(dialogs.shown[1].text, "O arquivo n\xc3\xa3o pode ser tocado: n\xc3\xa3o \xc3\xa9 um arquivo de \xc3\xa1udio");
  EXPECT_EQ(check[0].value(), 0);
  EXPECT_EQ(check[1].value(), 0);
  EXPECT_TRUE(sched.slotArmed(2));
  EXPECT_EQ(copiesWritten(), 0) << "RF  - mode: nothing is converted";

  // Start-up's arming refuses it the same way.
  dialogs.shown.clear();
  cont[0].setText("10");
  sched.armAtStartup();
  ASSERT_EQ(dialogs.shown.size(), 2u);
  EXPECT_EQ(dialogs.shown[0].text.rfind("O arquivo n\xc3\xa3o pode ser tocado: ", 0), 0u);
}

TEST_F(AudioSlots, RfIpSendsTheHostsFormatMadeOnTicksThatSendNothing) {
  put("cd.wav", cd);
  put("pronto.wav", ready);
  put("outro.wav", SineWav({3, 32, 1, 48000}, 0.5, 440));
  clickMode(21);
  armWith(0, "cd.wav", "3");
  armWith(1, "pronto.wav", "3");
  EXPECT_EQ(copiesWritten(), 1) << "asked for at arming";
  const std::string copy = MessageAudio::CopyPathFor(audioFiles.folder, fields.caminho + "cd.wav");

  // Second by second: a tick that sends never also converts.
  auto step = [&] {
    const std::size_t sent = sends().size();
    const int made = copiesWritten();
    seconds(1);
    EXPECT_FALSE(sends().size() > sent && copiesWritten() > made) << "converted in a sending tick";
  };
  for (int i = 0; i < 5; ++i) step();
  ASSERT_GE(sends().size(), 2u);
  EXPECT_EQ(sends()[0], "TransmitFile(" + copy + ",-1)");
  EXPECT_EQ(sends()[1], "TransmitFile(C:\\Orvalen\\pronto.wav,-1)");

  // A new name and a re-recorded file get their copies before their sends.
  mens[0].setText("outro.wav");
  audioFiles.modified[fields.caminho + "pronto.wav"] = 7;
  files.files[fields.caminho + "cd.wav"] = ready;
  host.calls.clear();
  for (int i = 0; i < 8; ++i) step();
  const std::string other = MessageAudio::CopyPathFor(audioFiles.folder, fields.caminho + "outro.wav");
  ASSERT_FALSE(sends().empty());
  for (const auto& call : sends())
    EXPECT_TRUE(call == "TransmitFile(" + other + ",-1)" || call == "TransmitFile(C:\\Orvalen\\pronto.wav,-1)") << call;
  EXPECT_TRUE(IsHostFormat(ParseWav(files.files[other]).layout.format));
}

TEST_F(AudioSlots, SwitchingToRfIpConvertsArmedSlotsAtOnce) {
  put("cd.wav", cd);
  armWith(0, "cd.wav", "30");
  EXPECT_EQ(copiesWritten(), 0);
  clickMode(21);
  EXPECT_EQ(copiesWritten(), 1);
}

TEST_F(AudioSlots, TheFileNameBoxDescribesTheFile) {
  put("cd.wav", Riff(Chunk("fmt ", FormatChunk({1, 16, 2, 44100})) + Chunk("data", std::string(44100 * 4 * 65 + 1000, '\0'))));
  put("pronto.wav", ready);
  put("cortado.wav", cd.substr(0, 100));
  mens[0].setText("cd.wav");
  mens[1].setText("pronto.wav");
  mens[2].setText("cortado.wav");
  mens[3].setText("sumiu.wav");
  EXPECT_EQ(sched.fileTip(0),
            "Dura\xc3\xa7\xc3\xa3o: 00:01:05\r\nPCM 16 bits est\xc3\xa9reo 44100 Hz\r\n"
            "Em RF + IP: vai convertido para PCM 8 bits mono 8000 Hz");
  EXPECT_EQ(sched.fileTip(1), "Dura\xc3\xa7\xc3\xa3o: 00:00:00\r\nPCM 8 bits mono 8000 Hz\r\nEm RF + IP: vai como est\xc3\xa1");
  EXPECT_EQ(sched.fileTip(2), "O arquivo n\xc3\xa3o pode ser tocado: " + AudioErrorReason(AudioError::Truncated));
  EXPECT_EQ(sched.fileTip(3), "O arquivo n\xc3\xa3o Existe!");
  EXPECT_EQ(sched.fileTip(4), "");
}

}  // namespace

namespace {

struct SlowCopies : AudioSlots {
  // Each copy takes the worker 5 s.
  SlowCopies() : slowWorker(time, std::chrono::seconds(5)) { services.audio = &slowAudio; }
  FakeWorker slowWorker;
  MessageAudio slowAudio{audioFiles, nullptr, slowWorker};
};

TEST_F(SlowCopies, ADueSlotWaitsAtZeroForItsCopyAndSendsItWhole) {
  put("cd.wav", cd);
  const std::string copy = MessageAudio::CopyPathFor(audioFiles.folder, fields.caminho + "cd.wav");
  std::vector<std::string> handedOver;
  host.onCall = [&](const std::string& call) {
    if (call.rfind("TransmitFile(", 0) == 0) handedOver.push_back(files.files.count(copy) ? files.files[copy] : "");
  };
  TransmissionRecord record(time);
  services.record = &record;
  clickMode(21);
  armWith(0, "cd.wav", "2");
  seconds(3);
  EXPECT_EQ(temp[0].text(), "0");
  EXPECT_TRUE(sends().empty());
  EXPECT_TRUE(host.callsStartingWith("SetTransmit(-1)").empty()) << "never keyed for a copy not made";
  seconds(3);
  ASSERT_EQ(sends().size(), 1u);
  EXPECT_EQ(sends()[0], "TransmitFile(" + copy + ",-1)");
  ASSERT_EQ(handedOver.size(), 1u);
  EXPECT_EQ(ParseWav(handedOver[0]).error, AudioError::None);
  EXPECT_NEAR(ParseWav(handedOver[0]).layout.seconds, 0.5, 0.001) << "whole";
  ASSERT_EQ(record.entries().size(), 1u);
  // Due at 3 s, the copy done at 5 s, sent on the tick after.
  EXPECT_EQ(record.entries()[0].outcome, SentAfterWaitOutcome(3));

  // A re-recorded file: the next turn waits for its new copy, never sends the old one.
  audioFiles.modified[fields.caminho + "cd.wav"] = 5;
  host.calls.clear();
  handedOver.clear();
  seconds(1);
  EXPECT_TRUE(sends().empty());
  seconds(6);
  ASSERT_EQ(sends().size(), 1u);
  EXPECT_EQ(slowWorker.finished, 2);
}

}  // namespace
