#pragma once
// What the radio's commands do to the station, carried out by the main
// window. Every message goes onto the air through the transmitter's one
// way; the remote control only says what and when.
#include <string>

namespace orv {

class RemoteStation {
 public:
  virtual ~RemoteStation() = default;

  // Whether a message went out (or was tried and recorded by the sender),
  // or must be asked for again later: the host busy, a playback on the
  // air, the host gone.
  enum class Delivery { Done, Wait };

  // Unkey, stop any playback, hold every message until resume().
  virtual void stop() = 0;
  virtual void resume() = 0;
  // The caption and the system menu follow the stop.
  virtual void showStopped(bool stopped) = 0;

  // 0-based slots. The slot's message as "Enviar agora" sends it.
  virtual Delivery sendSlot(int slot) = 0;
  // A file of the program's own (the confirmation, the spoken time); the
  // record shows `name`, and how long it `waited` in seconds.
  // `despiteStop`: the stop's own confirmation.
  virtual Delivery sendFile(const std::string& name, const std::string& path, long long waited, bool despiteStop) = 0;
  virtual Delivery sendIdentification() = 0;

  // The slot's file box as typed.
  virtual std::string slotFile(int slot) = 0;
  virtual void switchSlotOff(int slot) = 0;
  // The check box's own arming, without its message boxes: empty when the
  // slot is on, otherwise why it is not.
  virtual std::string switchSlotOn(int slot) = 0;

  // "RF", "RF+IP", or empty with no mode ticked.
  virtual std::string modeName() = 0;
  // Where a message named as a slot names it is.
  virtual std::string messagePath(const std::string& name) = 0;
};

}  // namespace orv
