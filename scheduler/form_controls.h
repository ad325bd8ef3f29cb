#pragma once
// The main window's controls and services as the scheduler sees them. The
// slots are not records: each slot is a row of controls, and the controls'
// texts are the data (the file name, the interval, the countdown).
#include <array>
#include <optional>
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

class MessageAudio;

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
  // Reads messages' files and makes the host's copies; none: files are
  // neither checked nor converted.
  MessageAudio* audio = nullptr;
};

// Window-level fields that no control holds.
struct FormFields {
  std::string caminho;       // program folder with exactly one trailing "\"
  std::string arquivoAtual;  // file name being played, as typed in the slot
  // The error box that ends the program is open: nothing may key the
  // transmitter behind it.
  bool failing = false;
};

inline constexpr OleColor kPttOnColor = Rgb(255, 0, 0);
inline constexpr OleColor kPttOffColor = Rgb(0, 192, 0);

// Local playback as the transmitter guard drives it: the graph and the
// progress group, never the host. Keying around it is the guard's alone.
class LocalPlayer {
 public:
  virtual ~LocalPlayer() = default;
  // Drops any earlier playback, builds one for `path`, shows its length and
  // applies the manual volume. False when the file will not play.
  virtual bool load(const std::string& path) = 0;
  // Starts the loaded playback from its beginning ("Time Used" reset).
  // False when it does not run.
  virtual bool run() = 0;
  // Releases the playback, if any.
  virtual void unload() = 0;
  virtual bool playing() const = 0;
  // The loaded file's length in seconds, when the graph reports one.
  virtual std::optional<double> length() const { return std::nullopt; }
};

}  // namespace orv
