#include "testhost_control.h"

#include <gtest/gtest.h>

#include <sstream>

#include "testhost_state.h"

namespace orv::win::test {
namespace {

CtlResult Run(const std::wstring& commandLine) {
  CtlResult r;
  SECURITY_ATTRIBUTES sa{sizeof sa, nullptr, TRUE};
  HANDLE readEnd = nullptr, writeEnd = nullptr;
  if (!::CreatePipe(&readEnd, &writeEnd, &sa, 0)) return r;
  ::SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOW si{};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESTDHANDLES;
  si.hStdOutput = writeEnd;
  si.hStdError = writeEnd;
  si.hStdInput = nullptr;
  PROCESS_INFORMATION pi{};
  std::wstring cmd = commandLine;
  // Under load Wine now and then fails a process start outright; a test
  // should not fail for that, so the start is tried a few times.
  BOOL started = FALSE;
  for (int attempt = 0; attempt < 3 && !started; ++attempt) {
    if (attempt) ::Sleep(200);
    started = ::CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr, &si,
                               &pi);
  }
  ::CloseHandle(writeEnd);
  if (started) {
    char buf[4096];
    DWORD got = 0;
    while (::ReadFile(readEnd, buf, sizeof buf, &got, nullptr) && got > 0) r.out.append(buf, got);
    ::WaitForSingleObject(pi.hProcess, 30000);
    ::GetExitCodeProcess(pi.hProcess, &r.exitCode);
    ::CloseHandle(pi.hThread);
    ::CloseHandle(pi.hProcess);
  }
  ::CloseHandle(readEnd);
  return r;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> out;
  std::istringstream in(text);
  for (std::string l; std::getline(in, l);) {
    if (!l.empty() && l.back() == '\r') l.pop_back();
    out.push_back(l);
  }
  return out;
}

}  // namespace

std::wstring TestFolder() {
  wchar_t path[MAX_PATH * 2] = {};
  DWORD n = ::GetModuleFileNameW(nullptr, path, MAX_PATH * 2);
  std::wstring p(path, n);
  return p.substr(0, p.find_last_of(L"\\/") + 1);
}

bool RegisterTestHost() {
  std::wstring exe = TestFolder() + L"orvalen_testhost.exe";
  // Registering costs a process start under Wine: skip it when in place.
  wchar_t current[MAX_PATH * 2] = {};
  DWORD size = sizeof current;
  std::wstring key = std::wstring(L"CLSID\\") + testhost::kHostClsid + L"\\LocalServer32";
  if (::RegGetValueW(HKEY_CLASSES_ROOT, key.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, current, &size) ==
          ERROR_SUCCESS &&
      current == L"\"" + exe + L"\"")
    return true;
  return Run(L"\"" + exe + L"\" /regserver").exitCode == 0;
}

CtlResult Ctl(std::vector<std::wstring> args) {
  CtlResult r;
  r.exitCode = static_cast<DWORD>(testhost::Control(args, r.out));
  return r;
}

CtlResult CtlExe(const std::wstring& commandLine) {
  return Run(L"\"" + TestFolder() + L"orvalen_testhostctl.exe\" " + commandLine);
}

std::vector<std::string> HostLog() { return Lines(Ctl({L"calls"}).out); }

std::vector<std::string> HostCalls() {
  std::vector<std::string> out;
  for (auto& l : HostLog())
    if (!l.empty() && l[0] != '#') out.push_back(l);
  return out;
}

bool PumpUntil(const std::function<bool()>& done, DWORD ms) {
  DWORD start = ::GetTickCount();
  while (!done()) {
    DWORD spent = ::GetTickCount() - start;
    if (spent >= ms) return false;
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageW(&msg);
    }
    if (done()) break;
    // Also wakes for messages already queued but seen by an earlier peek
    // (COM's modal loop peeks while a call is out).
    ::MsgWaitForMultipleObjectsEx(0, nullptr, ms - spent, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
  }
  return true;
}

namespace {
// Every test process registers the test host in the prefix first, so the
// tests need no other setup.
class Registration : public ::testing::Environment {
 public:
  void SetUp() override { ASSERT_TRUE(RegisterTestHost()) << "orvalen_testhost.exe /regserver failed"; }
};
const auto* const kRegistration = ::testing::AddGlobalTestEnvironment(new Registration);
}  // namespace

}  // namespace orv::win::test
