// orvalen.exe: parses the command line, connects to the host, opens the main
// window and runs the message loop until the program ends.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "agenda/agenda.h"
#include "agenda/win/agenda_windows.h"
#include "announce/time_announcer.h"
#include "app/command_line.h"
#include "app/startup_message.h"
#include "app/win/app_windows.h"
#include "audio/message_audio.h"
#include "audio/win/media_foundation_decoder.h"
#include "audio/win/win_audio_files.h"
#include "buttons/win/kw_button_control.h"
#include "host/host_link.h"
#include "host/logging_host.h"
#include "host/simulated_host.h"
#include "host/win/com_host.h"
#include "host/win/simulator_window.h"
#include "platform/win/decor.h"
#include "platform/win/scoped.h"
#include "platform/win/services.h"
#include "platform/win/text.h"
#include "platform/win/win_worker.h"
#include "remote/control_texts.h"
#include "remote/form_station.h"
#include "remote/remote_control.h"
#include "remote/win/control_window.h"
#include "scheduler/main_form.h"
#include "scheduler/slot_actions.h"
#include "scheduler/win/directshow_playback.h"
#include "scheduler/win/open_audio_dialog.h"
#include "scheduler/win/form1_window.h"

using namespace orv;
using namespace orv::win;

namespace {

std::vector<std::string> Arguments() {
  int argc = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) args.push_back(Narrow(argv[i]));
  LocalFree(argv);
  return args;
}

// --help and --version print to the console that started us, or show a box.
void Say(const std::string& text, UINT icon) {
  HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
  if (AttachConsole(ATTACH_PARENT_PROCESS)) out = GetStdHandle(STD_OUTPUT_HANDLE);
  DWORD written = 0;
  std::string line = text + "\r\n";
  if (out && out != INVALID_HANDLE_VALUE && WriteFile(out, line.data(), static_cast<DWORD>(line.size()), &written, nullptr))
    return;
  MessageBoxW(nullptr, Widen(text).c_str(), L"Orvalen", MB_OK | icon);
}

int RunMessageLoop(const std::function<std::vector<HWND>()>& dialogLike) {
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (buttons::win::KwButtonPreTranslate(msg)) continue;
    bool handled = false;
    for (HWND w : dialogLike()) {
      if (w && IsWindow(w) && IsDialogMessageW(w, &msg)) {
        handled = true;
        break;
      }
    }
    if (!handled) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
  return static_cast<int>(msg.wParam);
}

// The main window and the simulator side by side, the pair centred.
void PlacePair(HWND main, HWND beside) {
  RECT a, b;
  GetWindowRect(main, &a);
  GetWindowRect(beside, &b);
  MONITORINFO mi{sizeof mi};
  GetMonitorInfoW(MonitorFromWindow(main, MONITOR_DEFAULTTONEAREST), &mi);
  const int gap = 8;
  const int total = (a.right - a.left) + gap + (b.right - b.left);
  int x = mi.rcWork.left + ((mi.rcWork.right - mi.rcWork.left) - total) / 2;
  if (x < mi.rcWork.left) x = mi.rcWork.left;
  SetWindowPos(main, nullptr, x, a.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  SetWindowPos(beside, nullptr, x + (a.right - a.left) + gap, a.top, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  CommandLine cl = ParseCommandLine(Arguments());
  if (!cl.error.empty()) {
    Say(cl.error + "\r\n\r\n" + UsageText(), MB_ICONERROR);
    return 2;
  }
  if (cl.help) { Say(UsageText(), MB_ICONINFORMATION); return 0; }
  if (cl.version) { Say(VersionText(), MB_ICONINFORMATION); return 0; }

  ComApartment apartment;
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_STANDARD_CLASSES | ICC_BAR_CLASSES | ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&icc);

  WinClock clock;
  WinTimerService timers;
  WinDialogs dialogs;
  WinFileSystem files;
  WinLocale locale;
  WinAppControl app;
  timers.setGate([&] { return !app.quitting(); });
  // The animations' frames share the program's wake-ups.
  AnimationTimers animationTimers(timers);
  DirectShowPlayback playback;
  WinAudioFiles audioFiles;
  MediaFoundationDecoder decoder;
  // Reads and converts messages' sound; ends (stopping any conversion)
  // before the files and the decoder it uses go.
  WinWorker worker;
  MessageAudio audio(audioFiles, &decoder, worker);
  // Ahead of every copy the slots and the agenda will ask for.
  audio.tidyCache();
  // The spoken time is made on a worker of its own, so a long conversion
  // never makes it late, with files and decoders of its own.
  WinAudioFiles announceFiles;
  MediaFoundationDecoder announceDecoder;
  WinWorker announceWorker;
  TimeAnnouncer announcer(announceWorker, announceFiles, &announceDecoder);

  // The host: the real one by its class, or the simulator in this process.
  std::unique_ptr<SimulatedHost> simulated;
  ComHostConnector connector;
  std::unique_ptr<HostLink> link;
  std::string eventsError;
  Host* host = nullptr;
  if (cl.host == HostKind::Simulator) {
    simulated = std::make_unique<SimulatedHost>(&clock);
    host = simulated.get();
  } else {
    ComHostCreation created = CreateComHost();
    if (!created.host) {
      dialogs.show(StartupFailureText(created.error), kProgramName, MsgButtons::Ok, MsgIcon::Error, 0);
      return 3;
    }
    // A host whose events cannot be connected still serves every call; only
    // DTMF and its closing go unheard, which is not worth refusing to run,
    // but is worth saying.
    eventsError = created.eventsError;
    link = std::make_unique<HostLink>(std::move(created.host), connector, timers);
    host = link.get();
  }
  std::unique_ptr<LoggingHost> logged;
  if (!cl.hostLog.empty()) {
    logged = std::make_unique<LoggingHost>(*host, clock, cl.hostLog);
    host = logged.get();
    if (!eventsError.empty()) logged->note("host events not connected: " + eventsError);
  }

  UniqueIcon appIcon(static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(1), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE)));
  Form1Window window;
  AppWindows windows(instance, window);
  windows.InstallButtons();
  if (!window.Create(appIcon.get())) return 4;
  dialogs.setOwner(window.hwnd());

  FormServices services;
  services.EchoLink = host;
  services.timers = &timers;
  services.dialogs = &dialogs;
  services.clock = &clock;
  services.files = &files;
  services.playback = &playback;
  services.locale = &locale;
  services.app = &app;
  // The record is kept for the session; the file only when asked for.
  TransmissionRecord record(clock);
  if (!cl.recordLog.empty()) record.appendTo(OpenRecordLog(cl.recordLog));
  services.record = &record;
  services.audio = &audio;

  FormHooks hooks;
  hooks.showHelp = [&] { windows.ShowHelp(); };
  hooks.showAbout = [&] { windows.ShowAbout(); };
  hooks.onEnd = [&] { window.Detach(); };
  Agenda* agendaToStart = nullptr;   // made below: it sends through the form's guard
  RemoteControl* remoteToStart = nullptr;
  const FormFields* fieldsAtStart = nullptr;
  hooks.startClocks = [&] {
    if (fieldsAtStart) announcer.setProgramFolder(fieldsAtStart->caminho);
    // A station stopped from the radio is stopped again before anything of
    // its own can go out.
    if (remoteToStart) remoteToStart->load();
    if (agendaToStart) agendaToStart->load();
    if (remoteToStart) remoteToStart->reportRefusal();
  };
  hooks.otherDtmf = [&](const std::string& digits) {
    if (remoteToStart) remoteToStart->onDtmf(digits);
  };
  MainForm form(window.controls(), services, std::move(hooks));
  fieldsAtStart = &form.fields();
  window.SetEvents(&form);
  WinAudioFilePicker picker(window.hwnd());
  SlotActions slotActions(window.controls(), services, form.fields(), form.scheduler(), form.guard(), picker);
  window.SetSlotActions(&slotActions);
  Agenda agenda(window.controls(), services, form.fields(), form.guard());
  agenda.setTimeAnnouncer(&announcer);
  agendaToStart = &agenda;
  size_t resumeItem = 0;
  FormStation station(window.controls(), form.fields(), form.guard(), form.scheduler(), [&](bool stopped) {
    form.showStoppedFromRadio(stopped);
    window.ShowSystemMenuItem(resumeItem, stopped);
  });
  RemoteControl remote(station, services, &announcer);
  remoteToStart = &remote;
  // The access code never reaches the host log.
  if (logged) logged->setDtmfMask([&remote](const std::string& digits) { return remote.maskForLog(digits); });
  ControlWindow controlWindow({window.hwnd(), appIcon.get(), &remote, &services, &form.fields()});
  AgendaWindows agendaWindows({window.hwnd(), appIcon.get(), &agenda, &record, &window.controls(), &services,
                               &form.fields(), [&](int slot) { return form.scheduler().slotArmed(slot); }});
  window.AddSystemMenuItem(L"Agenda...", [&] { agendaWindows.ShowAgenda(); });
  window.AddSystemMenuItem(L"Registro de transmiss\u00f5es...", [&] { agendaWindows.ShowRecord(); });
  window.AddSystemMenuItem(Widen(kControlMenuItem).c_str(), [&] { controlWindow.Show(); });
  resumeItem = window.AddSystemMenuItem(Widen(kResumeMenuItem).c_str(), [&] { remote.resumeFromMenu(); });
  window.ShowSystemMenuItem(resumeItem, false);

  std::unique_ptr<SimulatorWindow> simWindow;
  std::string error;
  if (!form.Load(error)) {
    window.Detach();
    dialogs.show(StartupFailureText(error), kProgramName, MsgButtons::Ok, MsgIcon::Error, 0);
    return 3;
  }
  if (!app.quitting()) {
    window.Show();
    // The simulator's window comes once the main window is up and answering:
    // the first timer tick after the loop starts, behind the first paints.
    std::unique_ptr<Timer> simulatorLater;
    if (simulated) {
      simulatorLater = timers.create([&] {
        simulatorLater->stop();
        simWindow = CreateSimulatorWindow(*simulated, window.hwnd());
        if (simWindow) PlacePair(window.hwnd(), simWindow->hwnd());
      });
      simulatorLater->start(Millis(0));
    }
    if (!eventsError.empty()) dialogs.show(EventsNotConnectedText(eventsError), kProgramName, MsgButtons::Ok,
                                           MsgIcon::Information, 0);
    RunMessageLoop([&] {
      return std::vector<HWND>{window.hwnd(), simWindow ? simWindow->hwnd() : nullptr, agendaWindows.agendaHwnd(),
                               agendaWindows.recordHwnd(), controlWindow.handle()};
    });
  }
  // End: no handler runs any more; the host reference is dropped before the
  // windows go, so the host sees the program leave at once.
  window.Detach();
  host->setEventSink(nullptr);
  return app.exitCode();
}
