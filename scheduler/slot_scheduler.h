#pragma once
// The nine message slots at work: arming when a slot's box is ticked, the
// two transmit-mode boxes, and each slot's once-a-second countdown that
// sends the slot's message when it reaches 0 and the host is free.
//
// Ticks are counted from the slot's arming time on the monotonic clock, not
// from timer callbacks: a late or missed window timer does not stretch the
// schedule, and a thread held up for a while catches up on the seconds that
// passed (sending at most once for them).
#include <array>
#include <chrono>
#include <cstdint>
#include <memory>
#include <string>

#include "scheduler/form_controls.h"
#include "scheduler/transmitter_guard.h"

namespace orv {

class SlotScheduler {
 public:
  SlotScheduler(FormControls& controls, FormServices& services, FormFields& fields, TransmitterGuard& guard);
  SlotScheduler(const SlotScheduler&) = delete;
  SlotScheduler& operator=(const SlotScheduler&) = delete;
  ~SlotScheduler();

  // Start-up: the nine slot timers (Timer12..Timer20) stopped.
  void stopAllTimers();
  // Start-up: every slot with a name and a non-zero interval is ticked, in
  // slot order; arming may show its messages.
  void armAtStartup();

  // `slot` is 0-based. The Win32 layer calls the handler after a user click
  // changed the box; the program changes boxes through setSlotCheck, which
  // runs the handler only when the value changes.
  void onSlotCheckChanged(int slot);
  void setSlotCheck(int slot, int value);
  // Ticks the box from afar (the radio's command): the same arming, its
  // refusal returned instead of shown; empty when the slot is on.
  std::string armFromRadio(int slot);

  // `which` is 20 ("RF  -") or 21 ("RF + IP").
  void onModeCheckChanged(int which);
  void setModeCheck(int which, int value);

  bool ExisteArquivo(const std::string& path);

  // What the slot's file-name box shows when the pointer rests on it.
  std::string fileTip(int slot);

  // The slot's message goes out now, as a due slot's would (the host's busy
  // flags asked, the countdown reloaded from the interval), armed or not.
  // False when the box names no file or something held the message back
  // (`why` says what).
  bool sendNow(int slot, TransmitterGuard::Hold* why = nullptr);

  // For tests and diagnostics.
  bool slotTimerRunning(int slot) const;
  bool slotArmed(int slot) const;

 private:
  struct Slot {
    std::unique_ptr<Timer> timer;                 // Timer12 + index
    bool armed = false;                           // last arming passed both tests and box still ticked
    std::uint64_t generation = 0;                 // changes on every arming and disarming
    std::chrono::milliseconds armedAt{0};
    long long ticksDone = 0;                      // ticks run since armedAt
    long long count = 0;                          // seconds left, mirrored in temp<N>
    long long interval = 1;                       // last interval loaded, for a box that no longer reads
    long long shown = -1;                         // what temp<N> was last given
    Millis period{0};                             // what the timer was last started with
    bool inTick = false;
    Millis waitingSince{-1};                      // when the due message began to wait for the host
  };
  static constexpr Millis kTick{1000};

  void arm(int slot);
  void onTimer(int slot);
  enum class Due { Waiting, Sent };
  Due fire(int slot, TransmitterGuard::Hold* why = nullptr);
  void reload(int slot);
  long long intervalAtFiring(int slot);
  void showCount(int slot, bool always = false);
  void startTimer(int slot, Millis delay);
  bool ticked(int slot) const;
  void message(const std::string& text);
  // RF + IP: the host's copy of an armed slot's file asked of the worker
  // (or found current), on arming and on ticks that send nothing, so it is
  // ready before the slot falls due.
  void keepHostCopyReady(int slot);

  FormControls& c_;
  FormServices& s_;
  FormFields& f_;
  TransmitterGuard& guard_;
  std::string* quietRefusal_ = nullptr;   // arming from the radio: no box, nobody to answer it
  std::array<Slot, kSlotCount> slots_;
};

}  // namespace orv
