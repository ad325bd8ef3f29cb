#pragma once
// The station answers the radio: commands in DTMF behind an access code
// (see dtmf_command.h), off until the operator sets a code in
// orvalen-controle.txt.
//
// Each string that starts with the prefix gets one record line: origin
// "DTMF", the command's name where a file would be, the mode, and what came
// of it. Neither the record nor the host log ever holds the access code.
// An accepted command is answered by the confirmation message when one is
// set; a refused one gets no answer on the air.
//
// What a command sends waits, in order, for the air to be free, as long as
// any message would (10 minutes). The stop is the emergency brake: it
// clears that queue, and after its own confirmation nothing of the
// program's own goes on the air until command 9 or the operator resumes.
// It is written into the settings file, so a restart stays stopped.
#include <chrono>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "announce/time_announcer.h"
#include "remote/control_file.h"
#include "remote/dtmf_command.h"
#include "remote/lockout.h"
#include "remote/remote_station.h"
#include "scheduler/form_controls.h"

namespace orv {

inline const std::string kRemoteOrigin = "DTMF";
inline const std::string kOutcomeAccepted = "aceito";
inline constexpr std::size_t kRemoteQueueLimit = 16;

class RemoteControl {
 public:
  // `announcer` may be null: then the time is not spoken.
  RemoteControl(RemoteStation& station, FormServices& services, TimeAnnouncer* announcer);
  ~RemoteControl();
  RemoteControl(const RemoteControl&) = delete;
  RemoteControl& operator=(const RemoteControl&) = delete;

  // Start-up: reads the settings, and stops the station again if it was
  // stopped from the radio, before anything else can go out.
  void load();
  // Then, once everything runs: why a refused file is refused, in a box.
  void reportRefusal();

  const ControlFile& file() const { return file_; }
  // The operator's settings from the window, saved at once and in effect
  // from the next command (the stop is not theirs to change). Empty on
  // success, else the message to show.
  std::string save(const ControlSettings& settings);

  // A DTMF string the identification code did not take. True when it was
  // meant for the remote control (it starts with the prefix).
  bool onDtmf(const std::string& digits);

  bool stopped() const { return stopped_; }
  // "Retomar envios", the system menu's way out of the stop.
  void resumeFromMenu();

  // The digit string as the host log may show it.
  std::string maskForLog(const std::string& digits) const;

  // Runs after the settings or the stop changed.
  void subscribe(std::function<void()> onChange) { listeners_.push_back(std::move(onChange)); }

 private:
  struct Outgoing {
    enum class Kind { Slot, File, Identification, Time };
    Kind kind = Kind::File;
    std::string name;          // as the record shows it
    int slot = 0;              // 0-based, for Slot
    std::string path;          // for File
    bool despiteStop = false;
    std::chrono::milliseconds since{0};
  };

  void handle(const std::string& digits);
  void run(const RemoteCommand& command);
  void stopNow(const std::string& name);
  // Empty, or why the stop's change could not be written.
  std::string resumeNow();
  std::string persistStopped(bool stopped);
  bool enqueue(Outgoing o);
  void confirm(bool despiteStop);
  // Handles the strings that wait, then sends what the commands queued
  // for as long as the air is free.
  void work();
  void sendWaiting();
  RemoteStation::Delivery deliver(const Outgoing& o);
  void record(const std::string& name, const std::string& outcome);
  void changed();

  RemoteStation& station_;
  FormServices& s_;
  TimeAnnouncer* announcer_;
  ControlFile file_;
  bool stopped_ = false;
  Lockout lockout_;
  std::deque<std::string> waiting_;
  bool working_ = false;
  std::deque<Outgoing> outbox_;
  std::unique_ptr<Timer> timer_;
  std::vector<std::function<void()>> listeners_;
};

}  // namespace orv
