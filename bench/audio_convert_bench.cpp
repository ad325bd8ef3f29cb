// Converting a 60 s 44.1 kHz 16-bit stereo message to the host's format: the
// read, the mixdown, the resampling and the 8-bit file, end to end.
#include <chrono>
#include <cmath>
#include <numbers>
#include <cstdio>
#include <ctime>

#include "audio/host_format.h"
#include "audio/tests/wav_bytes.h"
#include "audio/wav_reader.h"

int main() {
  using namespace orv;
  const test::WavShape shape{1, 16, 2, 44100, false};
  const double seconds = 60;
  const std::string wav = test::MakeWav(shape, static_cast<std::size_t>(seconds * shape.rate), [](std::size_t i, int c) {
    return 0.4 * std::sin(2 * std::numbers::pi * (c ? 440.0 : 1250.0) * static_cast<double>(i) / 44100) +
           0.1 * std::sin(2 * std::numbers::pi * 5000.0 * static_cast<double>(i) / 44100);
  });

  const int runs = 5;
  double best = 1e9, bestCpu = 1e9;
  std::size_t outBytes = 0;
  for (int r = 0; r < runs; ++r) {
    const std::clock_t c0 = std::clock();
    const auto t0 = std::chrono::steady_clock::now();
    const WavDecode d = DecodeWavMono(wav);
    const std::string out = ConvertToHostWav(d.audio);
    const auto t1 = std::chrono::steady_clock::now();
    const std::clock_t c1 = std::clock();
    outBytes = out.size();
    bestCpu = std::min(bestCpu, 1000.0 * static_cast<double>(c1 - c0) / CLOCKS_PER_SEC);
    best = std::min(best, std::chrono::duration<double, std::milli>(t1 - t0).count());
  }
  std::printf("audio_convert: %.0f s of 44100 Hz 16-bit stereo (%zu bytes) -> %zu bytes of 8000 Hz 8-bit mono\n",
              seconds, wav.size(), outBytes);
  // CPU time too: on a shared machine the wall clock also counts other work.
  std::printf("audio_convert: best of %d: %.1f ms wall, %.1f ms CPU (target < 100 ms), %.0fx real time\n", runs,
              best, bestCpu, seconds * 1000 / best);
  return 0;
}
