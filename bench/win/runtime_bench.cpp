// Figures of the real program over time, under the simulated host:
//   runtime_bench idle SECONDS     CPU use of the idle program
//   runtime_bench playing SECONDS  CPU use while a long message plays
//   runtime_bench drift SECONDS    schedule drift of a slot firing every 10 s
// Reports figures; never fails. Wine does not report another process's CPU
// times: tools/cpu-bench.sh measures those from the Linux side.
#include <windows.h>

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
  if (mode == L"drift") {
    // "RF + IP": the send is logged by the tick itself, with no playback
    // graph to build in between. Two clicks: the first clears both boxes.
    ClickWindow(p.control(1041));
    WaitUntil([&] { return !IsWindowEnabled(p.control(1041)) || p.Check(1040) == 0; }, 5s);
    ClickWindow(p.control(1041));
    WaitUntil([&] { return p.Check(1041) == 1; }, 5s);
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
    std::vector<double> fired;
    for (const auto& l : ReadLines(dir.file(L"host.log")))
      if (LogOperation(l).rfind("TransmitFile(", 0) == 0) fired.push_back(Seconds(l));
    if (fired.size() >= 3) {
      // The period is the least-squares slope of firing time over firing
      // number; interval 9 fires every 10 s.
      const double n = static_cast<double>(fired.size());
      double sx = 0, sy = 0, sxx = 0, sxy = 0;
      for (size_t i = 0; i < fired.size(); ++i) {
        sx += i; sy += fired[i]; sxx += double(i) * i; sxy += i * fired[i];
      }
      const double period = (n * sxy - sx * sy) / (n * sxx - sx * sx);
      const double span = fired.back() - fired.front();
      double worst = 0;
      if (_wgetenv(L"ORV_BENCH_VERBOSE"))
        for (size_t i = 0; i < fired.size(); ++i) std::printf("%zu %.3f\n", i, fired[i] - (fired.front() + 10.0 * i));
      for (size_t i = 0; i < fired.size(); ++i) {
        double off = fired[i] - (fired.front() + 10.0 * i);
        if (off < 0) off = -off;
        if (off > worst) worst = off;
      }
      std::printf("drift: %zu firings over %.1f s, period %.5f s: %.4f s per hour; first to last %.3f s off; "
                  "worst single firing %.3f s off\n",
                  fired.size(), span, period, (period - 10.0) / 10.0 * 3600, span - (n - 1) * 10.0, worst);
    } else {
      std::printf("drift: only %zu firings\n", fired.size());
    }
  }
  ClickWindow(p.control(1061));
  p.WaitForExit();
  return 0;
}
