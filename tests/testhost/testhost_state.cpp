#include "testhost_state.h"

#include <vector>

namespace orv::testhost {
namespace {

DWORD ReadDword(HKEY key, const wchar_t* name) {
  DWORD value = 0, size = sizeof value;
  if (::RegGetValueW(key, nullptr, name, RRF_RT_REG_DWORD, nullptr, &value, &size) != ERROR_SUCCESS) return 0;
  return value;
}

bool ReadString(HKEY key, const wchar_t* name, std::wstring& out) {
  DWORD size = 0;
  if (::RegGetValueW(key, nullptr, name, RRF_RT_REG_SZ, nullptr, nullptr, &size) != ERROR_SUCCESS) return false;
  std::vector<wchar_t> buf(size / sizeof(wchar_t) + 1, L'\0');
  size = static_cast<DWORD>(buf.size() * sizeof(wchar_t));
  if (::RegGetValueW(key, nullptr, name, RRF_RT_REG_SZ, nullptr, buf.data(), &size) != ERROR_SUCCESS) return false;
  out.assign(buf.data());
  return true;
}

}  // namespace

std::string Utf8(const wchar_t* text, int length) {
  if (!text) return {};
  int n = ::WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr);
  if (n <= 0) return {};
  std::string out(static_cast<size_t>(n), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, text, length, out.data(), n, nullptr, nullptr);
  if (length < 0 && !out.empty()) out.pop_back();  // the terminator
  return out;
}

std::wstring Wide(const std::string& utf8) {
  if (utf8.empty()) return {};
  int n = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring out(static_cast<size_t>(n), L'\0');
  ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(), n);
  return out;
}

std::wstring ModuleFolder() {
  wchar_t path[MAX_PATH * 2] = {};
  DWORD n = ::GetModuleFileNameW(nullptr, path, static_cast<DWORD>(std::size(path)));
  std::wstring p(path, n);
  return p.substr(0, p.find_last_of(L"\\/") + 1);
}

Settings LoadSettings() {
  Settings s;
  HKEY key = nullptr;
  if (::RegOpenKeyExW(HKEY_CURRENT_USER, kStateKey, 0, KEY_READ, &key) == ERROR_SUCCESS) {
    s.busy1 = ReadDword(key, L"Busy1") != 0;
    s.busy2 = ReadDword(key, L"Busy2") != 0;
    s.noClassInfo = ReadDword(key, L"NoClassInfo") != 0;
    std::wstring text;
    if (ReadString(key, L"Station", text)) s.station = Utf8(text.c_str());
    if (ReadString(key, L"Fail", text)) s.fail = Utf8(text.c_str());
    if (ReadString(key, L"RaiseDuring", text)) s.raiseDuring = Utf8(text.c_str());
    ReadString(key, L"LogFile", s.logFile);
    if (ReadString(key, L"Hang", text)) s.hang = Utf8(text.c_str());
    ULONGLONG until = 0;
    DWORD size = sizeof until;
    if (::RegGetValueW(key, nullptr, L"RejectUntil", RRF_RT_REG_QWORD, nullptr, &until, &size) == ERROR_SUCCESS)
      s.rejectUntil = until;
    ::RegCloseKey(key);
  }
  if (s.logFile.empty()) s.logFile = ModuleFolder() + L"orvalen_testhost.log";
  return s;
}

static bool WithKey(bool (*op)(HKEY, const void*), const void* arg) {
  HKEY key = nullptr;
  if (::RegCreateKeyExW(HKEY_CURRENT_USER, kStateKey, 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
    return false;
  bool ok = op(key, arg);
  ::RegCloseKey(key);
  return ok;
}

bool SaveDword(const wchar_t* name, DWORD value) {
  struct Arg { const wchar_t* name; DWORD value; } a{name, value};
  return WithKey([](HKEY k, const void* p) {
    auto* a = static_cast<const Arg*>(p);
    return ::RegSetValueExW(k, a->name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&a->value), sizeof a->value) ==
           ERROR_SUCCESS;
  }, &a);
}

bool SaveString(const wchar_t* name, const std::wstring& value) {
  struct Arg { const wchar_t* name; const std::wstring* value; } a{name, &value};
  return WithKey([](HKEY k, const void* p) {
    auto* a = static_cast<const Arg*>(p);
    return ::RegSetValueExW(k, a->name, 0, REG_SZ, reinterpret_cast<const BYTE*>(a->value->c_str()),
                            static_cast<DWORD>((a->value->size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
  }, &a);
}

bool SaveQword(const wchar_t* name, ULONGLONG value) {
  struct Arg { const wchar_t* name; ULONGLONG value; } a{name, value};
  return WithKey([](HKEY k, const void* p) {
    auto* a = static_cast<const Arg*>(p);
    return ::RegSetValueExW(k, a->name, 0, REG_QWORD, reinterpret_cast<const BYTE*>(&a->value), sizeof a->value) ==
           ERROR_SUCCESS;
  }, &a);
}

ULONGLONG SystemTimeNow() {
  FILETIME ft;
  ::GetSystemTimeAsFileTime(&ft);
  return (static_cast<ULONGLONG>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
}

bool DeleteSetting(const wchar_t* name) {
  return WithKey([](HKEY k, const void* p) {
    LONG r = ::RegDeleteValueW(k, static_cast<const wchar_t*>(p));
    return r == ERROR_SUCCESS || r == ERROR_FILE_NOT_FOUND;
  }, name);
}

Failure FailureFor(const Settings& s, const std::string& name, const std::string& text) {
  static const std::string kHresult = ":hresult";
  size_t start = 0;
  while (start <= s.fail.size()) {
    // Items are split at commas outside parentheses: "TransmitFile(a,-1)" is one.
    size_t end = start;
    for (int depth = 0; end < s.fail.size() && (depth > 0 || s.fail[end] != ','); ++end)
      depth += s.fail[end] == '(' ? 1 : s.fail[end] == ')' ? -1 : 0;
    std::string item = s.fail.substr(start, end - start);
    const bool bare = item.size() > kHresult.size() && item.compare(item.size() - kHresult.size(), kHresult.size(),
                                                                     kHresult) == 0;
    if (bare) item.resize(item.size() - kHresult.size());
    if (item == name || item == text) return bare ? Failure::Hresult : Failure::Exception;
    start = end + 1;
  }
  return Failure::None;
}

void AppendLog(const std::wstring& file, const std::string& line) {
  HANDLE h = ::CreateFileW(file.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                           nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return;
  std::string text = line + "\n";
  DWORD written = 0;
  ::WriteFile(h, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  ::CloseHandle(h);
}

}  // namespace orv::testhost
