#pragma once
// The remote control against a station that records what it is asked to
// do, on the virtual clock, with the time's clips in memory.
#include <string>
#include <vector>

#include "announce/time_announcer.h"
#include "audio/tests/wav_bytes.h"
#include "remote/remote_control.h"
#include "tests/support/fake_audio_files.h"
#include "tests/support/fake_worker.h"
#include "tests/support/form_fixture.h"

namespace orv::test {

class FakeStation : public RemoteStation {
 public:
  void stop() override { calls.push_back("stop"); }
  void resume() override { calls.push_back("resume"); }
  void showStopped(bool s) override { shownStopped = s; }
  Delivery sendSlot(int slot) override { return sent("slot " + std::to_string(slot + 1)); }
  Delivery sendFile(const std::string& name, const std::string& path, long long, bool despiteStop) override {
    files.push_back(path);
    return sent("file " + name + (despiteStop ? " despite stop" : ""));
  }
  Delivery sendIdentification() override { return sent("identification"); }
  std::string slotFile(int slot) override { return slotFiles[slot]; }
  void switchSlotOff(int slot) override { calls.push_back("off " + std::to_string(slot + 1)); }
  std::string switchSlotOn(int slot) override {
    calls.push_back("on " + std::to_string(slot + 1));
    return refuseArming;
  }
  std::string modeName() override { return mode; }
  std::string messagePath(const std::string& name) override { return "C:\\Orvalen\\" + name; }

  // Sends, as tried: "slot 1", "file confirma.wav", "identification".
  std::vector<std::string> sends() const {
    std::vector<std::string> out;
    for (const auto& c : calls)
      if (c.rfind("sent ", 0) == 0) out.push_back(c.substr(5));
    return out;
  }

  std::vector<std::string> calls;
  std::vector<std::string> files;   // the paths handed to sendFile
  std::array<std::string, 9> slotFiles{"um.wav", "dois.wav", "", "", "", "", "", "", "nove.wav"};
  std::string refuseArming;
  std::string mode = "RF+IP";
  bool busy = false;                // every send waits
  bool shownStopped = false;

 private:
  Delivery sent(const std::string& what) {
    if (busy) {
      calls.push_back("held " + what);
      return Delivery::Wait;
    }
    calls.push_back("sent " + what);
    return Delivery::Done;
  }
};

struct RemoteFixture : FormFixture {
  RemoteFixture() {
    services.record = &record;
    files.files[kControlFileName] = "prefixo D\r\ncodigo 4821\r\nconfirmacao confirma.wav\r\n";
    announcer.setProgramFolder(fields.caminho);
  }
  // Every clip of the hora folder: each a tone of its own length, so the
  // message tells which clips it was made of.
  void clips(bool withOptional = true) {
    for (const TimeClip& c : AllClips())
      if (withOptional || !c.optional) files.files["C:\\Orvalen\\hora\\" + c.name] = ClipFor(c.name);
  }
  static std::string ClipFor(const std::string& name) {
    // 0.1 s plus a hundredth of a second per unit of its number.
    int n = name[0] == 'h' ? std::stoi(name.substr(1, 2)) : name[0] == 'm' ? 30 + std::stoi(name.substr(1, 2)) : 95;
    return SineWav({1, 8, 1, 8000}, 0.1 + n / 100.0, 440);
  }
  // Record lines without their date: "origin|file|mode|outcome".
  std::vector<std::string> lines() const {
    std::vector<std::string> out;
    for (const auto& e : record.entries()) out.push_back(e.origin + "|" + e.file + "|" + e.mode + "|" + e.outcome);
    return out;
  }
  void key(const std::string& digits) { remote.onDtmf(digits); }

  TransmissionRecord record{time};
  FakeStation station;
  FakeWorker jobs;
  FakeAudioFiles audioFiles{files};
  TimeAnnouncer announcer{jobs, audioFiles, nullptr};
  RemoteControl remote{station, services, &announcer};
};

}  // namespace orv::test
