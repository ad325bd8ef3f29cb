// Converting messages to the host's format, with the time it takes and the
// most heap it holds at once:
//   - a 60 s 44.1 kHz 16-bit stereo message held in memory and converted
//     whole (what tests and small in-memory files use);
//   - a 1-hour 44.1 kHz 16-bit stereo file converted as the worker does it:
//     read a block at a time from a file that makes its bytes as they are
//     read, written to a file that only counts its bytes, so the figures are
//     the conversion's own.
#include <malloc.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <new>
#include <numbers>

#include "audio/host_format.h"
#include "audio/tests/wav_bytes.h"
#include "audio/wav_reader.h"

namespace {

std::atomic<std::size_t> live{0}, peak{0};

void Note(void* p) {
  const std::size_t now = live += malloc_usable_size(p);
  for (std::size_t seen = peak; now > seen && !peak.compare_exchange_weak(seen, now);) {
  }
}

}  // namespace

void* operator new(std::size_t n) {
  void* p = std::malloc(n ? n : 1);
  if (!p) throw std::bad_alloc();
  Note(p);
  return p;
}
void* operator new[](std::size_t n) { return operator new(n); }
void operator delete(void* p) noexcept {
  if (!p) return;
  live -= malloc_usable_size(p);
  std::free(p);
}
void operator delete[](void* p) noexcept { operator delete(p); }
void operator delete(void* p, std::size_t) noexcept { operator delete(p); }
void operator delete[](void* p, std::size_t) noexcept { operator delete(p); }

namespace {

using namespace orv;

// Two tones, a whole number of cycles a second: one second of frames,
// repeated, is the whole sound.
double Tone(std::size_t i, int c) {
  return 0.4 * std::sin(2 * std::numbers::pi * (c ? 440.0 : 1250.0) * static_cast<double>(i) / 44100) +
         0.1 * std::sin(2 * std::numbers::pi * 5000.0 * static_cast<double>(i) / 44100);
}

class GeneratedWav : public ByteReader {
 public:
  explicit GeneratedWav(double seconds) {
    const std::string second = test::MakeWav({1, 16, 2, 44100}, 44100, Tone);
    header_ = second.substr(0, 44);
    period_ = second.substr(44);
    const std::uint64_t bytes = static_cast<std::uint64_t>(seconds) * period_.size();
    header_.replace(40, 4, std::string{char(bytes), char(bytes >> 8), char(bytes >> 16), char(bytes >> 24)});
    size_ = 44 + bytes;
  }
  std::uint64_t size() const override { return size_; }
  std::size_t read(std::uint64_t offset, char* out, std::size_t count) override {
    std::size_t done = 0;
    for (; done < count && offset + done < size_; ++done) {
      const std::uint64_t at = offset + done;
      if (at < 44) {
        out[done] = header_[at];
        continue;
      }
      // A run of the repeating second at once.
      const std::size_t in = static_cast<std::size_t>((at - 44) % period_.size());
      const std::size_t n = std::min<std::uint64_t>({count - done, period_.size() - in, size_ - at});
      std::memcpy(out + done, period_.data() + in, n);
      done += n - 1;
    }
    return done;
  }

 private:
  std::string header_, period_;
  std::uint64_t size_ = 0;
};

struct CountingFile : FileWriter {
  bool append(const char*, std::size_t n) override {
    bytes += n;
    return true;
  }
  bool writeAt(std::uint64_t offset, const char* b, std::size_t n) override {
    if (offset == 0 && n >= 44) std::memcpy(header, b, 44);
    return true;
  }
  bool commit() override { return true; }
  std::uint64_t bytes = 0;
  char header[44] = {};
};

double CpuMs(std::clock_t from) { return 1000.0 * static_cast<double>(std::clock() - from) / CLOCKS_PER_SEC; }

}  // namespace

int main() {
  {
    const std::string wav = test::MakeWav({1, 16, 2, 44100}, 60 * 44100, Tone);
    const int runs = 5;
    double best = 1e9, bestCpu = 1e9;
    std::size_t outBytes = 0, heap = 0;
    for (int r = 0; r < runs; ++r) {
      peak = live.load();
      const std::size_t before = live;
      const std::clock_t c0 = std::clock();
      const auto t0 = std::chrono::steady_clock::now();
      const WavDecode d = DecodeWavMono(wav);
      const std::string out = ConvertToHostWav(d.audio);
      const auto t1 = std::chrono::steady_clock::now();
      bestCpu = std::min(bestCpu, CpuMs(c0));
      best = std::min(best, std::chrono::duration<double, std::milli>(t1 - t0).count());
      outBytes = out.size();
      heap = peak - before;
    }
    std::printf("audio_convert: 60 s of 44100 Hz 16-bit stereo in memory (%zu bytes) -> %zu bytes of 8000 Hz 8-bit mono\n",
                wav.size(), outBytes);
    // CPU time too: on a shared machine the wall clock also counts other work.
    std::printf("audio_convert:   best of %d: %.1f ms wall, %.1f ms CPU (target < 100 ms), %.0fx real time; "
                "heap held %.1f MB, %.1fx the file\n",
                runs, best, bestCpu, 60 * 1000 / best, heap / 1e6, static_cast<double>(heap) / static_cast<double>(wav.size()));
  }
  {
    GeneratedWav file(3600);
    CountingFile copy;
    peak = live.load();
    const std::size_t before = live;
    const std::clock_t c0 = std::clock();
    const auto t0 = std::chrono::steady_clock::now();
    const WavParse parsed = ParseWav(file);
    HostWavWriter writer(copy, 4 * 3600);
    const AudioError error = DecodeWav(file, parsed.layout, writer);
    const bool whole = error == AudioError::None && writer.finish();
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    const double cpu = CpuMs(c0) / 1000;
    const std::size_t heap = peak - before;
    const WavParse made = ParseWav(std::string_view(copy.header, 44));
    std::printf("audio_convert: 1 h of 44100 Hz 16-bit stereo streamed from its file (%llu bytes) -> %llu bytes, %s\n",
                static_cast<unsigned long long>(file.size()), static_cast<unsigned long long>(copy.bytes),
                whole && made.layout.format.sampleRate == 8000 ? "whole" : "NOT WHOLE");
    std::printf("audio_convert:   %.1f s wall, %.1f s CPU, %.0fx real time; heap held %.2f MB (target < 64 MB), "
                "1/%.0f of the file\n",
                wall, cpu, 3600 / wall, heap / 1e6, static_cast<double>(file.size()) / static_cast<double>(heap));
  }
  return 0;
}
