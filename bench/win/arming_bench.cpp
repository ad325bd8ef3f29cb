// The window's thread while nine large messages are armed in RF + IP mode,
// under the simulated host: the longest it kept a sent message waiting, the
// longest its clock stood still, and how long the worker took to make the
// nine copies beside it.
//   arming_bench [MINUTES]   each message MINUTES long (20 unless told),
//                            48 kHz 16-bit stereo
// Reports figures; never fails.
#include <windows.h>
#include <knownfolders.h>
#include <shlobj.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "tests/e2e/e2e_support.h"

using namespace orv::e2e;

namespace {

constexpr int kCheckBase = 1001, kCheck21 = 1041, kShowTime = 1051, kSair = 1061;

std::wstring CacheFolder() {
  PWSTR local = nullptr;
  std::wstring folder;
  if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_LocalAppData, 0, nullptr, &local))) folder = local;
  CoTaskMemFree(local);
  return folder + L"\\Orvalen\\convertidos";
}

// The copies whose notes name a file in `dir`, complete at `bytes`.
std::vector<std::wstring> CopiesOf(const std::wstring& dir, unsigned long long bytes) {
  std::string folded;
  for (wchar_t c : dir) folded += static_cast<char>(c >= L'A' && c <= L'Z' ? c - L'A' + L'a' : c == L'/' ? L'\\' : c);
  std::vector<std::wstring> found;
  const std::wstring cache = CacheFolder();
  WIN32_FIND_DATAW fd;
  HANDLE h = FindFirstFileW((cache + L"\\*.txt").c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return found;
  do {
    const std::wstring note = cache + L"\\" + fd.cFileName;
    if (ReadFileBytes(note).find(folded) == std::string::npos) continue;
    const std::wstring copy = note.substr(0, note.size() - 4) + L".wav";
    WIN32_FILE_ATTRIBUTE_DATA a{};
    if (GetFileAttributesExW(copy.c_str(), GetFileExInfoStandard, &a) &&
        (static_cast<unsigned long long>(a.nFileSizeHigh) << 32 | a.nFileSizeLow) == bytes)
      found.push_back(copy);
  } while (FindNextFileW(h, &fd));
  FindClose(h);
  return found;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const double minutes = argc > 1 ? _wtof(argv[1]) : 20;
  TempFolder dir;
  WriteWav(dir.file(L"grande1.wav"), minutes * 60, 48000, 16, 2);
  std::vector<std::pair<std::string, std::string>> slots{{"grande1.wav", "3600"}};
  for (int i = 2; i <= 9; ++i) {
    const std::wstring name = L"grande" + std::to_wstring(i) + L".wav";
    LinkFile(dir.file(L"grande1.wav"), dir.file(name));
    slots.push_back({"grande" + std::to_string(i) + ".wav", "3600"});
  }
  WriteFileBytes(dir.file(L"orvalen.txt"), SlotList(slots));
  RunningProgram p(dir, L"--host=simulator");
  if (!p.WaitForMainWindow(30s)) {
    std::printf("no window\n");
    return 0;
  }
  // Armed at start-up in "RF  -": nothing to convert yet. Unticked, the
  // mode switched, then armed again one by one, as an operator would.
  for (int i = 0; i < 9; ++i) SendMessageW(p.control(kCheckBase + i), BM_CLICK, 0, 0);
  SendMessageW(p.control(kCheck21), BM_CLICK, 0, 0);
  if (p.Check(kCheck21) != 1) SendMessageW(p.control(kCheck21), BM_CLICK, 0, 0);
  Sleep(1500);
  const unsigned long long bytes = 44 + static_cast<unsigned long long>(minutes * 60 * 8000);
  const ULONGLONG t0 = GetTickCount64();
  WindowWatch watch(p.mainWindow(), p.control(kShowTime));
  for (int i = 0; i < 9; ++i) PostMessageW(p.control(kCheckBase + i), BM_CLICK, 0, 0);
  std::vector<std::wstring> copies;
  const bool made = WaitUntil([&] { return (copies = CopiesOf(dir.path(), bytes)).size() >= 9; }, 600s, 100ms);
  const double seconds = (GetTickCount64() - t0) / 1000.0;
  Sleep(2000);
  watch.stop();
  std::printf("arming_bench: nine %.0f-minute 48 kHz 16-bit stereo messages armed in RF + IP\n", minutes);
  std::printf("arming_bench:   copies made: %zu of 9 in %.1f s%s\n", copies.size(), seconds, made ? "" : " (gave up)");
  std::printf("arming_bench:   window asked %d times: longest answer %lld ms (target < 100 ms), "
              "clock stood still at most %lld ms (target < 1100 ms)\n",
              watch.asked(), static_cast<long long>(watch.longestAnswer().count()),
              static_cast<long long>(watch.longestStill().count()));
  ClickWindow(p.control(kSair));
  p.WaitForExit();
  for (const std::wstring& copy : copies) {
    DeleteFileW(copy.c_str());
    DeleteFileW((copy.substr(0, copy.size() - 4) + L".txt").c_str());
  }
  return 0;
}
