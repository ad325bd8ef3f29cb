// Figures of the real program over time, under the simulated host:
//   runtime_bench idle SECONDS     CPU use of the idle program
//   runtime_bench playing SECONDS  CPU use while a long message plays
//   runtime_bench drift SECONDS    schedule drift of a slot firing every 10 s
// Reports figures; never fails. Wine does not report another process's CPU
// times: tools/cpu-bench.sh measures those from the Linux side.
#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "tests/e2e/e2e_support.h"

using namespace orv::e2e;

namespace {

double CpuSeconds(DWORD pid) {
  HANDLE h = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
  if (!h) return -1;
  FILETIME c, e, k, u;
  double s = -1;
  if (GetProcessTimes(h, &c, &e, &k, &u)) {
    auto v = [](FILETIME f) { return (static_cast<unsigned long long>(f.dwHighDateTime) << 32 | f.dwLowDateTime) / 1e7; };
    s = v(k) + v(u);
  }
  CloseHandle(h);
  return s;
}

void OneSlot(const TempFolder& dir, const std::string& name, int interval) {
  WriteFileBytes(dir.file(L"orvalen.txt"), OneSlotList(name, std::to_string(interval)));
}

double NowSeconds() {  // seconds of the local day, as the host log writes them
  SYSTEMTIME t;
  GetLocalTime(&t);
  return t.wHour * 3600 + t.wMinute * 60 + t.wSecond + t.wMilliseconds / 1000.0;
}

double Seconds(const std::string& line) {  // "YYYY-MM-DD HH:MM:SS.mmm ..."
  return std::stoi(line.substr(11, 2)) * 3600 + std::stoi(line.substr(14, 2)) * 60 + std::stod(line.substr(17, 6));
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  std::wstring mode = argc > 1 ? argv[1] : L"idle";
  int seconds = argc > 2 ? _wtoi(argv[2]) : 60;
  TempFolder dir;
  if (mode == L"playing") {
    // The slot fires once, S + 1 ticks after start-up, and not again while
    // the message plays.
    WriteWav(dir.file(L"longa.wav"), seconds + 10.0);
    OneSlot(dir, "longa.wav", seconds + 30);
  } else if (mode == L"drift") {
    WriteWav(dir.file(L"curta.wav"), 0.5);
    OneSlot(dir, "curta.wav", 9);
  }
  RunningProgram p(dir, L"--host=simulator --host-log=host.log");
  if (!p.WaitForMainWindow(30s)) {
    std::printf("no window\n");
    return 0;
  }
  double armedAt = 0;
  if (mode == L"drift") {
    // "RF + IP": the send is logged by the tick itself, with no playback
    // graph to build in between. Two clicks: the first clears both boxes.
    ClickWindow(p.control(1041));
    WaitUntil([&] { return !IsWindowEnabled(p.control(1041)) || p.Check(1040) == 0; }, 5s);
    ClickWindow(p.control(1041));
    WaitUntil([&] { return p.Check(1041) == 1; }, 5s);
    // Armed again by a click of our own, so the arming time is known: a sent
    // click returns once the program has armed the slot.
    SendMessageW(p.control(1001), BM_CLICK, 0, 0);
    const double before = NowSeconds();
    SendMessageW(p.control(1001), BM_CLICK, 0, 0);
    const double after = NowSeconds();
    armedAt = after;
    std::printf("armed within %.1f ms\n", 1000 * (after - before));
  }
  if (mode == L"playing") WaitUntil([&] { return p.Text(1050) == "PTT ON"; }, std::chrono::seconds(seconds + 40));
  Sleep(2000);
  double cpu0 = CpuSeconds(p.pid());
  auto t0 = GetTickCount64();
  Sleep(static_cast<DWORD>(seconds) * 1000);
  double cpu = CpuSeconds(p.pid()) - cpu0;
  double wall = (GetTickCount64() - t0) / 1000.0;
  if (mode != L"drift") {
    std::printf("%ls: %.2f s of CPU in %.0f s: %.2f%% of one core\n", mode.c_str(), cpu, wall, 100 * cpu / wall);
  } else {
    // Interval 9: the slot sends on every tenth second after arming.
    std::vector<double> offsets;
    for (const auto& l : ReadLines(dir.file(L"host.log")))
      if (LogOperation(l).rfind("TransmitFile(", 0) == 0) {
        const double t = Seconds(l) - armedAt;
        offsets.push_back(t - 10.0 * std::llround(t / 10.0));
      }
    if (offsets.size() >= 3) {
      std::vector<double> sorted = offsets;
      std::sort(sorted.begin(), sorted.end());
      auto at = [&](double q) { return 1000 * sorted[static_cast<size_t>(q * (sorted.size() - 1) + 0.5)]; };
      // Trend: least-squares slope of offset over firing time.
      const double n = static_cast<double>(offsets.size());
      double sx = 0, sy = 0, sxx = 0, sxy = 0;
      for (size_t i = 0; i < offsets.size(); ++i) {
        const double x = 10.0 * (i + 1);
        sx += x; sy += offsets[i]; sxx += x * x; sxy += x * offsets[i];
      }
      const double slope = (n * sxy - sx * sy) / (n * sxx - sx * sx);
      if (_wgetenv(L"ORV_BENCH_VERBOSE")) {
        for (size_t i = 0; i < offsets.size(); ++i) std::printf("%zu %.1f\n", i + 1, 1000 * offsets[i]);
        // The calls around each firing show where a late one lost its time.
        CopyFileW(dir.file(L"host.log").c_str(), L"drift-host.log", FALSE);
      }
      std::printf("drift: %zu firings in %.0f s; offset from arming + n s, ms: min %.1f median %.1f p95 %.1f "
                  "max %.1f; slope %.2f ms per hour\n",
                  offsets.size(), wall, at(0), at(0.5), at(0.95), at(1), slope * 3600 * 1000);
    } else {
      std::printf("drift: only %zu firings\n", offsets.size());
    }
  }
  ClickWindow(p.control(1061));
  p.WaitForExit();
  return 0;
}
