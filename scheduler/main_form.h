#pragma once
// The main window's behaviour: start-up, the ways the program ends, and the
// wiring of the scheduler's parts to the window's controls and the host.
#include <functional>
#include <string>

#include "scheduler/dtmf_handler.h"
#include "scheduler/form_controls.h"
#include "scheduler/form_events.h"
#include "scheduler/slot_list_file.h"
#include "scheduler/slot_scheduler.h"
#include "scheduler/transmission.h"
#include "scheduler/transmitter_guard.h"

namespace orv {

inline const std::string kCloseQuestion = "Tem certeza que quer encerrar o programa? ";
inline const std::string kCloseTitle = "Sai do programa";

struct FormHooks {
  std::function<void()> showHelp;    // "Ajuda"
  std::function<void()> showAbout;   // "Sobre"
  std::function<void()> onEnd;       // the program is ending: detach windows
  // Start-up: what else runs on its own (the agenda) starts, before any
  // start-up message can wait for an operator who is not there.
  std::function<void()> startClocks;
  // A DTMF string that is not the identification code (the radio's commands).
  std::function<void(const std::string&)> otherDtmf;
};

class MainForm : public FormEvents, public HostEvents {
 public:
  MainForm(FormControls& controls, FormServices& services, FormHooks hooks);
  ~MainForm() override;

  // Start-up. False when the host cannot serve the program (its station name
  // cannot be read, or it refuses to unkey); `error` then names the cause.
  // Everything that runs on its own is running before its first message.
  bool Load(std::string& error);

  FormFields& fields() { return fields_; }
  Transmission& transmission() { return transmission_; }
  TransmitterGuard& guard() { return guard_; }
  SlotScheduler& scheduler() { return scheduler_; }

  // The caption says when the station was stopped from the radio.
  void showStoppedFromRadio(bool stopped);

  // FormEvents
  void onSlotCheckClicked(int slot) override;
  void onModeCheckClicked(int which) override;
  void onVolumeChanged() override;
  void onPositionScroll(int value) override;
  void onButtonClick(FormButton button) override;
  bool onCloseRequest() override;
  void onUnload() override;
  std::string slotFileTip(int slot) override { return scheduler_.fileTip(slot); }
  void onSessionEnd() override;

  // HostEvents
  void onDtmfString(const std::string& digits) override;
  void onClosing() override;
  void onHostLost(const std::string& why) override;
  void onHostBack(const std::string& stationName) override;

 private:
  bool ended() const { return services_.app->quitting(); }
  void Sair();
  // The Yes branch of the close question and "Sair".
  void EndByUser();
  void End(int exitCode);
  // A handler that traps nothing failed: say so, never leave the transmitter
  // keyed, and stop.
  void Fatal(const std::string& error);
  void showCaption(const std::string& caption);

  FormControls& controls_;
  FormServices& services_;
  FormHooks hooks_;
  FormFields fields_;
  bool asking_ = false;
  std::string station_;
  std::string caption_;
  bool stoppedFromRadio_ = false;
  Transmission transmission_;
  TransmitterGuard guard_;
  SlotScheduler scheduler_;
  SlotListFile slotList_;
  DtmfHandler dtmf_;
};

// The window caption for a station, and while its host is not connected.
std::string CaptionFor(const std::string& stationName);
std::string CaptionWhileHostGone(const std::string& stationName);
// Added to the caption while the station is stopped from the radio.
inline const std::string kStoppedCaptionSuffix = " - parado pelo r\xC3\xA1" "dio";

}  // namespace orv
