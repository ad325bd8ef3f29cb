#pragma once
// What the test host and its control program share: the settings a test
// gives (in the registry of the Wine prefix, so they hold before the server
// starts and across its restarts), the call log, and the control window
// through which a running server is told to raise events.
#include <windows.h>

#include <string>
#include <vector>

namespace orv::testhost {

inline constexpr wchar_t kStateKey[] = L"Software\\Orvalen\\TestHost";
inline constexpr wchar_t kControlClass[] = L"OrvalenTestHostControl";
inline constexpr wchar_t kHostClsid[] = L"{D1FB3C9A-BB2D-446A-A74A-E771F134ED56}";
inline constexpr char kDefaultStation[] = "PY2TST-L";

// WM_COPYDATA dwData codes understood by the control window. The payload
// (UTF-16, no terminator) is the digit string for kRaiseDtmf.
enum Command : ULONG_PTR {
  kRaiseDtmf = 1,
  kRaiseClosing = 2,
  kCountSinks = 3,   // answers the number of connected event sinks
  kDie = 4,          // ends the server at once, as a crashing host would
  kDisconnect = 5,   // disconnects every object from its clients and exits cleanly
};

struct Settings {
  bool busy1 = false;
  bool busy2 = false;
  std::string station = kDefaultStation;
  std::string fail;        // comma-separated: "SetTransmit,StationName:hresult,SetTransmit(0)"
  bool noClassInfo = false;
  std::string raiseDuring;   // "SetTransmit:AA": raise DTMFString(AA) inside the next SetTransmit call
  std::wstring logFile;
  ULONGLONG rejectUntil = 0;   // system time (FILETIME units): every call is rejected until then
  std::string hang;            // "SetTransmit(0)|30": the next such call answers 30 s late
};

Settings LoadSettings();
bool SaveDword(const wchar_t* name, DWORD value);
bool SaveString(const wchar_t* name, const std::wstring& value);
bool DeleteSetting(const wchar_t* name);

// How a call should fail, if at all: `name` is the operation, `text` the
// call as logged ("SetTransmit(0)"); a setting names either.
enum class Failure { None, Exception, Hresult };
Failure FailureFor(const Settings& s, const std::string& name, const std::string& text);

// The current system time in FILETIME units.
ULONGLONG SystemTimeNow();
bool SaveQword(const wchar_t* name, ULONGLONG value);

// Appends one line (UTF-8, LF) to the call log; open and close per line so
// tests can read or truncate it at any time.
void AppendLog(const std::wstring& file, const std::string& line);

// Runs one orvalen_testhostctl command (arguments without the program name);
// its exit code, and what it prints in `out`.
int Control(const std::vector<std::wstring>& args, std::string& out);

std::string Utf8(const wchar_t* text, int length = -1);
std::wstring Wide(const std::string& utf8);
std::wstring ModuleFolder();   // with a trailing "\"

}  // namespace orv::testhost
