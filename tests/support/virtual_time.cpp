#include "tests/support/virtual_time.h"

#include <algorithm>
#include <cstdio>

#include "platform/civil_time.h"

namespace orv::test {

struct VirtualTime::Entry {
  std::function<void()> onTick;
  bool running = false;
  std::chrono::milliseconds interval{0};
  std::chrono::milliseconds due{0};
  std::uint64_t order = 0;
  bool alive = true;
};

class VirtualTimer : public Timer {
 public:
  VirtualTimer(VirtualTime& vt, VirtualTime::Entry* e) : vt_(vt), e_(e) {}
  ~VirtualTimer() override {
    e_->alive = false;
    e_->running = false;
  }
  void start(Millis interval) override {
    e_->interval = std::max(interval, Millis(1));
    e_->due = vt_.now_ + e_->interval;
    e_->running = true;
  }
  void stop() override { e_->running = false; }
  bool running() const override { return e_->running; }

 private:
  VirtualTime& vt_;
  VirtualTime::Entry* e_;
};

VirtualTime::VirtualTime() : wallDays_(DaysFromCivil(2026, 1, 1)) {}

void VirtualTime::setWallDate(int year, int month, int day) { wallDays_ = DaysFromCivil(year, month, day); }

long long VirtualTime::localMillis() const {
  long long ms = wallDays_ * 86400000LL + wallStart_ * 1000LL + now_.count() + shift_.count();
  for (const auto& [at, delta] : offsets_)
    if (now_ >= at) ms += delta * 1000LL;
  return ms;
}

LocalTime VirtualTime::localNow() const {
  const long long ms = localMillis();
  long long days = ms / 86400000LL;
  long long inDay = ms % 86400000LL;
  if (inDay < 0) {
    inDay += 86400000LL;
    --days;
  }
  const CivilDate d = CivilFromDays(days);
  LocalTime t;
  t.year = d.year;
  t.month = d.month;
  t.day = d.day;
  t.hour = static_cast<int>(inDay / 3600000);
  t.minute = static_cast<int>(inDay / 60000 % 60);
  t.second = static_cast<int>(inDay / 1000 % 60);
  t.millisecond = static_cast<int>(inDay % 1000);
  t.weekday = WeekdayFromDays(days);
  return t;
}
VirtualTime::~VirtualTime() {
  for (Entry* e : entries_) delete e;
}

std::unique_ptr<Timer> VirtualTime::create(std::function<void()> onTick) {
  auto* e = new Entry;
  e->onTick = std::move(onTick);
  e->order = entries_.size();
  entries_.push_back(e);
  return std::make_unique<VirtualTimer>(*this, e);
}

void VirtualTime::advance(std::chrono::milliseconds d) {
  const auto target = now_ + d;
  for (;;) {
    Entry* next = nullptr;
    for (Entry* e : entries_) {
      if (!e->alive || !e->running || e->due > target) continue;
      if (!next || e->due < next->due) next = e;  // ties keep creation order
    }
    if (!next) break;
    now_ = std::max(now_, next->due);
    next->due += next->interval;
    // Like a window timer, an overdue timer ticks once, not once per missed interval.
    if (next->due <= now_) next->due = now_ + next->interval;
    ++ticks_;
    auto tick = next->onTick;  // the callback may destroy its timer
    tick();
  }
  // A tick that held the thread up (jump) may have carried the clock past
  // the target: time never runs backwards.
  now_ = std::max(now_, target);
}

void VirtualTime::sleep(std::chrono::milliseconds d) {
  shift_ += d;
  for (Entry* e : entries_)
    if (e->alive && e->running) e->due = std::min(e->due, now_);
}

int VirtualTime::runningTimers() const {
  return static_cast<int>(std::count_if(entries_.begin(), entries_.end(),
                                        [](const Entry* e) { return e->alive && e->running; }));
}

std::string VirtualTime::timeOfDayText() const {
  long long s = (wallStart_ + (wallStartMs_ + now_.count()) / 1000) % 86400;
  char buf[16];
  std::snprintf(buf, sizeof buf, "%02lld:%02lld:%02lld", s / 3600, s / 60 % 60, s % 60);
  return buf;
}

std::string VirtualTime::logTimestamp() const {
  long long ms = wallStart_ * 1000LL + wallStartMs_ + now_.count();
  char buf[40];
  std::snprintf(buf, sizeof buf, "2026-01-01 %02lld:%02lld:%02lld.%03lld", ms / 3600000 % 24,
                ms / 60000 % 60, ms / 1000 % 60, ms % 1000);
  return buf;
}

}  // namespace orv::test
