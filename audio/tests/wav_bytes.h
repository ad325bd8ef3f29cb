#pragma once
// WAV files built in memory for the tests, in any of the layouts the reader
// meets: plain or extensible format chunk, any sample encoding.
#include <cmath>
#include <numbers>
#include <cstdint>
#include <cstring>
#include <functional>
#include <string>

namespace orv::test {

inline void Put16(std::string& s, unsigned v) {
  s += static_cast<char>(v & 0xFF);
  s += static_cast<char>((v >> 8) & 0xFF);
}
inline void Put32(std::string& s, std::uint32_t v) {
  Put16(s, v & 0xFFFF);
  Put16(s, v >> 16);
}

struct WavShape {
  unsigned tag = 1;          // 1 PCM, 3 float, 6 A-law, 7 mu-law, ...
  int bits = 16;
  int channels = 1;
  std::uint32_t rate = 8000;
  bool extensible = false;
};

inline std::string FormatChunk(const WavShape& w) {
  std::string f;
  const unsigned block = static_cast<unsigned>(w.channels * w.bits / 8);
  Put16(f, w.extensible ? 0xFFFE : w.tag);
  Put16(f, static_cast<unsigned>(w.channels));
  Put32(f, w.rate);
  Put32(f, w.rate * block);
  Put16(f, block);
  Put16(f, static_cast<unsigned>(w.bits));
  if (w.extensible) {
    Put16(f, 22);
    Put16(f, static_cast<unsigned>(w.bits));
    Put32(f, 0);
    Put16(f, w.tag);
    f += std::string("\x00\x00\x00\x00\x10\x00\x80\x00\x00\xAA\x00\x38\x9B\x71", 14);
  }
  return f;
}

inline std::string Chunk(const std::string& id, const std::string& body) {
  std::string c = id;
  Put32(c, static_cast<std::uint32_t>(body.size()));
  c += body;
  if (body.size() & 1) c += '\0';
  return c;
}

inline std::string Riff(const std::string& chunks) {
  std::string s = "RIFF";
  Put32(s, static_cast<std::uint32_t>(4 + chunks.size()));
  return s + "WAVE" + chunks;
}

// One sample of value v (full scale +-1) encoded as the shape says.
inline void PutSample(std::string& s, const WavShape& w, double v) {
  v = std::fmax(-1.0, std::fmin(v, 1.0));
  if (w.tag == 3 && w.bits == 32) {
    float f = static_cast<float>(v);
    char b[4];
    std::memcpy(b, &f, 4);
    s.append(b, 4);
  } else if (w.tag == 3) {
    char b[8];
    std::memcpy(b, &v, 8);
    s.append(b, 8);
  } else if (w.bits == 8) {
    s += static_cast<char>(static_cast<int>(std::lround(128 + v * 127)));
  } else {
    const double full = std::ldexp(1.0, w.bits - 1) - 1;
    auto q = static_cast<std::uint32_t>(static_cast<std::int64_t>(std::llround(v * full)));
    for (int i = 0; i < w.bits / 8; ++i) s += static_cast<char>((q >> (8 * i)) & 0xFF);
  }
}

// frames of sound, channel c of frame i being signal(i, c).
inline std::string MakeWav(const WavShape& w, std::size_t frames, const std::function<double(std::size_t, int)>& signal) {
  std::string data;
  data.reserve(frames * static_cast<std::size_t>(w.channels * w.bits / 8));
  for (std::size_t i = 0; i < frames; ++i)
    for (int c = 0; c < w.channels; ++c) PutSample(data, w, signal(i, c));
  return Riff(Chunk("fmt ", FormatChunk(w)) + Chunk("data", data));
}

inline std::string SineWav(const WavShape& w, double seconds, double hz, double amplitude = 0.5) {
  const auto frames = static_cast<std::size_t>(std::llround(seconds * w.rate));
  return MakeWav(w, frames, [&](std::size_t i, int) { return amplitude * std::sin(2 * std::numbers::pi * hz * i / w.rate); });
}

}  // namespace orv::test
