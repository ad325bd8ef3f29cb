#pragma once
// Drives the project's test host from Windows-side tests: registration in the
// test prefix and its control program, exactly as the end-to-end scripts use
// them.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace orv::win::test {

struct CtlResult {
  DWORD exitCode = 0xFFFFFFFF;
  std::string out;
};

std::wstring TestFolder();   // where the test exe, the test host and its control program are
bool RegisterTestHost();
// One orvalen_testhostctl command, run in this process (fast) or through the
// program itself.
CtlResult Ctl(std::vector<std::wstring> args);
CtlResult CtlExe(const std::wstring& commandLine);
// The call lines of the log (lines that do not start with "#").
std::vector<std::string> HostCalls();
std::vector<std::string> HostLog();
// Pumps this thread's messages until `done` or `ms` milliseconds have passed.
bool PumpUntil(const std::function<bool()>& done, DWORD ms);

}  // namespace orv::win::test
