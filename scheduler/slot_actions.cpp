#include "scheduler/slot_actions.h"

#include "scheduler/message_path.h"
#include "scheduler/slot_file_name.h"

namespace orv {

SlotActions::SlotActions(FormControls& controls, FormServices& services, FormFields& fields,
                         SlotScheduler& scheduler, FilePicker& picker)
    : c_(controls), s_(services), f_(fields), scheduler_(scheduler), picker_(picker) {}

SlotActions::~SlotActions() = default;

void SlotActions::browse(int slot) {
  if (ended()) return;
  auto chosen = picker_.pickAudioFile(f_.caminho);
  // The dialog runs the message loop: the program may have ended behind it.
  if (!chosen || chosen->empty() || ended()) return;
  c_.mens[slot]->setText(SlotFileName(f_.caminho, *chosen));
}

void SlotActions::filesDropped(int slot, const std::vector<std::string>& paths) {
  if (ended()) return;
  for (const auto& p : paths) {
    if (!IsWavName(p)) continue;
    c_.mens[slot]->setText(SlotFileName(f_.caminho, p));
    return;
  }
}

bool SlotActions::listening() {
  if (!preview_) return false;
  // A hearing that reached its end is over, so the next "Ouvir" plays again.
  const auto length = preview_->duration();
  const auto at = preview_->currentPosition();
  if (length && at && *at >= *length) {
    preview_.reset();
    return false;
  }
  return true;
}

void SlotActions::stopListening() { preview_.reset(); }

void SlotActions::listen(int slot) {
  if (ended()) return;
  if (listening()) {
    stopListening();
    return;
  }
  const std::string name = c_.mens[slot]->text();
  if (name.find_first_not_of(" \t") == std::string::npos) return;
  auto graph = s_.playback->create();
  if (!graph || !graph->renderFile(MessagePath(f_.caminho, name)) || !graph->run()) {
    s_.dialogs->show("N\xC3\xA3o foi poss\xC3\xADvel tocar o arquivo " + name, kProgramName, MsgButtons::Ok,
                     MsgIcon::Error);
    return;
  }
  preview_ = std::move(graph);
}

bool SlotActions::sendNow(int slot) {
  if (ended()) return false;
  // The speakers carry the message in "RF  -": a hearing must not play over it.
  if (c_.Check20->value() == 1) stopListening();
  return scheduler_.sendNow(slot);
}

}  // namespace orv
