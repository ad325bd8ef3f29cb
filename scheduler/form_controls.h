#pragma once
// The main window's controls and services as the scheduler sees them. The
// slots are not records: each slot is a row of controls, and the controls'
// texts are the data (the file name, the interval, the countdown).
#include <array>
#include <string>

#include "host/host.h"
#include "platform/app_control.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/files.h"
#include "platform/locale.h"
#include "platform/playback.h"
#include "platform/timers.h"
#include "platform/widgets.h"
#include "scheduler/transmission_record.h"

namespace orv {

constexpr int kSlotCount = 9;
inline const std::string kProgramName = "Orvalen";

// Row N (1..9): Check<N>, mens<N>, cont<N>, temp<N>; index 0 is slot 1.
struct FormControls {
  std::array<CheckWidget*, kSlotCount> Check{};
  std::array<TextWidget*, kSlotCount> mens{};   // file name
  std::array<TextWidget*, kSlotCount> cont{};   // interval in seconds, as typed
  std::array<TextWidget*, kSlotCount> temp{};   // countdown label
  CheckWidget* Check20 = nullptr;               // "RF  -"
  CheckWidget* Check21 = nullptr;               // "RF + IP"
  ColoredLabel* PTT = nullptr;
  TextWidget* ShowTime = nullptr;
  TextWidget* DTMFInfo3 = nullptr;
  TextWidget* Text1 = nullptr;                  // Time Left
  TextWidget* Text2 = nullptr;                  // Time Used
  TextWidget* Text3 = nullptr;                  // Length
  BarWidget* H1 = nullptr;                      // position, whole seconds
  BarWidget* V4 = nullptr;                      // volume, -3000..0
  TextWidget* VolSet4 = nullptr;
  CheckWidget* UseSetVol4 = nullptr;            // "Usar Volume manual"
  TextWidget* Caption = nullptr;                // the window caption
};

struct FormServices {
  Host* EchoLink = nullptr;
  TimerService* timers = nullptr;
  Dialogs* dialogs = nullptr;
  Clock* clock = nullptr;
  FileSystem* files = nullptr;
  PlaybackFactory* playback = nullptr;
  Locale* locale = nullptr;
  AppControl* app = nullptr;
  TransmissionRecord* record = nullptr;   // nothing recorded when absent
};

// Window-level fields that no control holds.
struct FormFields {
  std::string caminho;       // program folder with exactly one trailing "\"
  std::string arquivoAtual;  // file name being played, as typed in the slot
};

inline constexpr OleColor kPttOnColor = Rgb(255, 0, 0);
inline constexpr OleColor kPttOffColor = Rgb(0, 192, 0);

// What the slot ticks need from local playback.
class LocalPlayer {
 public:
  virtual ~LocalPlayer() = default;
  virtual void TOCA() = 0;
  // Whether a message is playing now (TOCA started one that renders).
  virtual bool playing() const { return true; }
};

}  // namespace orv
