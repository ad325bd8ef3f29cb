#pragma once
// Local playback in the "RF  -" mode: the message plays on the computer's
// sound output while the host keeps the transmitter keyed. Also the progress
// group (length, time used, time left, position bar), the volume and seek
// controls and the clock label.
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

  // Releases the playback graph, unkeys, shows green "PTT OFF". When the host
  // refuses SetTransmit the indicator is left alone and the failure returned.
  HostReply CleanUp();
  // Plays `arquivoAtual` (resolved against `caminho`) with the transmitter
  // keyed; a running playback is released first.
  void TOCA() override;
  void retryRelease() override;
  void TXFile();

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

  bool playing() const override { return graph_ != nullptr; }

 private:
  Millis untilProgressTick() const;
  void armSafetyNet(double secondsLeft);
  void safetyNetTick();

  FormControls& c_;
  FormServices& s_;
  FormFields& f_;
  // Stands for mediaControl / basicAudio / mediaPosition: one graph, one owner.
  std::unique_ptr<PlaybackGraph> graph_;
  std::unique_ptr<Timer> Timer1;
  std::unique_ptr<Timer> Timer2;
  // One-shot release of the transmitter in case the position never reaches
  // the length (a stalled or misreporting graph).
  std::unique_ptr<Timer> safetyNet_;
  std::optional<double> length_;
  std::string lastClock_;
};

}  // namespace orv
