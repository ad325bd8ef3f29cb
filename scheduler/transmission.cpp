#include "scheduler/transmission.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

#include "scheduler/format_hms.h"

namespace orv {

namespace {

using namespace std::chrono_literals;

// Halves go to the even neighbour, as the number-to-integer conversions of
// the original controls did (12.5 -> 12, 13.5 -> 14).
std::optional<long> RoundHalfEven(double x, long lo, long hi) {
  if (!std::isfinite(x)) return std::nullopt;
  double r = std::floor(x);
  const double diff = x - r;
  if (diff > 0.5 || (diff == 0.5 && std::fmod(r, 2.0) != 0)) r += 1;
  if (r < static_cast<double>(lo) || r > static_cast<double>(hi)) return std::nullopt;
  return static_cast<long>(r);
}

// The volume box as a number in the user's locale: blanks around, a sign,
// digits, an optional decimal part. Anything else is not a number.
std::optional<long> ParseVolume(const std::string& text, const std::string& decimal) {
  size_t b = text.find_first_not_of(' ');
  if (b == std::string::npos) return std::nullopt;
  size_t e = text.find_last_not_of(' ');
  std::string t = text.substr(b, e - b + 1);
  size_t i = 0;
  bool negative = false;
  if (t[i] == '-' || t[i] == '+') negative = t[i++] == '-';
  double value = 0;
  int digits = 0;
  for (; i < t.size() && t[i] >= '0' && t[i] <= '9'; ++i, ++digits) value = value * 10 + (t[i] - '0');
  if (!decimal.empty() && t.compare(i, decimal.size(), decimal) == 0) {
    i += decimal.size();
    double scale = 0.1;
    for (; i < t.size() && t[i] >= '0' && t[i] <= '9'; ++i, ++digits, scale /= 10) value += (t[i] - '0') * scale;
  }
  if (digits == 0 || i != t.size()) return std::nullopt;
  return RoundHalfEven(negative ? -value : value, std::numeric_limits<int>::min(),
                       std::numeric_limits<int>::max());
}

}  // namespace

Transmission::Transmission(FormControls& controls, FormServices& services, FormFields& fields)
    : c_(controls), s_(services), f_(fields) {}

Transmission::~Transmission() = default;

void Transmission::unload() {
  // Empty the field before the graph goes: nothing reached from its
  // destructor may find a half-released playback.
  std::unique_ptr<PlaybackGraph> old = std::move(graph_);
  old.reset();
  length_.reset();
}

bool Transmission::load(const std::string& path) {
  unload();
  graph_ = s_.playback ? s_.playback->create() : nullptr;
  if (!graph_ || !graph_->renderFile(path)) {
    unload();
    return false;
  }
  length_ = graph_->duration();
  if (length_) {
    if (auto max = RoundHalfEven(*length_, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()))
      c_.H1->setRange(c_.H1->minimum(), static_cast<int>(*max));
    c_.Text3->setText(FormatHms(*length_));
  }
  if (c_.UseSetVol4->value() == 1) {
    const std::string decimal = s_.locale ? s_.locale->decimalSeparator() : std::string(".");
    if (auto volume = ParseVolume(c_.VolSet4->text(), decimal)) graph_->setVolume(*volume);
  }
  c_.Text2->setText("00:00:00");
  return true;
}

bool Transmission::run() {
  if (!graph_ || !graph_->run()) return false;
  graph_->setCurrentPosition(0);
  return true;
}

void Transmission::start() {
  lastClock_ = c_.ShowTime->text();
  Timer1 = s_.timers->create([this] { progressTick(); });
  Timer2 = s_.timers->create([this] { clockTick(); });
  Timer1->start(untilProgressTick());
  Timer2->start(10ms);
}

Millis Transmission::untilProgressTick() const {
  // The progress tick keeps the clock's phase, so the two share one wake-up
  // a second; its own phase was never anything but the start-up moment.
  // A tick that came a hair early still waits a whole second.
  Millis delay(1000 - s_.clock->wallMillis());
  if (delay < 200ms) delay += 1000ms;
  return delay;
}

void Transmission::progressTick() {
  Timer1->start(untilProgressTick());
  // Inside a host call that waits (a TransmitFile that returns when sent):
  // an unkey now would cut that transmission short.
  if (s_.EchoLink->calling()) return;
  // The end is found by text, one tick late; while idle the two boxes stay
  // equal, so this unkeys once a second.
  if (c_.Text2->text() == c_.Text3->text() && end_) end_();
  if (!graph_) return;
  const std::optional<double> position = graph_->currentPosition();
  if (!position) return;
  if (auto value = RoundHalfEven(*position, c_.H1->minimum(), c_.H1->maximum()))
    c_.H1->setValue(static_cast<int>(*value));
  if (auto length = graph_->duration()) c_.Text1->setText(FormatHms(*length - *position));
  c_.Text2->setText(FormatHms(*position));
}

void Transmission::clockTick() {
  std::string now = s_.clock->timeOfDayText();
  if (now != lastClock_) {
    c_.ShowTime->setText(now);
    lastClock_ = std::move(now);
  }
  // One wake a second, aimed at the turn of the wall clock's second
  // (a tick that comes early finds the old text and aims again), rather
  // than a hundred ticks a second; the wall clock setting is followed at
  // the next turn.
  Timer2->start(Millis(1000 - s_.clock->wallMillis()));
}

void Transmission::onVolumeChanged() {
  const int volume = c_.V4->value();
  c_.VolSet4->setText(std::to_string(volume));
  if (graph_) graph_->setVolume(volume);
}

void Transmission::onPositionScroll(int value) {
  if (!graph_) return;
  // The safety net keeps its deadline: an unattended transmitter must be
  // released within the file's length and a margin of being keyed, even if
  // someone dragged the message back to its start.
  graph_->setCurrentPosition(value);
}

}  // namespace orv
