#pragma once
// What the operator does to one slot row besides typing: choosing its file
// in the Open dialog or by dropping one, hearing the file on the computer's
// speakers, and sending the slot's message at once.
#include <memory>
#include <string>
#include <vector>

#include "platform/file_picker.h"
#include "scheduler/form_controls.h"
#include "scheduler/slot_scheduler.h"

namespace orv {

class SlotActions {
 public:
  SlotActions(FormControls& controls, FormServices& services, FormFields& fields, SlotScheduler& scheduler,
              TransmitterGuard& guard, FilePicker& picker);
  SlotActions(const SlotActions&) = delete;
  SlotActions& operator=(const SlotActions&) = delete;
  ~SlotActions();

  // "Procurar...": `slot` is 0-based.
  void browse(int slot);
  // Files dropped on the row: the first WAV file among them fills the box.
  void filesDropped(int slot, const std::vector<std::string>& paths);

  // "Ouvir": plays the slot's file on the sound output only. The transmitter,
  // the progress group and the schedule are not touched. While a hearing
  // plays, the same command stops it ("Parar"). Refused, with a message,
  // while a message is on the air; messages that fall due wait for it.
  void listen(int slot);
  void stopListening();
  bool listening();

  // "Enviar agora": false, with a message saying why, when nothing went out.
  bool sendNow(int slot);

 private:
  bool ended() const { return s_.app->quitting(); }

  FormControls& c_;
  FormServices& s_;
  FormFields& f_;
  SlotScheduler& scheduler_;
  TransmitterGuard& guard_;
  FilePicker& picker_;
};

}  // namespace orv
