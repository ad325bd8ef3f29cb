#include "platform/coalescing_timers.h"

#include <algorithm>

namespace orv {

namespace {
// How far the alarm's own next going-off may be from the wanted wake-up and
// still be left alone: window timers count in whole milliseconds.
constexpr Micros kNear{1000};
}  // namespace

struct CoalescingTimers::Entry {
  std::function<void()> onTick;
  bool running = false;
  Micros due{0};
  Micros period{0};
  std::uint64_t generation = 0;  // changes at every start and stop
};

class CoalescingTimers::Handle : public Timer {
 public:
  Handle(CoalescingTimers& owner, std::shared_ptr<Entry> entry) : owner_(owner), e_(std::move(entry)) {}
  ~Handle() override {
    e_->running = false;  // a turn of it already taken off the list does not run
    auto& all = owner_.entries_;
    all.erase(std::remove(all.begin(), all.end(), e_), all.end());
  }
  void start(Millis interval) override {
    const Micros i = std::max<Micros>(interval, Micros(0));
    e_->due = owner_.alarm_.now() + i;
    // A period of 0 would tick on every wake-up; window timers take 10 ms.
    e_->period = std::max<Micros>(i, Micros(1000));
    e_->running = true;
    ++e_->generation;
    // Ticks start each other again all through a wake-up, which aims the
    // alarm once at its end; only one due before the alarm would go off
    // needs it moved at once.
    if (owner_.waking_ == 0 || !owner_.alarmOn_ || e_->due + kNear < owner_.alarmNext_) owner_.aim();
  }
  void stop() override {
    if (!e_->running) return;
    e_->running = false;
    ++e_->generation;
    // Left for the alarm to find: going off for nothing costs one wake-up,
    // which is what moving it would cost too.
  }
  bool running() const override { return e_->running; }

 private:
  CoalescingTimers& owner_;
  std::shared_ptr<Entry> e_;
};

CoalescingTimers::CoalescingTimers(RepeatingAlarm& alarm, Micros together) : alarm_(alarm), together_(together) {}

CoalescingTimers::~CoalescingTimers() {
  if (alarmOn_) alarm_.stop();
}

std::unique_ptr<Timer> CoalescingTimers::create(std::function<void()> onTick) {
  auto e = std::make_shared<Entry>();
  e->onTick = std::move(onTick);
  entries_.push_back(e);
  return std::make_unique<Handle>(*this, std::move(e));
}

void CoalescingTimers::onAlarm() {
  const Micros now = alarm_.now();
  // The alarm keeps going off at its period: follow it, so the next wake-up
  // it gives on its own is known.
  if (alarmOn_) {
    if (alarmPeriod_ <= Micros(0)) alarmPeriod_ = Micros(1000);
    while (alarmNext_ <= now) alarmNext_ += alarmPeriod_;
  }

  // Every due tick is moved on before any runs, so a tick that opens a
  // message box (whose loop brings the alarm back here) finds no tick of
  // this wake-up still due.
  struct Due {
    std::shared_ptr<Entry> entry;
    Micros at;
    std::uint64_t generation;
    std::size_t order;
  };
  std::vector<Due> due;
  for (std::size_t i = 0; i < entries_.size(); ++i) {
    auto& e = entries_[i];
    // A window timer can go off a little before the millisecond it was set
    // for: a tick due within half a millisecond runs now, rather than on a
    // wake-up of its own 10 ms later.
    if (!e->running || e->due > now + Micros(500)) continue;
    due.push_back({e, e->due, e->generation, i});
    Micros next = e->due + e->period;
    // After a sleep or a long hold-up: one tick, then the period from now,
    // as window timers do; never a burst of the missed ones.
    if (next <= now) next = now + e->period;
    e->due = next;
  }
  std::sort(due.begin(), due.end(), [](const Due& a, const Due& b) {
    return a.at != b.at ? a.at < b.at : a.order < b.order;
  });
  ++waking_;
  for (const Due& d : due) {
    // Stopped, started again or gone since: that path owns it now.
    if (!d.entry->running || d.entry->generation != d.generation) continue;
    if (gate_ && !gate_()) continue;
    auto tick = d.entry->onTick;  // the tick may destroy its own timer
    tick();
  }
  --waking_;
  aim();
}

void CoalescingTimers::aim() {
  Micros first = Micros::max();
  for (const auto& e : entries_)
    if (e->running) first = std::min(first, e->due);
  if (first == Micros::max()) {
    if (alarmOn_) alarm_.stop();
    alarmOn_ = false;
    return;
  }
  // The wake-up waits for the ticks due just after the first, up to
  // `together`: one wake-up for all of them.
  Micros at = first;
  for (const auto& e : entries_)
    if (e->running && e->due <= first + together_) at = std::max(at, e->due);

  const Micros now = alarm_.now();
  if (alarmOn_ && alarmNext_ >= at && alarmNext_ <= at + kNear) return;
  const Micros delay = std::max<Micros>(at - now, Micros(0));
  // The first going-off comes after the rounded delay, like every later one.
  alarmPeriod_ = alarm_.start(delay);
  alarmNext_ = now + alarmPeriod_;
  alarmOn_ = true;
}

}  // namespace orv
