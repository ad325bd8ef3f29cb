#include "scheduler/main_form.h"

#include <cmath>

#include "scheduler/number_readings.h"

namespace orv {

std::string CaptionFor(const std::string& stationName) { return " Orvalen   " + stationName; }
std::string CaptionWhileHostGone(const std::string& stationName) {
  return CaptionFor(stationName) + " - EchoLink desconectado";
}

namespace {
// A host that is not there cannot be unkeyed or told goodbye, and stopping
// with an error for it helps nobody: the ending paths go on as if it had
// answered. A host that answers with an error still stops them.
bool Failed(const HostReply& r) { return !r.ok && !r.gone; }
}  // namespace

MainForm::MainForm(FormControls& controls, FormServices& services, FormHooks hooks)
    : controls_(controls),
      services_(services),
      hooks_(std::move(hooks)),
      transmission_(controls, services),
      guard_(controls, services, fields_, transmission_),
      scheduler_(controls, services, fields_, guard_),
      slotList_(controls, services),
      dtmf_(controls, guard_) {
  transmission_.onPlaybackEnd([this] { guard_.onPlaybackEnd(); });
}

MainForm::~MainForm() {
  if (services_.EchoLink) services_.EchoLink->setEventSink(nullptr);
}

bool MainForm::Load(std::string& error) {
  Host& host = *services_.EchoLink;
  // The folder comes first so that the file test, the host transmission and
  // the local playback all look for a slot's file in the same place, even
  // when the program is started from another directory.
  std::string folder = services_.files->programFolder();
  fields_.caminho = (!folder.empty() && folder.back() == '\\') ? folder : folder + "\\";

  host.setEventSink(this);
  auto station = host.stationName();
  if (!station.ok) {
    error = station.error;
    return false;
  }
  station_ = station.value;
  showCaption(CaptionFor(station_));

  if (auto r = guard_.release(); !r.ok) {
    error = r.error;
    return false;
  }

  // The bar takes the manual volume; its change handling writes it back.
  if (auto v = NumericValue(controls_.VolSet4->text(), *services_.locale)) {
    controls_.V4->setValue(static_cast<int>(std::lround(*v)));
  }
  transmission_.onVolumeChanged();

  scheduler_.stopAllTimers();
  // Everything that runs on its own is running before the first message
  // box can wait for an operator who is not there.
  transmission_.start();
  guard_.start();
  scheduler_.setModeCheck(20, 1);
  if (hooks_.startClocks) hooks_.startClocks();
  if (ended()) return true;
  slotList_.readAtStartup();
  if (ended()) return true;
  if (!slotList_.unreadable()) scheduler_.armAtStartup();
  return true;
}

void MainForm::onSlotCheckClicked(int slot) {
  if (!ended()) scheduler_.onSlotCheckChanged(slot);
}

void MainForm::onModeCheckClicked(int which) {
  if (!ended()) scheduler_.onModeCheckChanged(which);
}

void MainForm::onVolumeChanged() {
  if (!ended()) transmission_.onVolumeChanged();
}

void MainForm::onPositionScroll(int value) {
  if (!ended()) transmission_.onPositionScroll(value);
}

void MainForm::onButtonClick(FormButton button) {
  if (ended()) return;
  switch (button) {
    case FormButton::Gravar: slotList_.save(); break;
    case FormButton::Ler: slotList_.readOnRequest(); break;
    case FormButton::Ajuda: if (hooks_.showHelp) hooks_.showHelp(); break;
    case FormButton::Sobre: if (hooks_.showAbout) hooks_.showAbout(); break;
    case FormButton::Sair: EndByUser(); break;
  }
}

bool MainForm::onCloseRequest() {
  if (ended()) return false;
  // A second close request while the question is open (Alt+F4 twice, the
  // session ending) must not stack a second question on the first.
  if (asking_) return true;
  asking_ = true;
  MsgResult answer =
      services_.dialogs->show(kCloseQuestion, kCloseTitle, MsgButtons::YesNo, MsgIcon::Question, 0);
  asking_ = false;
  if (ended()) return false;  // the host closed while the question was open
  if (answer != MsgResult::Yes) return true;
  EndByUser();
  return false;
}

void MainForm::EndByUser() {
  controls_.PTT->setText("PTT OFF");
  if (auto r = guard_.endRelease(); Failed(r)) return Fatal(r.error);
  if (auto r = guard_.endSignal(); Failed(r)) return Fatal(r.error);
  End(0);
}

void MainForm::onClosing() {
  if (ended()) return;
  if (auto r = guard_.endRelease(); Failed(r)) return Fatal(r.error);
  End(0);
}

void MainForm::onUnload() {
  if (ended()) return;
  if (auto r = guard_.release(); Failed(r)) Fatal(r.error);
}

void MainForm::onSessionEnd() {
  if (ended()) return;
  // Nobody may be there to answer the close question: the radio must not be
  // left keyed by a restart for updates. Failures are not shown; there is no
  // time left to show them.
  controls_.PTT->setText("PTT OFF");
  guard_.endRelease();
  guard_.endSignal();
  End(0);
}

void MainForm::onDtmfString(const std::string& digits) {
  if (ended() || fields_.failing) return;
  if (!dtmf_.matches(digits)) {
    if (hooks_.otherDtmf) hooks_.otherDtmf(digits);
    return;
  }
  if (auto r = dtmf_.onDtmfString(digits); Failed(r)) Fatal(r.error);
}

void MainForm::showStoppedFromRadio(bool stopped) {
  stoppedFromRadio_ = stopped;
  if (!caption_.empty()) showCaption(caption_);
}

void MainForm::showCaption(const std::string& caption) {
  caption_ = caption;
  controls_.Caption->setText(stoppedFromRadio_ ? caption + kStoppedCaptionSuffix : caption);
}

void MainForm::onHostLost(const std::string&) {
  if (ended()) return;
  // Nobody keys the radio now: a local playback stops, and the indicator
  // says what the transmitter is doing, which is nothing.
  guard_.release();
  showCaption(CaptionWhileHostGone(station_));
}

void MainForm::onHostBack(const std::string& stationName) {
  if (ended()) return;
  station_ = stationName;
  guard_.onHostBack();
  showCaption(CaptionFor(station_));
}

void MainForm::End(int exitCode) {
  if (ended()) return;
  services_.EchoLink->setEventSink(nullptr);
  services_.app->quit(exitCode);
  if (hooks_.onEnd) hooks_.onEnd();
}

void MainForm::Fatal(const std::string& error) {
  if (ended() || fields_.failing) return;
  // Whatever failed, the transmitter must not stay keyed behind us, nor be
  // keyed again by a slot falling due while the box waits for its OK.
  guard_.fail();
  services_.dialogs->show("O Orvalen encontrou um erro e ser\xC3\xA1 encerrado:\r\n\r\n" + error, kProgramName,
                          MsgButtons::Ok, MsgIcon::Error, 0);
  if (!ended()) guard_.release();
  End(1);
}

}  // namespace orv
