#include "scheduler/slot_actions.h"

#include "scheduler/message_path.h"
#include "scheduler/slot_file_name.h"

namespace orv {

SlotActions::SlotActions(FormControls& controls, FormServices& services, FormFields& fields,
                         SlotScheduler& scheduler, TransmitterGuard& guard, FilePicker& picker)
    : c_(controls), s_(services), f_(fields), scheduler_(scheduler), guard_(guard), picker_(picker) {}

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

bool SlotActions::listening() { return guard_.previewing(); }

void SlotActions::stopListening() { guard_.stopPreview(); }

void SlotActions::listen(int slot) {
  if (ended()) return;
  if (listening()) {
    stopListening();
    return;
  }
  const std::string name = c_.mens[slot]->text();
  if (name.find_first_not_of(" \t") == std::string::npos) return;
  std::string why;
  if (guard_.preview(MessagePath(f_.caminho, name), why)) return;
  if (why.empty()) why = "N\xC3\xA3o foi poss\xC3\xADvel tocar o arquivo " + name;
  s_.dialogs->show(why, kProgramName, MsgButtons::Ok, MsgIcon::Error);
}

namespace {

// Why "Enviar agora" sent nothing, in the operator's words; empty when the
// operator already knows (the program is ending).
std::string HeldMessage(TransmitterGuard::Hold hold) {
  using Hold = TransmitterGuard::Hold;
  switch (hold) {
    case Hold::HostBusy:
    case Hold::HostCalling: return "O EchoLink est\xC3\xA1 ocupado. A mensagem n\xC3\xA3o foi enviada.";
    case Hold::HostGone: return "O EchoLink est\xC3\xA1 desconectado. A mensagem n\xC3\xA3o foi enviada.";
    case Hold::NoMode: return "Nenhum modo de transmiss\xC3\xA3o est\xC3\xA1 marcado. A mensagem n\xC3\xA3o foi enviada.";
    case Hold::Stopped: return "Os envios est\xC3\xA3o parados pelo r\xC3\xA1" "dio. A mensagem n\xC3\xA3o foi enviada.";
    case Hold::CopyNotReady:
      return "A c\xC3\xB3pia do arquivo para o EchoLink ainda est\xC3\xA1 sendo preparada. Tente de novo em instantes.";
    default: return {};
  }
}

}  // namespace

bool SlotActions::sendNow(int slot) {
  if (ended()) return false;
  // The speakers may carry the message: a hearing must not play over it.
  stopListening();
  TransmitterGuard::Hold why = TransmitterGuard::Hold::None;
  if (scheduler_.sendNow(slot, &why)) return true;
  if (const std::string text = HeldMessage(why); !text.empty() && !ended())
    s_.dialogs->show(text, kProgramName, MsgButtons::Ok, MsgIcon::Information);
  return false;
}

}  // namespace orv
