#include "agenda/agenda.h"

#include <algorithm>

#include "audio/message_audio.h"
#include "scheduler/host_copy_path.h"
#include "scheduler/message_path.h"
#include "scheduler/message_send.h"

namespace orv {

using namespace std::chrono_literals;

Agenda::Agenda(FormControls& controls, FormServices& services, FormFields& fields, LocalPlayer& player)
    : c_(controls), s_(services), f_(fields), player_(player) {}

Agenda::~Agenda() = default;

void Agenda::load() {
  file_ = ReadAgendaFile(*s_.files, *s_.locale);
  lastDue_.assign(file_.lines.size(), std::nullopt);
  if (const std::string problems = UnreadableLinesMessage(file_); !problems.empty())
    s_.dialogs->show(problems, kProgramName, MsgButtons::Ok, MsgIcon::Information, 0);
  const LocalTime now = s_.clock->localNow();
  seen_ = MinuteOf(now);
  if (!timer_) timer_ = s_.timers->create([this] { tick(); });
  prepareHostCopies();
  restart(now);
}

std::string Agenda::save(AgendaFile file) {
  if (std::string error = SaveAgendaFile(*s_.files, *s_.locale, file); !error.empty()) return error;
  file_ = std::move(file);
  // What falls due from now on counts; nothing already past is sent for the
  // new lines.
  lastDue_.assign(file_.lines.size(), std::nullopt);
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
  // Second 30 is half a minute from any due time: the host's copies are made
  // then, never on the tick that sends.
  if (now.second == 30 && pending_.empty()) prepareHostCopies();
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
      if (!ShouldTake(line.entry, *due, now, lastDue_[i], s_.clock->monotonic())) continue;
      lastDue_[i] = DueTaken{*due, s_.clock->monotonic()};
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
  Host& host = *s_.EchoLink;
  // An agenda message never cuts a playback short.
  // A call to the host still waiting further up is not joined by a second.
  if (host.calling() || HostGone(host) || player_.playing() || HostBusy(host)) return Try::Wait;
  const std::string mode = CurrentModeName(c_);
  if (mode.empty()) return Try::Wait;

  const long long waited =
      std::chrono::duration_cast<std::chrono::seconds>(s_.clock->monotonic() - p.since).count();
  const std::string path = MessagePath(f_.caminho, p.file);
  if (!s_.files->exists(path)) {
    record(p, mode, kOutcomeMissingFile);
    return Try::Done;
  }
  if (mode == "RF") {
    f_.arquivoAtual = p.file;
    player_.TOCA();
    record(p, mode, player_.playing() ? SentAfterWaitOutcome(waited) : kOutcomeUnplayable);
  } else {
    const HostReply reply = SendToHost(c_, host, HostCopyPath(s_.audio, path));
    record(p, mode, reply.ok ? SentAfterWaitOutcome(waited) : HostFailedOutcome(reply.error));
  }
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
    if (line.kind == AgendaLine::Kind::Entry && line.entry.enabled)
      s_.audio->prepareHostCopy(MessagePath(f_.caminho, line.entry.file));
}

void Agenda::changed() {
  for (auto& listener : listeners_) listener();
}

}  // namespace orv
