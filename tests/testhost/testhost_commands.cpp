// The commands of orvalen_testhostctl.exe, callable in-process by tests.
#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "testhost_state.h"

namespace orv::testhost {
namespace th = orv::testhost;

namespace {

int Usage(std::string& out) {
  out +=(
      "usage: orvalen_testhostctl COMMAND [ARG]\n"
      "  reset                  default settings, empty log\n"
      "  busy1 on|off           FirstBusyFlag answer\n"
      "  busy2 on|off           SecondBusyFlag answer\n"
      "  station NAME           StationName answer\n"
      "  fail CALL[:hresult]    make a call fail (exception with description, or bare HRESULT);\n"
      "                         CALL is a name (SetTransmit) or one call as logged (SetTransmit(0))\n"
      "  heal CALL|all          stop failing it\n"
      "  reject SECONDS         reject every call (RPC_E_CALL_REJECTED) for SECONDS from now\n"
      "  hang CALL SECONDS      the next such call answers SECONDS late, serving others meanwhile\n"
      "  noclassinfo on|off     hide IProvideClassInfo\n"
      "  dtmf DIGITS            raise DTMFString(DIGITS) on the running server\n"
      "  dtmf-during NAME DIGITS  raise DTMFString(DIGITS) from inside the next NAME call\n"
      "  closing                raise Closing on the running server\n"
      "  sinks                  print the number of connected event sinks\n"
      "  wait-sinks N SECONDS   wait until at least N sinks are connected\n"
      "  die                    end the running server at once\n"
      "  disconnect             disconnect every object from its clients and exit\n"
      "  calls                  print the log\n"
      "  logfile [PATH]         print or set the log file\n");
  return 64;
}

HWND Server() { return ::FindWindowExW(HWND_MESSAGE, nullptr, th::kControlClass, nullptr); }

// 0: no server; otherwise 1 + the answer.
LRESULT Send(th::Command command, const std::wstring& payload = {}) {
  HWND server = Server();
  if (!server) return 0;
  COPYDATASTRUCT cd{};
  cd.dwData = command;
  cd.cbData = static_cast<DWORD>(payload.size() * sizeof(wchar_t));
  cd.lpData = const_cast<wchar_t*>(payload.data());
  DWORD_PTR answer = 0;
  if (!::SendMessageTimeoutW(server, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&cd), SMTO_ABORTIFHUNG, 5000, &answer))
    return command == th::kDie ? 1 : 0;   // a dying server does not answer
  return static_cast<LRESULT>(answer) + 1;
}

int NoServer(std::string& out) {
  out += "orvalen_testhostctl: no test host server is running\n";
  return 3;
}

bool OnOff(const std::string& s, bool& out) {
  if (s == "on" || s == "1") return out = true, true;
  if (s == "off" || s == "0") return out = false, true;
  return false;
}

// Split at commas outside parentheses: "TransmitFile(a,-1)" is one item.
std::vector<std::string> Items(const std::string& list) {
  std::vector<std::string> out;
  size_t start = 0;
  while (start < list.size()) {
    size_t end = start;
    for (int depth = 0; end < list.size() && (depth > 0 || list[end] != ','); ++end)
      depth += list[end] == '(' ? 1 : list[end] == ')' ? -1 : 0;
    if (end > start) out.push_back(list.substr(start, end - start));
    start = end + 1;
  }
  return out;
}

std::string Join(const std::vector<std::string>& items) {
  std::string out;
  for (const auto& i : items) out += (out.empty() ? "" : ",") + i;
  return out;
}

// The call an item names, without its ":hresult".
std::string Name(const std::string& item) {
  const std::string suffix = ":hresult";
  if (item.size() > suffix.size() && item.compare(item.size() - suffix.size(), suffix.size(), suffix) == 0)
    return item.substr(0, item.size() - suffix.size());
  return item;
}

int PrintLog(std::string& out) {
  HANDLE h = ::CreateFileW(th::LoadSettings().logFile.c_str(), GENERIC_READ,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return 0;   // nothing logged yet
  char buf[4096];
  DWORD got = 0;
  while (::ReadFile(h, buf, sizeof buf, &got, nullptr) && got > 0) out.append(buf, got);
  ::CloseHandle(h);
  return 0;
}

}  // namespace

int Control(const std::vector<std::wstring>& args, std::string& out) {
  int argc = static_cast<int>(args.size()) + 1;
  std::vector<const wchar_t*> argv{L"orvalen_testhostctl"};
  for (const auto& a : args) argv.push_back(a.c_str());
  if (argc < 2) return Usage(out);
  std::string cmd = th::Utf8(argv[1]);
  std::string arg = argc > 2 ? th::Utf8(argv[2]) : "";
  bool on = false;

  if (cmd == "reset") {
    for (const wchar_t* name :
         {L"Busy1", L"Busy2", L"Station", L"Fail", L"NoClassInfo", L"RaiseDuring", L"RejectUntil", L"Hang"})
      th::DeleteSetting(name);
    HANDLE h = ::CreateFileW(th::LoadSettings().logFile.c_str(), GENERIC_WRITE,
                             FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (h != INVALID_HANDLE_VALUE) ::CloseHandle(h);
    return 0;
  }
  if ((cmd == "busy1" || cmd == "busy2" || cmd == "noclassinfo") && argc == 3 && OnOff(arg, on)) {
    const wchar_t* name = cmd == "busy1" ? L"Busy1" : cmd == "busy2" ? L"Busy2" : L"NoClassInfo";
    return th::SaveDword(name, on ? 1 : 0) ? 0 : 1;
  }
  if (cmd == "station" && argc == 3) return th::SaveString(L"Station", argv[2]) ? 0 : 1;
  if (cmd == "fail" && argc == 3) {
    auto items = Items(th::LoadSettings().fail);
    std::erase_if(items, [&](const std::string& i) { return Name(i) == Name(arg); });
    items.push_back(arg);
    return th::SaveString(L"Fail", th::Wide(Join(items))) ? 0 : 1;
  }
  if (cmd == "heal" && argc == 3) {
    auto items = Items(th::LoadSettings().fail);
    std::erase_if(items, [&](const std::string& i) { return arg == "all" || Name(i) == Name(arg); });
    return th::SaveString(L"Fail", th::Wide(Join(items))) ? 0 : 1;
  }
  if (cmd == "reject" && argc == 3) {
    const double seconds = std::wcstod(argv[2], nullptr);
    if (seconds <= 0) return th::DeleteSetting(L"RejectUntil") ? 0 : 1;
    return th::SaveQword(L"RejectUntil", th::SystemTimeNow() + static_cast<ULONGLONG>(seconds * 1e7)) ? 0 : 1;
  }
  if (cmd == "hang" && argc == 4 && std::wcstod(argv[3], nullptr) > 0)
    return th::SaveString(L"Hang", std::wstring(argv[2]) + L"|" + argv[3]) ? 0 : 1;
  if (cmd == "dtmf" && argc == 3) return Send(th::kRaiseDtmf, argv[2]) ? 0 : NoServer(out);
  if (cmd == "dtmf-during" && argc == 4)
    return th::SaveString(L"RaiseDuring", std::wstring(argv[2]) + L":" + argv[3]) ? 0 : 1;
  if (cmd == "closing" && argc == 2) return Send(th::kRaiseClosing) ? 0 : NoServer(out);
  if (cmd == "die" && argc == 2) return Send(th::kDie) ? 0 : NoServer(out);
  if (cmd == "disconnect" && argc == 2) return Send(th::kDisconnect) ? 0 : NoServer(out);
  if (cmd == "sinks" && argc == 2) {
    LRESULT r = Send(th::kCountSinks);
    if (!r) return NoServer(out);
    out += std::to_string(static_cast<long>(r - 1)) + "\n";
    return 0;
  }
  if (cmd == "wait-sinks" && argc == 4) {
    long want = std::wcstol(argv[2], nullptr, 10);
    DWORD limit = static_cast<DWORD>(std::wcstod(argv[3], nullptr) * 1000);
    DWORD start = ::GetTickCount();
    do {
      LRESULT r = Send(th::kCountSinks);
      if (r && r - 1 >= want) return 0;
      ::Sleep(50);
    } while (::GetTickCount() - start < limit);
    out += "orvalen_testhostctl: timed out waiting for event sinks\n";
    return 4;
  }
  if (cmd == "calls" && argc == 2) return PrintLog(out);
  if (cmd == "logfile" && argc == 2) {
    out += th::Utf8(th::LoadSettings().logFile.c_str()) + "\n";
    return 0;
  }
  if (cmd == "logfile" && argc == 3) return th::SaveString(L"LogFile", argv[2]) ? 0 : 1;
  return Usage(out);
}

}  // namespace orv::testhost
