#include "platform/win/services.h"

#include <cstdio>
#include <vector>

#include "platform/win/scoped.h"
#include "platform/win/text.h"

namespace orv::win {

// ---- timers ---------------------------------------------------------------

class WinTimer : public Timer {
 public:
  WinTimer(WinTimerService& s, UINT_PTR id) : s_(s), id_(id) {}
  ~WinTimer() override {
    stop();
    s_.callbacks_.erase(id_);
  }
  void start(Millis interval) override {
    UINT ms = static_cast<UINT>(interval.count() < USER_TIMER_MINIMUM ? USER_TIMER_MINIMUM : interval.count());
    running_ = SetTimer(s_.hwnd_, id_, ms, nullptr) != 0;
  }
  void stop() override {
    if (running_) KillTimer(s_.hwnd_, id_);
    running_ = false;
  }
  bool running() const override { return running_; }

 private:
  WinTimerService& s_;
  UINT_PTR id_;
  bool running_ = false;
};

WinTimerService::WinTimerService() {
  static const wchar_t* kClass = L"OrvalenTimers";
  WNDCLASSEXW wc{sizeof wc};
  wc.lpfnWndProc = &WinTimerService::Proc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = kClass;
  RegisterClassExW(&wc);  // fails harmlessly when already registered
  hwnd_ = CreateWindowExW(0, kClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
  SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

WinTimerService::~WinTimerService() {
  if (hwnd_) {
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);
  }
}

std::unique_ptr<Timer> WinTimerService::create(std::function<void()> onTick) {
  UINT_PTR id = nextId_++;
  callbacks_[id] = std::move(onTick);
  return std::make_unique<WinTimer>(*this, id);
}

LRESULT CALLBACK WinTimerService::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_TIMER) {
    auto* self = reinterpret_cast<WinTimerService*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self) return 0;
    if (self->gate_ && !self->gate_()) return 0;
    auto it = self->callbacks_.find(wp);
    if (it == self->callbacks_.end()) return 0;
    auto tick = it->second;  // the tick may destroy its own timer
    tick();
    return 0;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

// ---- dialogs --------------------------------------------------------------

MsgResult WinDialogs::show(const std::string& text, const std::string& title, MsgButtons buttons, MsgIcon icon,
                           int defaultButton) {
  UINT flags = buttons == MsgButtons::YesNo ? MB_YESNO : MB_OK;
  switch (icon) {
    case MsgIcon::Information: flags |= MB_ICONINFORMATION; break;
    case MsgIcon::Question: flags |= MB_ICONQUESTION; break;
    case MsgIcon::Error: flags |= MB_ICONERROR; break;
    case MsgIcon::None: break;
  }
  flags |= defaultButton == 1 ? MB_DEFBUTTON2 : MB_DEFBUTTON1;
  HWND owner = owner_ && IsWindow(owner_) ? owner_ : nullptr;
  int r = MessageBoxW(owner, Widen(text).c_str(), Widen(title).c_str(), flags | (owner ? 0 : MB_TASKMODAL));
  if (r == IDYES) return MsgResult::Yes;
  if (r == IDNO) return MsgResult::No;
  return MsgResult::Ok;
}

// ---- clock ----------------------------------------------------------------

std::chrono::milliseconds WinClock::monotonic() const {
  static LARGE_INTEGER freq = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return std::chrono::milliseconds(now.QuadPart / freq.QuadPart * 1000 + now.QuadPart % freq.QuadPart * 1000 / freq.QuadPart);
}

std::string WinClock::timeOfDayText() const {
  FILETIME ft;
  GetSystemTimeAsFileTime(&ft);
  const unsigned long long second = ((static_cast<unsigned long long>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime) / 10000000ULL;
  if (second == cachedSecond_ && !cachedText_.empty()) return cachedText_;
  wchar_t buf[64];
  int n = GetTimeFormatEx(LOCALE_NAME_USER_DEFAULT, 0, nullptr, nullptr, buf, 64);
  cachedSecond_ = second;
  cachedText_ = n > 1 ? Narrow(buf, n - 1) : std::string();
  return cachedText_;
}

int WinClock::wallMillis() const {
  FILETIME ft;
  GetSystemTimeAsFileTime(&ft);
  return static_cast<int>(((static_cast<unsigned long long>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime) / 10000ULL % 1000);
}

std::string WinClock::logTimestamp() const {
  SYSTEMTIME t;
  GetLocalTime(&t);
  char buf[40];
  std::snprintf(buf, sizeof buf, "%04u-%02u-%02u %02u:%02u:%02u.%03u", t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute,
                t.wSecond, t.wMilliseconds);
  return buf;
}

LocalTime WinClock::localNow() const {
  // GetLocalTime applies the time zone and daylight saving in force now.
  SYSTEMTIME t;
  GetLocalTime(&t);
  LocalTime l;
  l.year = t.wYear;
  l.month = t.wMonth;
  l.day = t.wDay;
  l.hour = t.wHour;
  l.minute = t.wMinute;
  l.second = t.wSecond;
  l.millisecond = t.wMilliseconds;
  l.weekday = t.wDayOfWeek;
  return l;
}

// ---- files ----------------------------------------------------------------

std::string SystemErrorText(DWORD code) {
  wchar_t* msg = nullptr;
  DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                           nullptr, code, 0, reinterpret_cast<wchar_t*>(&msg), 0, nullptr);
  std::string out;
  if (n && msg) {
    out = Narrow(msg, static_cast<int>(n));
    while (!out.empty() && (out.back() == '\n' || out.back() == '\r' || out.back() == ' ')) out.pop_back();
  }
  if (msg) LocalFree(msg);
  if (out.empty()) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "erro %lu", static_cast<unsigned long>(code));
    out = buf;
  }
  return out;
}

ListResult WinFileSystem::listNormalFiles(const std::string& pattern) {
  std::wstring wp = Widen(pattern);
  if (!wp.empty() && (wp.back() == L'\\' || wp.back() == L'/')) wp += L"*";
  if (wp.empty()) wp = L"*";
  WIN32_FIND_DATAW fd;
  UniqueFind find(FindFirstFileExW(wp.c_str(), FindExInfoBasic, &fd, FindExSearchNameMatch, nullptr, 0));
  if (!find.valid()) {
    DWORD e = GetLastError();
    if (e == ERROR_FILE_NOT_FOUND || e == ERROR_NO_MORE_FILES) return {true, 0, {}};
    return {false, 0, SystemErrorText(e)};
  }
  int n = 0;
  do {
    const DWORD skip = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_DIRECTORY;
    if (!(fd.dwFileAttributes & skip)) ++n;
  } while (FindNextFileW(find.get(), &fd));
  return {true, n, {}};
}

bool WinFileSystem::exists(const std::string& path) {
  DWORD a = GetFileAttributesW(Widen(path).c_str());
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

std::optional<std::string> WinFileSystem::readAll(const std::string& path) {
  UniqueHandle f(CreateFileW(Widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                             OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (f.get() == INVALID_HANDLE_VALUE) {
    f.release();
    return std::nullopt;
  }
  std::string out;
  char buf[65536];
  for (;;) {
    DWORD got = 0;
    if (!ReadFile(f.get(), buf, sizeof buf, &got, nullptr)) return std::nullopt;
    if (got == 0) break;
    out.append(buf, got);
  }
  return out;
}

WriteResult WinFileSystem::replaceAll(const std::string& path, const std::string& bytes) {
  const std::wstring target = Widen(path);
  // A new file beside the old one, so the final rename stays on one volume.
  std::wstring temp = target + L".novo";
  UniqueHandle f(CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (f.get() == INVALID_HANDLE_VALUE) {
    f.release();
    return {false, SystemErrorText(GetLastError())};
  }
  DWORD written = 0;
  bool ok = bytes.empty() || (WriteFile(f.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                              written == bytes.size());
  DWORD err = ok ? 0 : GetLastError();
  if (ok && !FlushFileBuffers(f.get())) {
    ok = false;
    err = GetLastError();
  }
  f.reset();
  if (ok && !MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    ok = false;
    err = GetLastError();
  }
  if (!ok) {
    DeleteFileW(temp.c_str());
    return {false, SystemErrorText(err)};
  }
  return {};
}

std::string WinFileSystem::programFolder() {
  std::vector<wchar_t> buf(MAX_PATH);
  for (;;) {
    DWORD n = GetModuleFileNameW(nullptr, buf.data(), static_cast<DWORD>(buf.size()));
    if (n < buf.size()) {
      std::wstring p(buf.data(), n);
      size_t slash = p.find_last_of(L"\\/");
      if (slash == std::wstring::npos) return ".";
      if (slash == 2 && p[1] == L':') return Narrow(p.substr(0, 3));  // "C:\"
      return Narrow(p.substr(0, slash));
    }
    buf.resize(buf.size() * 2);
  }
}

// ---- locale ---------------------------------------------------------------

namespace {
std::string LocaleString(LCTYPE type, const char* fallback) {
  wchar_t buf[16];
  int n = GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, type, buf, 16);
  return n > 1 ? Narrow(buf, n - 1) : std::string(fallback);
}
}  // namespace

std::string WinLocale::decimalSeparator() const { return LocaleString(LOCALE_SDECIMAL, "."); }
std::string WinLocale::thousandsSeparator() const { return LocaleString(LOCALE_STHOUSAND, ","); }

std::optional<std::string> WinLocale::toAnsi(const std::string& utf8) const {
  if (utf8.empty()) return std::string();
  std::wstring w = Widen(utf8);
  BOOL usedDefault = FALSE;
  // No best-fit mapping: a character without an exact ANSI form must be
  // refused, not silently turned into a look-alike or "?".
  int n = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, w.data(), static_cast<int>(w.size()), nullptr, 0,
                              nullptr, &usedDefault);
  if (n <= 0 || usedDefault) return std::nullopt;
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, w.data(), static_cast<int>(w.size()), out.data(), n, nullptr,
                      &usedDefault);
  if (usedDefault) return std::nullopt;
  return out;
}

std::string WinLocale::fromAnsi(const std::string& ansi) const {
  if (ansi.empty()) return {};
  int n = MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), nullptr, 0);
  std::wstring w(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), w.data(), n);
  return Narrow(w);
}

// ---- app ------------------------------------------------------------------

void WinAppControl::quit(int exitCode) {
  if (quitting_) return;
  quitting_ = true;
  exitCode_ = exitCode;
  PostQuitMessage(exitCode);
}

}  // namespace orv::win
