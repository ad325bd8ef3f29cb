#include "remote/remote_control.h"

#include "remote/dtmf_command.h"
#include "scheduler/transmission_record.h"

namespace orv {

namespace {

using namespace std::chrono_literals;
using Delivery = RemoteStation::Delivery;

// What a refused string is named in the record: nothing of what was keyed,
// which may hold the code or a near miss of it.
const std::string kNoName = "-";
// Longer than any message waits for a busy host.
constexpr std::chrono::milliseconds kLongestWait = 10min;

const std::string kOutcomeWrongCode = "recusado: c\xC3\xB3" "digo errado";
const std::string kOutcomeLocked = "bloqueado";
const std::string kOutcomeStopped = "recusado: parado pelo r\xC3\xA1" "dio";

char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool Blank(const std::string& s) { return s.find_first_not_of(" \t") == std::string::npos; }

}  // namespace

RemoteControl::RemoteControl(RemoteStation& station, FormServices& services, TimeAnnouncer* announcer)
    : station_(station), s_(services), announcer_(announcer) {
  timer_ = s_.timers->create([this] { work(); });
}

RemoteControl::~RemoteControl() = default;

void RemoteControl::load() {
  auto read = ReadControlFile(*s_.files, *s_.locale);
  file_ = read ? std::move(*read) : ControlFile{};
  if (file_.settings.stopped) {
    stopped_ = true;
    station_.stop();
    station_.showStopped(true);
  }
  changed();
}

void RemoteControl::reportRefusal() {
  if (file_.refused())
    s_.dialogs->show(ControlRefusalMessage(file_), kProgramName, MsgButtons::Ok, MsgIcon::Information, 0);
}

std::string RemoteControl::save(const ControlSettings& settings) {
  ControlSettings wanted = settings;
  wanted.stopped = stopped_;
  ControlFile next = WithSettings(file_, wanted);
  if (std::string error = SaveControlFile(*s_.files, next); !error.empty()) return error;
  file_ = std::move(next);
  changed();
  return {};
}

bool RemoteControl::onDtmf(const std::string& digits) {
  const ControlSettings& s = file_.settings;
  if (!s.enabled() || digits.empty() || Upper(digits[0]) != s.prefix) return false;
  if (waiting_.size() >= kRemoteQueueLimit) {
    record(kNoName, "recusado: comandos demais de uma vez");
    return true;
  }
  waiting_.push_back(digits);
  work();
  return true;
}

void RemoteControl::work() {
  // A string that arrives while a send is under way (a call to the host
  // lets its events in) waits here and is handled right after that send,
  // before the next one: a stop is never kept behind the queue it empties.
  if (working_) return;
  working_ = true;
  do {
    while (!waiting_.empty()) {
      const std::string next = std::move(waiting_.front());
      waiting_.pop_front();
      handle(next);
    }
    sendWaiting();
  } while (!waiting_.empty());
  working_ = false;
  if (outbox_.empty()) timer_->stop();
  else if (!timer_->running()) timer_->start(1s);
}

void RemoteControl::handle(const std::string& digits) {
  const auto now = s_.clock->monotonic();
  if (lockout_.locked(now)) return record(kNoName, kOutcomeLocked);
  // The settings may have changed while this string waited.
  const ControlSettings& s = file_.settings;
  if (!s.enabled()) return;
  const DtmfReading r = ReadDtmfCommand(digits, s.prefix, s.code);
  switch (r.kind) {
    case DtmfReading::Kind::NotForUs: return;
    case DtmfReading::Kind::WrongCode:
      return record(kNoName, lockout_.wrongCode(now) ? kOutcomeWrongCode + "; bloqueado por 15 min" : kOutcomeWrongCode);
    case DtmfReading::Kind::NoCommand: return record(kNoName, "recusado: sem comando");
    case DtmfReading::Kind::Unknown: return record(kNoName, "recusado: comando desconhecido");
    case DtmfReading::Kind::OutOfRange: return record(kNoName, "recusado: slot fora de 1 a 9");
    case DtmfReading::Kind::Command: return run(r.command);
  }
}

void RemoteControl::run(const RemoteCommand& c) {
  const std::string name = CommandName(c);
  if (stopped_ && c.kind != CommandKind::Stop && c.kind != CommandKind::Resume) return record(name, kOutcomeStopped);
  const int slot = c.slot - 1;
  switch (c.kind) {
    case CommandKind::Stop:
      stopNow(name);
      break;
    case CommandKind::Resume: {
      const std::string problem = stopped_ ? resumeNow() : "";
      record(name, problem.empty() ? kOutcomeAccepted : kOutcomeAccepted + "; " + problem);
      break;
    }
    case CommandKind::SendSlot:
      if (Blank(station_.slotFile(slot))) return record(name, "recusado: slot " + std::to_string(c.slot) + " sem arquivo");
      if (!enqueue({Outgoing::Kind::Slot, name, slot})) return;
      record(name, kOutcomeAccepted);
      break;
    case CommandKind::SlotOff:
      station_.switchSlotOff(slot);
      record(name, kOutcomeAccepted);
      break;
    case CommandKind::SlotOn:
      if (const std::string why = station_.switchSlotOn(slot); !why.empty()) return record(name, "recusado: " + why);
      record(name, kOutcomeAccepted);
      break;
    case CommandKind::SpeakTime:
      if (!announcer_) return record(name, "recusado: sem os arquivos da hora");
      if (!enqueue({Outgoing::Kind::Time, name})) return;
      record(name, kOutcomeAccepted);
      break;
    case CommandKind::Identification:
      if (!enqueue({Outgoing::Kind::Identification, name})) return;
      record(name, kOutcomeAccepted);
      break;
  }
  confirm(c.kind == CommandKind::Stop);
}

void RemoteControl::stopNow(const std::string& name) {
  station_.stop();
  // Nothing that was waiting goes out after the brake, not even later.
  for (const Outgoing& o : outbox_) record(o.name, "n\xC3\xA3o enviada: parado pelo r\xC3\xA1" "dio");
  outbox_.clear();
  const bool wasStopped = stopped_;
  stopped_ = true;
  const std::string problem = wasStopped ? "" : persistStopped(true);
  station_.showStopped(true);
  record(name, problem.empty() ? kOutcomeAccepted : kOutcomeAccepted + "; " + problem);
  changed();
}

std::string RemoteControl::resumeNow() {
  station_.resume();
  stopped_ = false;
  const std::string problem = persistStopped(false);
  station_.showStopped(false);
  changed();
  return problem;
}

void RemoteControl::resumeFromMenu() {
  if (!stopped_) return;
  if (const std::string problem = resumeNow(); !problem.empty())
    s_.dialogs->show("Os envios foram retomados, mas " + problem + ".", kProgramName, MsgButtons::Ok,
                     MsgIcon::Information, 0);
}

std::string RemoteControl::persistStopped(bool stopped) {
  if (file_.settings.stopped == stopped) return {};
  ControlFile next = WithStopped(file_, stopped);
  if (const std::string error = SaveControlFile(*s_.files, next); !error.empty())
    return stopped ? "n\xC3\xA3o ficou gravado para o rein\xC3\xAD" "cio" : "o arquivo ainda diz parado";
  file_ = std::move(next);
  return {};
}

bool RemoteControl::enqueue(Outgoing o) {
  if (outbox_.size() >= kRemoteQueueLimit) {
    record(o.name, "recusado: fila cheia");
    return false;
  }
  o.since = s_.clock->monotonic();
  if (o.kind == Outgoing::Kind::Time) {
    // Made now, so it is ready once the air is free.
    const LocalTime t = s_.clock->localNow();
    announcer_->prepare(t.hour, t.minute);
  }
  outbox_.push_back(std::move(o));
  return true;
}

void RemoteControl::confirm(bool despiteStop) {
  const std::string& name = file_.settings.confirmation;
  if (Blank(name)) return;
  Outgoing o{Outgoing::Kind::File, name};
  o.path = station_.messagePath(name);
  o.despiteStop = despiteStop;
  enqueue(std::move(o));
}

void RemoteControl::sendWaiting() {
  while (!outbox_.empty() && waiting_.empty()) {
    if (deliver(outbox_.front()) == Delivery::Wait) break;
    outbox_.pop_front();
  }
}

Delivery RemoteControl::deliver(const Outgoing& o) {
  if (stopped_ && !o.despiteStop) return Delivery::Done;
  const auto age = s_.clock->monotonic() - o.since;
  const long long waited = std::chrono::duration_cast<std::chrono::seconds>(age).count();
  if (age >= kLongestWait) {
    record(o.name, kOutcomeBusyTooLong);
    return Delivery::Done;
  }
  switch (o.kind) {
    case Outgoing::Kind::Slot: return station_.sendSlot(o.slot);
    case Outgoing::Kind::File: return station_.sendFile(o.name, o.path, waited, o.despiteStop);
    case Outgoing::Kind::Identification: return station_.sendIdentification();
    case Outgoing::Kind::Time: {
      // Always the minute it goes out in: one made for a minute that has
      // passed while the host was busy is made again.
      const LocalTime t = s_.clock->localNow();
      const TimeAnnouncer::Status made = announcer_->status(t.hour, t.minute);
      switch (made.state) {
        case TimeAnnouncer::State::Absent: announcer_->prepare(t.hour, t.minute); return Delivery::Wait;
        case TimeAnnouncer::State::Making: return Delivery::Wait;
        case TimeAnnouncer::State::Refused: record(o.name, "recusada: " + made.problem); return Delivery::Done;
        case TimeAnnouncer::State::Ready: return station_.sendFile(o.name, made.path, waited, false);
      }
    }
  }
  return Delivery::Done;
}

void RemoteControl::record(const std::string& name, const std::string& outcome) {
  if (!s_.record) return;
  const std::string mode = station_.modeName();
  s_.record->add(kRemoteOrigin, name, mode.empty() ? "RF" : mode, outcome);
}

std::string RemoteControl::maskForLog(const std::string& digits) const {
  if (!s_.files->exists(kControlFileName)) return digits;
  const char prefix = file_.settings.prefix;
  return MaskDtmfForLog(digits, prefix ? std::optional<char>(prefix) : std::nullopt);
}

void RemoteControl::changed() {
  for (auto& listener : listeners_) listener();
}

}  // namespace orv
