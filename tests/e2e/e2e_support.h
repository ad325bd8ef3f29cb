#pragma once
// Drives the real orvalen.exe from outside, as a user or a screen reader
// would: it starts the program in a folder of its own, reads the controls'
// window texts, clicks, answers message boxes and reads the host log.
#include <windows.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace orv::e2e {

using namespace std::chrono_literals;

// Polls `done` until it holds or `limit` passes, pumping this thread's
// messages meanwhile. Every wait in these tests has a bound.
// `poll`: how often `done` is asked; a benchmark timing the moment asks often.
bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds limit = 10s,
               std::chrono::milliseconds poll = 20ms);

// A fresh folder under the temp folder, removed with its files at the end.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  const std::wstring& path() const { return path_; }
  std::wstring file(const std::wstring& name) const { return path_ + L"\\" + name; }
 private:
  std::wstring path_;
};

void WriteFileBytes(const std::wstring& path, const std::string& bytes);
std::string ReadFileBytes(const std::wstring& path);
std::vector<std::string> ReadLines(const std::wstring& path);
// The slot list file's text with slot 1 only: `name` every `interval` seconds.
std::string OneSlotList(const std::string& name, const std::string& interval);
// The slot list file's text with the slots given (name, interval) from slot 1 on.
std::string SlotList(const std::vector<std::pair<std::string, std::string>>& slots);
// A PCM WAV file of `seconds` of a tone, written a block at a time: hours of
// sound never sit in the test's memory.
void WriteWav(const std::wstring& path, double seconds, int rate = 8000, int bits = 8, int channels = 1);
// `to` names the file `from` names (a hard link; a copy where links fail).
bool LinkFile(const std::wstring& from, const std::wstring& to);

// How long a window kept others waiting while it is watched: a thread asks
// it for a sent message's answer every 20 ms and notes the longest wait, and
// notes the longest time `clock` (a label a timer changes every second)
// stood still, since a window stuck in a call answers sent messages but
// runs no timer.
class WindowWatch {
 public:
  WindowWatch(HWND window, HWND clock);
  ~WindowWatch() { stop(); }
  WindowWatch(const WindowWatch&) = delete;
  WindowWatch& operator=(const WindowWatch&) = delete;
  void stop();
  std::chrono::milliseconds longestAnswer() const { return std::chrono::milliseconds(longestAnswer_.load()); }
  std::chrono::milliseconds longestStill() const { return std::chrono::milliseconds(longestStill_.load()); }
  int asked() const { return asked_; }

 private:
  void run(HWND window, HWND clock);
  std::atomic<bool> done_{false};
  std::atomic<long long> longestAnswer_{0}, longestStill_{0};
  std::atomic<int> asked_{0};
  std::thread thread_;
};

struct MessageBoxInfo {
  HWND hwnd = nullptr;
  std::string title, text;
};

class RunningProgram {
 public:
  // Copies orvalen.exe into `folder` and starts it there with `args`.
  RunningProgram(const TempFolder& folder, const std::wstring& args);
  ~RunningProgram();  // ends the process if it still runs
  RunningProgram(const RunningProgram&) = delete;
  RunningProgram& operator=(const RunningProgram&) = delete;

  bool started() const { return process_ != nullptr; }
  // Waits for the main window; false when it did not appear in time.
  bool WaitForMainWindow(std::chrono::milliseconds limit = 20s, std::chrono::milliseconds poll = 20ms);
  HWND mainWindow() const { return main_; }
  HWND control(int id) const { return GetDlgItem(main_, id); }
  std::string Caption() const;
  std::string Text(int id) const;
  int Check(int id) const;
  void SetText(int id, const std::string& text);
  void Click(int id);              // a button or check box, as a mouse click would
  void PostClose();                // the close box
  // The first message box of the program (nullptr hwnd when none in time).
  MessageBoxInfo WaitForMessageBox(std::chrono::milliseconds limit = 10s);
  bool MessageBoxOpen();
  void Answer(const MessageBoxInfo& box, int buttonId);  // IDYES, IDNO, IDOK
  // Waits for the process to end; the exit code, or -1 on time-out.
  int WaitForExit(std::chrono::milliseconds limit = 10s);
  bool Running() const;
  DWORD pid() const { return pid_; }
  // Top-level windows of the process with this class name.
  HWND FindWindowOfClass(const wchar_t* cls) const;

 private:
  HANDLE process_ = nullptr;
  DWORD pid_ = 0;
  HWND main_ = nullptr;
};

// A window's text as WM_GETTEXT gives it (UTF-8), across processes.
std::string WindowText(HWND w);
// A click on a system button or on one of the program's own buttons.
void ClickWindow(HWND w);
// The operation part of a host log line ("SetTransmit(0)"), without its time.
std::string LogOperation(const std::string& line);

// Where the build put orvalen.exe (set by the build as ORVALEN_EXE), unless
// the environment's ORV_E2E_PROGRAM names another build of it.
std::wstring ProgramPath();

}  // namespace orv::e2e
