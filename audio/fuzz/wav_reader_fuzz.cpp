// Any bytes through the one WAV reader, twice: as a whole file, decoded and
// converted when they read; and as the head of a file up to a terabyte long
// (the rest zeros, its size from the input's last bytes), so chunk sizes
// near 2^32 and offsets past 4 GB are walked too, in 32-bit builds as well.
// No crash, no read outside the file, no walk without end, no sample that
// is not a number, a bounded output.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "audio/host_format.h"
#include "audio/tests/sparse_file.h"
#include "audio/wav_reader.h"

namespace {

void CheckLayout(const orv::WavParse& p, std::uint64_t size) {
  if (p.error != orv::AudioError::None) return;
  const orv::WavLayout& l = p.layout;
  if (l.blockAlign <= 0 || l.dataOffset > size || l.dataBytes > size - l.dataOffset) std::abort();
  if (l.dataBytes % static_cast<std::uint64_t>(l.blockAlign) != 0) std::abort();
  if (!std::isfinite(l.seconds) || l.seconds < 0) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);

  const orv::WavParse parsed = orv::ParseWav(bytes);
  CheckLayout(parsed, size);
  const orv::WavDecode d = orv::DecodeWavMono(bytes);
  if (d.error != orv::AudioError::None) {
    if (!d.audio.samples.empty() || orv::AudioErrorReason(d.error).empty()) std::abort();
  } else {
    if (d.audio.samples.size() > size) std::abort();
    for (float s : d.audio.samples)
      if (!std::isfinite(s)) std::abort();
    orv::DescribeFormat(d.format);
    const std::string out = orv::ConvertToHostWav(d.audio);
    if (orv::ParseWav(out).error != orv::AudioError::None) std::abort();
  }

  if (size >= 5) {
    std::uint64_t extra = 0;
    for (std::size_t i = size - 5; i < size; ++i) extra = extra << 8 | data[i];
    orv::test::SparseFile big(size + extra);
    big.place(0, std::string(bytes));
    const orv::WavParse p = orv::ParseWav(big);
    CheckLayout(p, big.size());
    // Two reads a chunk at most, and a bounded number of chunks.
    if (big.reads > 2 * 1024 + 2) std::abort();
    // The sound itself only when it is small: zeros take long to convert.
    if (p.error == orv::AudioError::None && p.layout.dataBytes <= 256 * 1024) {
      struct Finite : orv::MonoSink {
        bool start(std::uint32_t) override { return true; }
        bool take(const float* s, std::size_t n) override {
          for (std::size_t i = 0; i < n; ++i)
            if (!std::isfinite(s[i])) std::abort();
          return true;
        }
      } sink;
      orv::DecodeWav(big, p.layout, sink);
    }
  }
  return 0;
}
