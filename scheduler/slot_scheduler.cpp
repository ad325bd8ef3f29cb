#include "scheduler/slot_scheduler.h"

#include "audio/message_audio.h"
#include "scheduler/existe_arquivo.h"
#include "scheduler/message_path.h"
#include "scheduler/message_file_tip.h"
#include "scheduler/number_readings.h"

namespace orv {

namespace {

// A name that can only be matched by listing a folder or by a pattern names
// no one file: it must not pass the file test.
bool NamesOneFile(const std::string& name) {
  if (name.find_first_not_of(" \t") == std::string::npos) return false;
  if (name.find_first_of("*?") != std::string::npos) return false;
  const char last = name.back();
  return last != '\\' && last != '/';
}

}  // namespace

SlotScheduler::SlotScheduler(FormControls& controls, FormServices& services, FormFields& fields,
                             TransmitterGuard& guard)
    : c_(controls), s_(services), f_(fields), guard_(guard) {
  for (int i = 0; i < kSlotCount; ++i) slots_[i].timer = s_.timers->create([this, i] { onTimer(i); });
}

SlotScheduler::~SlotScheduler() = default;

void SlotScheduler::stopAllTimers() {
  for (auto& s : slots_) {
    s.timer->stop();
    s.period = Millis(0);
  }
}

void SlotScheduler::armAtStartup() {
  for (int i = 0; i < kSlotCount; ++i) {
    if (c_.mens[i]->text().empty()) continue;
    const std::string interval = c_.cont[i]->text();
    // A missing interval line arms nothing; any other non-zero text goes to
    // arming, whose message tells the user what is wrong with it.
    if (interval.find_first_not_of(" \t") == std::string::npos) continue;
    const auto value = NumericValue(interval, *s_.locale);
    if (value && *value == 0) continue;
    setSlotCheck(i, 1);
  }
}

bool SlotScheduler::ticked(int slot) const { return c_.Check[slot]->value() == 1; }

void SlotScheduler::setSlotCheck(int slot, int value) {
  if (c_.Check[slot]->value() == value) return;
  c_.Check[slot]->setValue(value);
  onSlotCheckChanged(slot);
}

void SlotScheduler::onSlotCheckChanged(int slot) {
  Slot& s = slots_[slot];
  if (!ticked(slot)) {
    // The timer keeps running and the label keeps its text; ticks now do nothing.
    if (s.armed) {
      s.armed = false;
      ++s.generation;
    }
    return;
  }
  arm(slot);
}

std::string SlotScheduler::armFromRadio(int slot) {
  std::string refusal;
  quietRefusal_ = &refusal;
  setSlotCheck(slot, 1);
  quietRefusal_ = nullptr;
  return refusal;
}

void SlotScheduler::message(const std::string& text) {
  if (quietRefusal_) {
    *quietRefusal_ = text;
    return;
  }
  s_.dialogs->show(text, kProgramName, MsgButtons::Ok, MsgIcon::None);
}

void SlotScheduler::arm(int slot) {
  Slot& s = slots_[slot];
  // Whatever ran before stops counting now: behind a refusal message the
  // ticked box must not let the old countdown send.
  s.armed = false;
  ++s.generation;
  s.waitingSince = Millis(-1);

  const auto seconds = IntervalSeconds(c_.cont[slot]->text());
  if (!seconds) {
    message("Entre com o valor em segundos");
    setSlotCheck(slot, 0);
    return;
  }
  s.count = *seconds;
  showCount(slot, true);

  const std::string name = c_.mens[slot]->text();
  if (!NamesOneFile(name) || !ExisteArquivo(MessagePath(f_.caminho, name))) {
    message("O arquivo não Existe!");
    setSlotCheck(slot, 0);
    return;
  }
  if (s_.audio) {
    const AudioFileInfo info = s_.audio->inspect(MessagePath(f_.caminho, name));
    if (info.error != AudioError::None) {
      message("O arquivo não pode ser tocado: " + AudioErrorReason(info.error));
      setSlotCheck(slot, 0);
      return;
    }
  }

  s.armed = true;
  ++s.generation;
  s.armedAt = s_.clock->monotonic();
  s.ticksDone = 0;
  s.interval = *seconds;
  startTimer(slot, kTick);
  showCount(slot, true);
  keepHostCopyReady(slot);
}

void SlotScheduler::keepHostCopyReady(int slot) {
  if (!s_.audio || c_.Check21->value() != 1 || !slotArmed(slot)) return;
  const std::string name = c_.mens[slot]->text();
  if (!NamesOneFile(name)) return;
  // Cheap when the copy is current: the source's size and time, looked up.
  s_.audio->prepareHostCopy(MessagePath(f_.caminho, name));
}

std::string SlotScheduler::fileTip(int slot) {
  const std::string name = c_.mens[slot]->text();
  if (!s_.audio || name.find_first_not_of(" \t") == std::string::npos) return "";
  const std::string path = MessagePath(f_.caminho, name);
  const bool found = NamesOneFile(name) && ExisteArquivo(path);
  return MessageFileTip(found ? s_.audio->inspect(path) : AudioFileInfo{}, found);
}

bool SlotScheduler::ExisteArquivo(const std::string& path) { return orv::ExisteArquivo(*s_.files, path); }

void SlotScheduler::onModeCheckChanged(int which) {
  if (which == 20)
    setModeCheck(21, 0);
  else if (which == 21)
    setModeCheck(20, 0);
  // Switched to RF + IP: the copies are made now, before any slot sends.
  if (which == 21 && c_.Check21->value() == 1)
    for (int i = 0; i < kSlotCount; ++i) keepHostCopyReady(i);
}

void SlotScheduler::setModeCheck(int which, int value) {
  CheckWidget* box = which == 20 ? c_.Check20 : which == 21 ? c_.Check21 : nullptr;
  if (!box || box->value() == value) return;
  box->setValue(value);
  onModeCheckChanged(which);
}

bool SlotScheduler::slotTimerRunning(int slot) const { return slots_[slot].timer->running(); }
bool SlotScheduler::slotArmed(int slot) const { return slots_[slot].armed && ticked(slot); }

}  // namespace orv
