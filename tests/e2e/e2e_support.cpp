#include "tests/e2e/e2e_support.h"

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

namespace orv::e2e {

namespace {

std::wstring Widen(const std::string& s) {
  if (s.empty()) return {};
  int n = MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
  std::wstring w(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), w.data(), n);
  return w;
}

std::string Narrow(const std::wstring& w) {
  if (w.empty()) return {};
  int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
  std::string s(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), s.data(), n, nullptr, nullptr);
  return s;
}

}  // namespace

std::string WindowText(HWND w) {
  // WM_GETTEXT crosses processes, as screen readers use it.
  wchar_t buf[4096];
  DWORD_PTR got = 0;
  if (!SendMessageTimeoutW(w, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(buf), SMTO_ABORTIFHUNG, 5000, &got))
    return {};
  return Narrow(std::wstring(buf, got));
}

namespace {

struct FindArgs {
  DWORD pid;
  const wchar_t* cls;
  HWND found;
};

BOOL CALLBACK FindTop(HWND w, LPARAM lp) {
  auto* a = reinterpret_cast<FindArgs*>(lp);
  DWORD pid = 0;
  GetWindowThreadProcessId(w, &pid);
  if (pid != a->pid) return TRUE;
  wchar_t cls[64];
  GetClassNameW(w, cls, 64);
  if (lstrcmpW(cls, a->cls) == 0 && IsWindowVisible(w)) {
    a->found = w;
    return FALSE;
  }
  return TRUE;
}

}  // namespace

bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds limit, std::chrono::milliseconds poll) {
  const auto end = std::chrono::steady_clock::now() + limit;
  for (;;) {
    if (done()) return true;
    if (std::chrono::steady_clock::now() >= end) return false;
    MSG m;
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&m);
    Sleep(static_cast<DWORD>(poll.count()));
  }
}

TempFolder::TempFolder() {
  wchar_t base[MAX_PATH];
  GetTempPathW(MAX_PATH, base);
  static int counter = 0;
  path_ = std::wstring(base) + L"orvalen-e2e-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
          std::to_wstring(++counter);
  CreateDirectoryW(path_.c_str(), nullptr);
}

TempFolder::~TempFolder() {
  // Folders a test made inside it (hora\) go too.
  std::error_code ignored;
  std::filesystem::remove_all(std::filesystem::path(path_), ignored);
}

void WriteFileBytes(const std::wstring& path, const std::string& bytes) {
  std::ofstream f(std::filesystem::path(path), std::ios::binary | std::ios::trunc);
  f.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string ReadFileBytes(const std::wstring& path) {
  std::ifstream f(std::filesystem::path(path), std::ios::binary);
  std::ostringstream s;
  s << f.rdbuf();
  return s.str();
}

std::vector<std::string> ReadLines(const std::wstring& path) {
  std::vector<std::string> lines;
  std::istringstream in(ReadFileBytes(path));
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

std::string OneSlotList(const std::string& name, const std::string& interval) {
  std::string text = name + "\r\n";
  for (int i = 1; i < 9; ++i) text += "\r\n";
  text += interval + "\r\n";
  for (int i = 1; i < 9; ++i) text += "0\r\n";
  return text;
}

std::string SlotList(const std::vector<std::pair<std::string, std::string>>& slots) {
  std::string names, intervals;
  for (std::size_t i = 0; i < 9; ++i) {
    names += (i < slots.size() ? slots[i].first : std::string()) + "\r\n";
    intervals += (i < slots.size() ? slots[i].second : std::string("0")) + "\r\n";
  }
  return names + intervals;
}

void WriteWav(const std::wstring& path, double seconds, int rate, int bits, int channels) {
  const int bytesPerSample = bits / 8;
  const auto frames = static_cast<unsigned>(seconds * rate);
  const unsigned dataSize = frames * channels * bytesPerSample;
  std::string b;
  auto u32 = [&](unsigned v) { for (int i = 0; i < 4; ++i) b += static_cast<char>((v >> (8 * i)) & 0xFF); };
  auto u16 = [&](unsigned v) { for (int i = 0; i < 2; ++i) b += static_cast<char>((v >> (8 * i)) & 0xFF); };
  b += "RIFF"; u32(36 + dataSize); b += "WAVEfmt "; u32(16); u16(1); u16(channels); u32(rate);
  u32(rate * channels * bytesPerSample); u16(channels * bytesPerSample); u16(bits); b += "data"; u32(dataSize);
  std::ofstream f(std::filesystem::path(path), std::ios::binary | std::ios::trunc);
  for (unsigned i = 0; i < frames; ++i) {
    double s = 0.3 * std::sin(2 * 3.14159265 * 600.0 * i / rate);
    for (int c = 0; c < channels; ++c) {
      if (bits == 8) b += static_cast<char>(static_cast<unsigned char>(128 + s * 127));
      else u16(static_cast<unsigned>(static_cast<short>(s * 32767)) & 0xFFFF);
    }
    if (b.size() >= (1u << 20)) {
      f.write(b.data(), static_cast<std::streamsize>(b.size()));
      b.clear();
    }
  }
  f.write(b.data(), static_cast<std::streamsize>(b.size()));
}

bool LinkFile(const std::wstring& from, const std::wstring& to) {
  return CreateHardLinkW(to.c_str(), from.c_str(), nullptr) || CopyFileW(from.c_str(), to.c_str(), FALSE);
}

WindowWatch::WindowWatch(HWND window, HWND clock) : thread_([this, window, clock] { run(window, clock); }) {}

void WindowWatch::stop() {
  done_ = true;
  if (thread_.joinable()) thread_.join();
}

void WindowWatch::run(HWND window, HWND clock) {
  using Clock = std::chrono::steady_clock;
  auto ms = [](Clock::duration d) { return std::chrono::duration_cast<std::chrono::milliseconds>(d).count(); };
  auto note = [](std::atomic<long long>& longest, long long v) {
    if (v > longest) longest = v;
  };
  std::string shown = WindowText(clock);
  Clock::time_point changed = Clock::now();
  while (!done_) {
    const auto t0 = Clock::now();
    DWORD_PTR answer = 0;
    const bool answered = SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 10000, &answer) != 0;
    note(longestAnswer_, ms(Clock::now() - t0));
    if (!answered && !IsWindow(window)) break;
    ++asked_;
    std::string now = WindowText(clock);
    if (now != shown) {
      note(longestStill_, ms(Clock::now() - changed));
      shown = std::move(now);
      changed = Clock::now();
    }
    Sleep(20);
  }
  note(longestStill_, ms(Clock::now() - changed));
}

std::string LogOperation(const std::string& line) {
  // "2026-12-08 14:05:09.123 SetTransmit(0)"
  return line.size() > 24 ? line.substr(24) : std::string();
}

std::wstring ProgramPath() {
  // Another build of the program (the 32-bit one) runs the same scripts.
  if (const wchar_t* other = _wgetenv(L"ORV_E2E_PROGRAM"); other && *other) return other;
#ifdef ORVALEN_EXE
  return Widen(ORVALEN_EXE);
#else
  return L"orvalen.exe";
#endif
}

RunningProgram::RunningProgram(const TempFolder& folder, const std::wstring& args) {
  const std::wstring exe = folder.file(L"orvalen.exe");
  CopyFileW(ProgramPath().c_str(), exe.c_str(), FALSE);
  std::wstring cmd = L"\"" + exe + L"\" " + args;
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  // Under load Wine now and then fails a process start outright: try again.
  BOOL started = FALSE;
  for (int attempt = 0; attempt < 3 && !started; ++attempt) {
    if (attempt) Sleep(200);
    started = CreateProcessW(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.path().c_str(), &si, &pi);
  }
  if (started) {
    process_ = pi.hProcess;
    pid_ = pi.dwProcessId;
    CloseHandle(pi.hThread);
  }
}

RunningProgram::~RunningProgram() {
  if (!process_) return;
  if (WaitForSingleObject(process_, 0) == WAIT_TIMEOUT) {
    TerminateProcess(process_, 99);
    WaitForSingleObject(process_, 5000);
  }
  CloseHandle(process_);
}

HWND RunningProgram::FindWindowOfClass(const wchar_t* cls) const {
  FindArgs a{pid_, cls, nullptr};
  EnumWindows(&FindTop, reinterpret_cast<LPARAM>(&a));
  return a.found;
}

bool RunningProgram::WaitForMainWindow(std::chrono::milliseconds limit, std::chrono::milliseconds poll) {
  return WaitUntil([&] { return (main_ = FindWindowOfClass(L"OrvalenForm1")) != nullptr || !Running(); }, limit,
                   poll) &&
         main_ != nullptr;
}

std::string RunningProgram::Caption() const { return WindowText(main_); }
std::string RunningProgram::Text(int id) const { return WindowText(control(id)); }
int RunningProgram::Check(int id) const {
  DWORD_PTR r = 0;
  SendMessageTimeoutW(control(id), BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, 5000, &r);
  return r == BST_CHECKED ? 1 : 0;
}
void RunningProgram::SetText(int id, const std::string& text) {
  std::wstring w = Widen(text);
  DWORD_PTR r = 0;
  SendMessageTimeoutW(control(id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(w.c_str()), SMTO_ABORTIFHUNG, 5000, &r);
}
void RunningProgram::Click(int id) { ClickWindow(control(id)); }

void ClickWindow(HWND w) {
  wchar_t cls[64] = L"";
  GetClassNameW(w, cls, 64);
  if (lstrcmpiW(cls, L"Button") == 0) {
    PostMessageW(w, BM_CLICK, 0, 0);
    return;
  }
  // The program's own buttons: a press and release in the middle, as the
  // mouse would deliver them.
  RECT r;
  GetClientRect(w, &r);
  LPARAM at = MAKELPARAM(r.right / 2, r.bottom / 2);
  PostMessageW(w, WM_MOUSEMOVE, 0, at);
  PostMessageW(w, WM_LBUTTONDOWN, MK_LBUTTON, at);
  PostMessageW(w, WM_LBUTTONUP, 0, at);
}
void RunningProgram::PostClose() { PostMessageW(main_, WM_CLOSE, 0, 0); }

MessageBoxInfo RunningProgram::WaitForMessageBox(std::chrono::milliseconds limit) {
  MessageBoxInfo info;
  WaitUntil([&] { return (info.hwnd = FindWindowOfClass(L"#32770")) != nullptr; }, limit);
  if (info.hwnd) {
    info.title = WindowText(info.hwnd);
    info.text = WindowText(GetDlgItem(info.hwnd, 0xFFFF));
  }
  return info;
}

bool RunningProgram::MessageBoxOpen() { return FindWindowOfClass(L"#32770") != nullptr; }

void RunningProgram::Answer(const MessageBoxInfo& box, int buttonId) {
  PostMessageW(box.hwnd, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(box.hwnd, buttonId)));
}

int RunningProgram::WaitForExit(std::chrono::milliseconds limit) {
  if (!process_) return -1;
  if (!WaitUntil([&] { return !Running(); }, limit)) return -1;
  DWORD code = 0;
  GetExitCodeProcess(process_, &code);
  return static_cast<int>(code);
}

bool RunningProgram::Running() const { return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT; }

}  // namespace orv::e2e
