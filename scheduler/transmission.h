#pragma once
// Local playback in the "RF  -" mode: the message plays on the computer's
// sound output while the host keeps the transmitter keyed (the transmitter
// guard keys and unkeys around it). Also the progress
// group (length, time used, time left, position bar), the volume and seek
// controls and the clock label.
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "scheduler/form_controls.h"

namespace orv {

class Transmission : public LocalPlayer {
 public:
  Transmission(FormControls& controls, FormServices& services, FormFields& fields);
  ~Transmission() override;
  Transmission(const Transmission&) = delete;
  Transmission& operator=(const Transmission&) = delete;

  // LocalPlayer: the graph steps of TOCA and TXFile; keying is the guard's.
  bool load(const std::string& path) override;
  bool run() override;
  void unload() override;
  bool playing() const override { return graph_ != nullptr; }
  std::optional<double> length() const override { return length_; }

  // What the progress tick does when "Time Used" shows "Length": the end of
  // a playback, or, while idle, the once-a-second unkey.
  void onPlaybackEnd(std::function<void()> end) { end_ = std::move(end); }

  // Starts the progress tick (Timer1, 1 s) and the clock tick (Timer2), both
  // aimed at each turn of the wall clock's second.
  void start();

  // V4 changed (user or program).
  void onVolumeChanged();
  // H1's thumb is being dragged to `value` seconds.
  void onPositionScroll(int value);

  // The tick handlers, public so that a window can drive them directly.
  void progressTick();
  void clockTick();

 private:
  Millis untilProgressTick() const;

  FormControls& c_;
  FormServices& s_;
  FormFields& f_;
  // Stands for mediaControl / basicAudio / mediaPosition: one graph, one owner.
  std::unique_ptr<PlaybackGraph> graph_;
  std::unique_ptr<Timer> Timer1;
  std::unique_ptr<Timer> Timer2;
  std::optional<double> length_;
  std::string lastClock_;
  std::function<void()> end_;
};

}  // namespace orv
