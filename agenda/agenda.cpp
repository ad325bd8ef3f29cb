#include "agenda/agenda.h"

#include <algorithm>

#include "audio/message_audio.h"
#include "scheduler/message_path.h"
#include "scheduler/message_send.h"

namespace orv {

using namespace std::chrono_literals;

namespace {
// An entry falls due at most a few times a day; a clock set back more than
// a few of its due times has been corrected, not nudged.
constexpr size_t kTakenKept = 8;
}  // namespace

Agenda::Agenda(FormControls& controls, FormServices& services, FormFields& fields, TransmitterGuard& guard)
    : c_(controls), s_(services), f_(fields), guard_(guard) {}

Agenda::~Agenda() = default;

void Agenda::load() {
  file_ = ReadAgendaFile(*s_.files, *s_.locale);
  taken_.assign(file_.lines.size(), {});
  const LocalTime now = s_.clock->localNow();
  seen_ = MinuteOf(now);
  if (!timer_) timer_ = s_.timers->create([this] { tick(); });
  prepareHostCopies();
  restart(now);
  // The ticks run behind this box: entries fall due while it waits for an
  // operator who may not be there.
  if (const std::string problems = UnreadableLinesMessage(file_); !problems.empty())
    s_.dialogs->show(problems, kProgramName, MsgButtons::Ok, MsgIcon::Information, 0);
}

std::string Agenda::save(AgendaFile file) {
  if (std::string error = SaveAgendaFile(*s_.files, *s_.locale, file); !error.empty()) return error;
  file_ = std::move(file);
  // What falls due from now on counts; nothing already past is sent for the
  // new lines.
  taken_.assign(file_.lines.size(), {});
  const LocalTime now = s_.clock->localNow();
  seen_ = MinuteOf(now);
  prepareHostCopies();
  restart(now);
  changed();
  return {};
}

void Agenda::tick() {
  if (inTick_ || s_.app->quitting()) return;
  inTick_ = true;
  const LocalTime now = s_.clock->localNow();
  takeDue(MinuteOf(now));
  dispatch();
  // Second 30 is half a minute from any due time: the host's copies are
  // asked for then (the worker makes them), never on the tick that sends.
  if (now.second == 30 && pending_.empty()) prepareHostCopies();
  if (now.second >= 30) prepareAnnouncements(now);
  inTick_ = false;
  if (!s_.app->quitting()) restart(s_.clock->localNow());
}

void Agenda::restart(const LocalTime& now) {
  if (!timer_) return;
  // An agenda with nothing on it, the usual case, costs nothing: saving
  // entries into it starts the ticks again.
  const bool anyEntry = std::any_of(file_.lines.begin(), file_.lines.end(), [](const AgendaLine& l) {
    return l.kind == AgendaLine::Kind::Entry && l.entry.enabled;
  });
  if (!anyEntry && pending_.empty()) {
    timer_->stop();
    return;
  }
  // Aim just past the next wall-clock second, so a due time is seen within
  // a few milliseconds of second 00.
  const int delay = std::clamp(1000 - now.millisecond + 5, 5, 1005);
  timer_->start(std::chrono::milliseconds(delay));
}

void Agenda::takeDue(LocalMinute now) {
  if (!seen_) seen_ = now;
  if (now > *seen_) {
    for (size_t i = 0; i < file_.lines.size(); ++i) {
      const AgendaLine& line = file_.lines[i];
      if (line.kind != AgendaLine::Kind::Entry || !line.entry.enabled) continue;
      const auto due = LatestDue(line.entry, now);
      if (!due || *due <= *seen_) continue;
      std::vector<DueTaken>& taken = taken_[i];
      const auto before = std::find_if(taken.begin(), taken.end(), [&](const DueTaken& t) { return t.minute == *due; });
      const auto last = before == taken.end() ? std::nullopt : std::optional<DueTaken>(*before);
      if (!ShouldTake(line.entry, *due, now, last, s_.clock->monotonic())) continue;
      if (before != taken.end()) taken.erase(before);
      if (taken.size() >= kTakenKept) taken.erase(taken.begin());
      taken.push_back({*due, s_.clock->monotonic()});
      pending_.push_back({static_cast<int>(i + 1), line.entry.file, s_.clock->monotonic()});
    }
  }
  // Set back, the clock is followed too: the entries' last due times keep
  // what was already sent from going out again.
  seen_ = now;
}

void Agenda::dispatch() {
  bool blocked = false;
  for (size_t i = 0; i < pending_.size();) {
    const Pending p = pending_[i];
    // Stopped from the radio: what falls due meanwhile is not kept for later.
    if (guard_.stopped()) {
      pending_.erase(pending_.begin() + static_cast<long>(i));
      record(p, CurrentModeName(c_), "n\xC3\xA3o enviada: envios parados pelo r\xC3\xA1" "dio");
      continue;
    }
    if (s_.clock->monotonic() - p.since >= kAgendaLongestWait) {
      pending_.erase(pending_.begin() + static_cast<long>(i));
      const std::string mode = CurrentModeName(c_);
      record(p, mode, HostGone(*s_.EchoLink) ? kOutcomeHostGone : kOutcomeBusyTooLong);
      continue;
    }
    // One at a time, in the order they fell due.
    if (blocked || trySend(p) == Try::Wait) {
      blocked = true;
      ++i;
      continue;
    }
    // The send may have run other handlers: find the message again.
    auto it = std::find_if(pending_.begin(), pending_.end(),
                           [&](const Pending& q) { return q.line == p.line && q.since == p.since; });
    if (it != pending_.end()) i = static_cast<size_t>(it - pending_.begin()), pending_.erase(it);
  }
}

Agenda::Try Agenda::trySend(const Pending& p) {
  TransmitterGuard::Message m;
  m.origin = "agenda " + std::to_string(p.line);
  m.name = p.file;
  m.path = MessagePath(f_.caminho, p.file);
  if (IsTimeAnnouncement(p.file)) {
    // Always the minute it goes out in: one made for a minute that passed
    // while it waited is made again.
    const LocalTime t = s_.clock->localNow();
    const TimeAnnouncer::Status made = announcer_ ? announcer_->status(t.hour, t.minute) : TimeAnnouncer::Status{};
    if (!announcer_ || made.state == TimeAnnouncer::State::Refused) {
      record(p, CurrentModeName(c_), "recusada: " + (announcer_ ? made.problem : std::string("sem os arquivos da hora")));
      return Try::Done;
    }
    if (made.state != TimeAnnouncer::State::Ready) {
      if (made.state == TimeAnnouncer::State::Absent) announcer_->prepare(t.hour, t.minute);
      return Try::Wait;
    }
    m.path = made.path;
  }
  m.waited = std::chrono::duration_cast<std::chrono::seconds>(s_.clock->monotonic() - p.since).count();
  // An agenda message never cuts a playback short.
  m.waitForPlayback = true;
  m.requireFile = true;
  if (guard_.send(m) != TransmitterGuard::Hold::None) return Try::Wait;
  changed();
  return Try::Done;
}

void Agenda::record(const Pending& p, const std::string& mode, const std::string& outcome) {
  if (s_.record) s_.record->add("agenda " + std::to_string(p.line), p.file, mode, outcome);
  changed();
}

void Agenda::prepareHostCopies() {
  if (!s_.audio || c_.Check21->value() != 1) return;
  // Cheap while a copy is current: the source's size and time, looked up.
  for (const AgendaLine& line : file_.lines)
    if (line.kind == AgendaLine::Kind::Entry && line.entry.enabled && !IsTimeAnnouncement(line.entry.file))
      s_.audio->prepareHostCopy(MessagePath(f_.caminho, line.entry.file));
}

void Agenda::prepareAnnouncements(const LocalTime& now) {
  if (!announcer_) return;
  const LocalMinute next = MinuteOf(now) + 1;
  for (const AgendaLine& line : file_.lines) {
    if (line.kind != AgendaLine::Kind::Entry || !line.entry.enabled || !IsTimeAnnouncement(line.entry.file)) continue;
    if (NextDue(line.entry, next - 1) != next) continue;
    const int ofDay = static_cast<int>(((next % 1440) + 1440) % 1440);
    announcer_->prepare(ofDay / 60, ofDay % 60);
  }
}

void Agenda::changed() {
  for (auto& listener : listeners_) listener();
}

}  // namespace orv
