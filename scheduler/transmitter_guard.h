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
#include <string>

#include "scheduler/form_controls.h"

namespace orv {

class Transmission;

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
  };

  TransmitterGuard(FormControls& controls, FormServices& services, FormFields& fields, Transmission& playback);
  ~TransmitterGuard();
  TransmitterGuard(const TransmitterGuard&) = delete;
  TransmitterGuard& operator=(const TransmitterGuard&) = delete;

  // Sends `m` through the ticked mode if nothing holds it back, asking the
  // host's busy flags first. `whileKeyed` is the sender's bookkeeping (a
  // slot's countdown reload), run where the send sequence has always run it;
  // it is not run when the message is held back.
  Hold send(const Message& m, const std::function<void()>& whileKeyed = {});

  // The host sends the station identification (the DTMF code's answer).
  // Held back like any message; the host's reply is returned when it was
  // asked, so its caller can apply its own failure rule.
  Hold sendIdentification(const std::string& origin, HostReply* reply = nullptr);

  // What would hold a message back now, without asking the host anything.
  Hold holdNow(bool waitForPlayback) const;

  // "Ouvir": plays `path` on the speakers only. Refused (false, with the
  // reason in `why`) while anything is on the air or may be keyed.
  bool preview(const std::string& path, std::string& why);
  void stopPreview();
  bool previewing();

  // Stop from the radio: unkey, stop any playback, and hold every message
  // until resume().
  void stop();
  void resume();
  bool stopped() const { return stopped_; }

  // The error box that ends the program is about to open.
  void fail();
  // The program ends: the transmitter is released and nothing is keyed
  // again, whatever call is still on the stack.
  void end();

  // Releases the playback and unkeys (the Parts' CleanUp). When the host
  // refuses, the indicator stays red and the release is asked for again
  // every second until it agrees.
  HostReply release();
  // Whether the radio may be keyed now (the indicator is red).
  bool mayBeKeyed() const { return mayBeKeyed_; }

  // Started by start-up: the safety net, the release retries and the 2 s
  // host probe.
  void start();

 private:
  // (filled in with the implementation)
  FormControls& c_;
  FormServices& s_;
  FormFields& f_;
  Transmission& playback_;
  bool stopped_ = false;
  bool mayBeKeyed_ = false;
};

}  // namespace orv
