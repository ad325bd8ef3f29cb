#include "audio/host_format.h"

#include <algorithm>
#include <cmath>

#include "audio/resampler.h"

namespace orv {

namespace {

void Put16(std::string& s, std::uint32_t v) {
  s += static_cast<char>(v & 0xFF);
  s += static_cast<char>((v >> 8) & 0xFF);
}
void Put32(std::string& s, std::uint32_t v) {
  Put16(s, v & 0xFFFF);
  Put16(s, v >> 16);
}

}  // namespace

std::vector<std::uint8_t> QuantizeTo8Bit(const std::vector<float>& samples) {
  std::vector<std::uint8_t> out(samples.size());
  std::uint32_t state = 0x9E3779B9u;
  auto uniform = [&state] {  // xorshift32, in [0, 1)
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return static_cast<float>(state >> 8) * (1.0f / 16777216.0f);
  };
  for (std::size_t i = 0; i < samples.size(); ++i) {
    const float dither = uniform() - uniform();  // triangular over +-1 step
    const float v = std::floor(128.0f + samples[i] * 128.0f + dither + 0.5f);
    out[i] = static_cast<std::uint8_t>(std::clamp(v, 0.0f, 255.0f));
  }
  return out;
}

std::string WriteWav8Mono(const std::vector<std::uint8_t>& samples, std::uint32_t rate) {
  const auto n = static_cast<std::uint32_t>(samples.size());
  std::string s;
  s.reserve(44 + n + 1);
  s += "RIFF";
  Put32(s, 36 + n + (n & 1));
  s += "WAVEfmt ";
  Put32(s, 16);
  Put16(s, 1);      // PCM
  Put16(s, 1);      // mono
  Put32(s, rate);
  Put32(s, rate);   // bytes per second
  Put16(s, 1);      // block
  Put16(s, 8);
  s += "data";
  Put32(s, n);
  s.append(reinterpret_cast<const char*>(samples.data()), samples.size());
  if (n & 1) s += '\0';
  return s;
}

std::string ConvertToHostWav(const MonoAudio& audio) {
  return WriteWav8Mono(QuantizeTo8Bit(ResampleTo8000(audio.samples, audio.sampleRate)), kHostRate);
}

}  // namespace orv
