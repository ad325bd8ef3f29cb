#include "audio/win/win_audio_files.h"

#include <windows.h>
#include <knownfolders.h>
#include <shlobj.h>

#include "audio/copy_cache.h"
#include "platform/win/scoped.h"
#include "platform/win/text.h"

namespace orv::win {

namespace {

std::uint64_t FileTimeValue(const FILETIME& t) {
  return (static_cast<std::uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
}

HANDLE OpenHandle(const std::wstring& path, DWORD access, DWORD share, DWORD disposition) {
  HANDLE h = CreateFileW(path.c_str(), access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
  return h == INVALID_HANDLE_VALUE ? nullptr : h;
}

class FileReader : public ByteReader {
 public:
  FileReader(UniqueHandle file, std::uint64_t size) : file_(std::move(file)), size_(size) {}
  std::uint64_t size() const override { return size_; }
  std::size_t read(std::uint64_t offset, char* out, std::size_t count) override {
    std::size_t done = 0;
    while (done < count) {
      // The offset rides in the OVERLAPPED, so no file position is shared.
      OVERLAPPED at{};
      const std::uint64_t where = offset + done;
      at.Offset = static_cast<DWORD>(where);
      at.OffsetHigh = static_cast<DWORD>(where >> 32);
      const DWORD want = static_cast<DWORD>(std::min<std::size_t>(count - done, 1u << 30));
      DWORD got = 0;
      if (!ReadFile(file_.get(), out + done, want, &got, &at) || got == 0) break;
      done += got;
    }
    return done;
  }

 private:
  UniqueHandle file_;
  std::uint64_t size_;
};

class FileWriterWin : public FileWriter {
 public:
  FileWriterWin(UniqueHandle file, std::wstring partial, std::wstring target)
      : file_(std::move(file)), partial_(std::move(partial)), target_(std::move(target)) {}
  ~FileWriterWin() override {
    if (committed_) return;
    file_.reset();
    DeleteFileW(partial_.c_str());
  }
  bool append(const char* bytes, std::size_t count) override {
    if (!writeAt(end_, bytes, count)) return false;
    end_ += count;
    return true;
  }
  bool writeAt(std::uint64_t offset, const char* bytes, std::size_t count) override {
    std::size_t done = 0;
    while (done < count) {
      OVERLAPPED at{};
      const std::uint64_t where = offset + done;
      at.Offset = static_cast<DWORD>(where);
      at.OffsetHigh = static_cast<DWORD>(where >> 32);
      const DWORD want = static_cast<DWORD>(std::min<std::size_t>(count - done, 1u << 30));
      DWORD put = 0;
      if (!WriteFile(file_.get(), bytes + done, want, &put, &at) || put == 0) return false;
      done += put;
    }
    return true;
  }
  bool commit() override {
    if (!FlushFileBuffers(file_.get())) return false;
    file_.reset();
    if (!MoveFileExW(partial_.c_str(), target_.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return false;
    committed_ = true;
    return true;
  }

 private:
  UniqueHandle file_;
  std::wstring partial_, target_;
  std::uint64_t end_ = 0;
  bool committed_ = false;
};

}  // namespace

std::optional<FileStamp> WinAudioFiles::stamp(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA a{};
  if (!GetFileAttributesExW(WidePath(path).c_str(), GetFileExInfoStandard, &a)) return std::nullopt;
  if (a.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return std::nullopt;
  FileStamp s;
  s.size = (static_cast<std::uint64_t>(a.nFileSizeHigh) << 32) | a.nFileSizeLow;
  s.modified = FileTimeValue(a.ftLastWriteTime);
  return s;
}

std::unique_ptr<ByteReader> WinAudioFiles::open(const std::string& path) {
  UniqueHandle file(OpenHandle(WidePath(path), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                               OPEN_EXISTING));
  LARGE_INTEGER size{};
  if (!file || !GetFileSizeEx(file.get(), &size)) return nullptr;
  return std::make_unique<FileReader>(std::move(file), static_cast<std::uint64_t>(size.QuadPart));
}

std::unique_ptr<FileWriter> WinAudioFiles::create(const std::string& path) {
  // Beside its place, so the final move stays on one volume.
  std::wstring target = WidePath(path), partial = WidePath(PartialPath(path));
  UniqueHandle file(OpenHandle(partial, GENERIC_WRITE, 0, CREATE_ALWAYS));
  if (!file) return nullptr;
  return std::make_unique<FileWriterWin>(std::move(file), std::move(partial), std::move(target));
}

bool WinAudioFiles::remove(const std::string& path) { return DeleteFileW(WidePath(path).c_str()) != 0; }

void WinAudioFiles::touch(const std::string& path) {
  UniqueHandle file(OpenHandle(WidePath(path), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                               OPEN_EXISTING));
  if (!file) return;
  FILETIME now;
  GetSystemTimeAsFileTime(&now);
  SetFileTime(file.get(), nullptr, nullptr, &now);
}

std::uint64_t WinAudioFiles::now() {
  FILETIME now;
  GetSystemTimeAsFileTime(&now);
  return FileTimeValue(now);
}

std::vector<CachedFile> WinAudioFiles::list(const std::string& folder) {
  std::vector<CachedFile> out;
  WIN32_FIND_DATAW fd;
  UniqueFind find(FindFirstFileExW(Widen(folder + "\\*").c_str(), FindExInfoBasic, &fd, FindExSearchNameMatch, nullptr, 0));
  if (!find.valid()) return out;
  do {
    if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    CachedFile f;
    f.path = folder + "\\" + Narrow(fd.cFileName);
    f.stamp.size = (static_cast<std::uint64_t>(fd.nFileSizeHigh) << 32) | fd.nFileSizeLow;
    f.stamp.modified = FileTimeValue(fd.ftLastWriteTime);
    out.push_back(std::move(f));
  } while (FindNextFileW(find.get(), &fd));
  return out;
}

std::string LocalAppDataFolder() {
  PWSTR path = nullptr;
  std::string folder;
  if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_LocalAppData, KF_FLAG_CREATE, nullptr, &path))) folder = Narrow(path);
  CoTaskMemFree(path);  // owed even when the call fails
  return folder;
}

std::string WinAudioFiles::cacheFolder() {
  const std::string base = LocalAppDataFolder();
  if (base.empty()) return "";
  std::string folder = base;
  for (const char* part : {"\\Orvalen", "\\convertidos"}) {
    folder += part;
    if (!CreateDirectoryW(Widen(folder).c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) return "";
  }
  return folder;
}

}  // namespace orv::win
