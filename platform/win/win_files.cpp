#include "platform/win/win_files.h"

#include <cstdio>
#include <vector>

#include "platform/win/scoped.h"
#include "platform/win/text.h"

namespace orv::win {

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
  std::wstring wp = WidePath(pattern);
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
  DWORD a = GetFileAttributesW(WidePath(path).c_str());
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

std::optional<std::string> WinFileSystem::readAll(const std::string& path, std::string* error) {
  auto fail = [error] {
    if (error) *error = SystemErrorText(GetLastError());
    return std::nullopt;
  };
  UniqueHandle f(CreateFileW(WidePath(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                             OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (f.get() == INVALID_HANDLE_VALUE) {
    f.release();
    return fail();
  }
  std::string out;
  char buf[65536];
  for (;;) {
    DWORD got = 0;
    if (!ReadFile(f.get(), buf, sizeof buf, &got, nullptr)) return fail();
    if (got == 0) break;
    out.append(buf, got);
  }
  return out;
}

WriteResult WinFileSystem::replaceAll(const std::string& path, const std::string& bytes,
                                      const std::string& backupPath) {
  const std::wstring target = WidePath(path);
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
  if (ok && !backupPath.empty() && GetFileAttributesW(target.c_str()) != INVALID_FILE_ATTRIBUTES) {
    const std::wstring backup = WidePath(backupPath);
    if (!ReplaceFileW(target.c_str(), temp.c_str(), backup.c_str(), 0, nullptr, nullptr)) {
      ok = false;
      err = GetLastError();
      // The old file already carries the backup's name: give it its own back.
      if (err == ERROR_UNABLE_TO_MOVE_REPLACEMENT_2) MoveFileExW(backup.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH);
    }
  } else if (ok && !MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
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

}  // namespace orv::win
