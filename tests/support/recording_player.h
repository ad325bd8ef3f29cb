#pragma once
// Local playback as the transmitter guard drives it, without a graph: it
// records what it was asked to play (the file as the slot names it) and
// plays for a set time on the virtual clock, or until unloaded.
#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "scheduler/form_controls.h"
#include "tests/support/virtual_time.h"

namespace orv::test {

struct RecordingPlayer : LocalPlayer {
  RecordingPlayer(FormFields& f, VirtualTime* t = nullptr) : fields(f), time(t) {}

  bool load(const std::string& path) override {
    played.push_back(fields.arquivoAtual);
    paths.push_back(path);
    if (onToca) onToca();
    loaded = renders;
    return renders;
  }
  bool run() override {
    if (!loaded) return false;
    if (time && seconds >= 0)
      until = time->monotonic() + std::chrono::milliseconds(static_cast<long long>(seconds * 1000));
    return true;
  }
  void unload() override { loaded = false; }
  bool playing() const override {
    if (!loaded) return false;
    return !time || seconds < 0 || time->monotonic() < until;
  }
  std::optional<double> length() const override {
    if (seconds < 0) return std::nullopt;
    return seconds;
  }

  FormFields& fields;
  VirtualTime* time;
  // How long a message plays on the virtual clock; negative: until unloaded.
  double seconds = -1;
  bool renders = true;
  bool loaded = false;
  std::chrono::milliseconds until{0};
  std::vector<std::string> played;   // arquivoAtual at each load
  std::vector<std::string> paths;
  std::function<void()> onToca;
};

}  // namespace orv::test
