#pragma once
// The one way onto the air. Every sender (the slots, the agenda, the row
// menu, DTMF, whatever comes next) says what to send and when; only this
// decides whether it may go now and how: it alone keys and unkeys the
// transmitter, hands files to the host, starts a playback that goes on the
// air, keeps the indicator, the safety net and the release retries, and
// writes the record line.
//
// Nothing goes out while the fatal error box is open, once the program is
// ending, while the operator stopped it from the radio, while the host is
// gone or a call to it is still waiting further up the stack, or while a
// hearing ("Ouvir") sounds on the speakers, which in the "RF  -" mode feed
// the radio.
#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "scheduler/form_controls.h"

namespace orv {

class TransmitterGuard {
 public:
  // What holds a message back. Every hold but Refused is a wait: the sender
  // asks again later (a slot stays at 0, an agenda entry stays pending).
  enum class Hold {
    None,          // it went out (or was tried and recorded)
    Failing,       // the error box that ends the program is open
    Ending,        // the program is ending or has ended
    Stopped,       // stopped from the radio
    HostGone,      // the host is not connected
    HostCalling,   // a call to the host has not returned yet
    Previewing,    // a hearing sounds on the speakers
    OnAir,         // an agenda message never cuts a playback short
    HostBusy,      // either busy flag is set
    NoMode,        // neither transmit mode is ticked
    CopyNotReady,  // the host's copy of the file is still being made
  };

  struct Message {
    std::string origin;   // the record's origin: "slot 3", "agenda 7", "DTMF"
    std::string name;     // as the record shows it: the file as named, or what it is
    std::string path;     // the file itself, full path
    // Seconds it has waited to go out, for the record line.
    long long waited = 0;
    // An agenda message waits for a local playback to end; a slot's replaces it.
    bool waitForPlayback = false;
    // A missing file is recorded and not handed over (the agenda's rule); a
    // slot's goes to the host as named, as it always has.
    bool requireFile = false;
  };

  TransmitterGuard(FormControls& controls, FormServices& services, FormFields& fields, LocalPlayer& player);
  ~TransmitterGuard();
  TransmitterGuard(const TransmitterGuard&) = delete;
  TransmitterGuard& operator=(const TransmitterGuard&) = delete;

  // Sends `m` through the ticked mode if nothing holds it back, asking the
  // host's busy flags first. `whileKeyed` is the sender's bookkeeping (a
  // slot's countdown reload), run where the send sequence has always run it,
  // once the message was tried and recorded; it is not run when the message
  // is held back.
  Hold send(const Message& m, const std::function<void()>& whileKeyed = {});
  // The stop's own answer (its confirmation): the one message that goes out
  // while stopped, held back by everything else as any message is.
  Hold sendDespiteStop(const Message& m);

  // The host sends the station identification (the answer to the DTMF
  // code). Not sent, and recorded as not sent, while a hard hold applies
  // (nothing is retried: the code is asked for again on the air). The
  // host's reply is returned when it was asked, so that the caller can
  // apply its own failure rule.
  Hold sendIdentification(const std::string& origin, HostReply* reply = nullptr);

  // What would hold a message back now, without asking the host anything.
  Hold holdNow(bool waitForPlayback) const;

  // The "RF  -" sequence itself: the earlier playback released and
  // unkeyed, `path` loaded, the transmitter keyed, the playback started.
  // Checks the hard holds, not the busy flags or the mode.
  Hold TOCA(const std::string& path);

  // "Ouvir": plays `path` on the speakers only. Refused (false, with the
  // reason in `why`, empty when the file would not play) while anything is
  // on the air or the radio may be keyed.
  bool preview(const std::string& path, std::string& why);
  void stopPreview();
  bool previewing();

  // Stop from the radio: unkey, stop any playback, and hold every message
  // until resume().
  void stop();
  void resume();
  bool stopped() const { return stopped_; }

  // The error box that ends the program is about to open: release, and key
  // nothing until the end.
  void fail();
  // The program is ending: from here on nothing is keyed, whatever call is
  // still waiting further up the stack. The two last calls of every way
  // out follow, their replies for the caller's failure rule; they are the
  // only calls made while another may be outstanding (the host waits for
  // that one first).
  void beginEnd();
  HostReply endRelease();
  HostReply endSignal();

  // Releases the playback and unkeys (CleanUp). When the host refuses, the
  // indicator stays as it is and the release is asked for again every
  // second until the host agrees.
  HostReply release();
  // The progress tick found "Time Used" equal to "Length".
  void onPlaybackEnd();
  // A new connection to the host is up; its first call released the radio.
  void onHostBack();
  // Whether the radio may be keyed now (the indicator is red).
  bool mayBeKeyed() const { return mayBeKeyed_; }

  // Start-up: the host probe begins.
  void start();

  static constexpr std::chrono::milliseconds kProbeInterval{2000};
  static constexpr std::chrono::milliseconds kIdleBackoff{5000};

 private:
  bool ending() const;
  // A host call may run other handlers before it returns (the session's
  // end among them): after each one, the sequence asks this before going on.
  Hold haltReason() const;
  void showKeyed();
  void showUnkeyed();
  // Every host call of the guard goes through these, so that the probe knows
  // when the host was last heard from.
  HostReply setTransmit(bool on);
  HostReply unkey();
  void lostWhileKeying(const HostReply& keyed);
  // The host went: green, unless a call given up on may have left it keyed.
  void lostHost();
  template <class Call>
  auto ask(Call&& call);
  bool hostBusy();
  Hold sendToHost(const Message& m, const std::function<void()>& whileKeyed);
  Hold playLocally(const Message& m, const std::function<void()>& whileKeyed);
  void record(const Message& m, const std::string& mode, const std::string& outcome);
  void armSafetyNet(std::optional<double> seconds);
  void retryRelease();
  void safetyNetTick();
  void probeTick();

  FormControls& c_;
  FormServices& s_;
  FormFields& f_;
  LocalPlayer& player_;
  std::unique_ptr<PlaybackGraph> preview_;
  std::unique_ptr<Timer> safetyNet_;
  std::unique_ptr<Timer> probe_;
  Millis lastCall_{0};
  Millis idleRefusedAt_{-1};
  bool stopped_ = false;
  bool answeringStop_ = false;
  bool ending_ = false;
  bool mayBeKeyed_ = false;
  bool hungKeyed_ = false;
  int asking_ = 0;   // calls of the guard under way
};

}  // namespace orv
