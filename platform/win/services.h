#pragma once
// Win32 implementations of the core's service interfaces.
#include <windows.h>

#include <functional>
#include <map>
#include <memory>
#include <string>

#include "platform/app_control.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/files.h"
#include "platform/locale.h"
#include "platform/timers.h"

namespace orv::win {

// Window timers on a message-only window of their own; callbacks run from
// the message loop of the thread that made the service.
class WinTimerService : public TimerService {
 public:
  WinTimerService();
  ~WinTimerService() override;
  std::unique_ptr<Timer> create(std::function<void()> onTick) override;
  // Ticks are dropped while this says no (the program is ending).
  void setGate(std::function<bool()> open) { gate_ = std::move(open); }

 private:
  friend class WinTimer;
  static LRESULT CALLBACK Proc(HWND, UINT, WPARAM, LPARAM);
  HWND hwnd_ = nullptr;
  UINT_PTR nextId_ = 1;
  std::map<UINT_PTR, std::function<void()>> callbacks_;
  std::function<bool()> gate_;
};

class WinDialogs : public Dialogs {
 public:
  explicit WinDialogs(HWND owner = nullptr) : owner_(owner) {}
  void setOwner(HWND owner) { owner_ = owner; }
  MsgResult show(const std::string& text, const std::string& title, MsgButtons buttons, MsgIcon icon,
                 int defaultButton) override;
 private:
  HWND owner_;
};

class WinClock : public Clock {
 public:
  std::chrono::milliseconds monotonic() const override;
  std::string timeOfDayText() const override;
  int wallMillis() const override;
  std::string logTimestamp() const override;
  LocalTime localNow() const override;

 private:
  // The clock label asks a hundred times a second; the text only changes
  // once a second, so it is formatted once a second.
  mutable unsigned long long cachedSecond_ = 0;
  mutable std::string cachedText_;
};

class WinFileSystem : public FileSystem {
 public:
  ListResult listNormalFiles(const std::string& pattern) override;
  bool exists(const std::string& path) override;
  std::optional<std::string> readAll(const std::string& path) override;
  WriteResult replaceAll(const std::string& path, const std::string& bytes) override;
  std::string programFolder() override;
};

class WinLocale : public Locale {
 public:
  std::string decimalSeparator() const override;
  std::string thousandsSeparator() const override;
  std::optional<std::string> toAnsi(const std::string& utf8) const override;
  std::string fromAnsi(const std::string& ansi) const override;
};

// Ends the message loop; ticks and host events stop being handled at once.
class WinAppControl : public AppControl {
 public:
  void quit(int exitCode) override;
  bool quitting() const override { return quitting_; }
  int exitCode() const { return exitCode_; }
 private:
  bool quitting_ = false;
  int exitCode_ = 0;
};

// The system's own words for a Win32 error code.
std::string SystemErrorText(DWORD code);

}  // namespace orv::win
