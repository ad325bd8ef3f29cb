#include "audio/wav_reader.h"

#include <cmath>
#include <cstring>

namespace orv {

namespace {

constexpr std::uint16_t kTagPcm = 1, kTagAdpcm = 2, kTagFloat = 3, kTagALaw = 6, kTagMuLaw = 7,
                        kTagImaAdpcm = 0x11, kTagMp3 = 0x55, kTagExtensible = 0xFFFE;
// Far outside anything recorded, yet small enough that filters stay small.
constexpr std::uint32_t kMinRate = 1000, kMaxRate = 768000;

std::uint16_t U16(std::string_view b, std::size_t at) {
  return static_cast<std::uint16_t>(static_cast<unsigned char>(b[at]) | static_cast<unsigned char>(b[at + 1]) << 8);
}
std::uint32_t U32(std::string_view b, std::size_t at) {
  return static_cast<std::uint32_t>(U16(b, at)) | static_cast<std::uint32_t>(U16(b, at + 2)) << 16;
}

AudioError ReadFormat(std::string_view fmt, AudioFormat& f, int& blockAlign) {
  if (fmt.size() < 16) return AudioError::Corrupt;
  std::uint16_t tag = U16(fmt, 0);
  f.channels = U16(fmt, 2);
  f.sampleRate = U32(fmt, 4);
  blockAlign = U16(fmt, 12);
  f.bits = U16(fmt, 14);
  if (tag == kTagExtensible) {
    // cbSize, valid bits, channel mask, then the sub-format GUID whose first
    // two bytes are the plain format tag.
    if (fmt.size() < 40 || U16(fmt, 16) < 22) return AudioError::Corrupt;
    tag = U16(fmt, 24);
    f.extensible = true;
  }
  f.formatTag = tag;
  if (f.channels == 0 || f.sampleRate == 0 || blockAlign == 0) return AudioError::Corrupt;
  switch (tag) {
    case kTagPcm:
      f.encoding = SampleEncoding::Pcm;
      if (f.bits != 8 && f.bits != 16 && f.bits != 24 && f.bits != 32) return AudioError::Unsupported;
      break;
    case kTagFloat:
      f.encoding = SampleEncoding::Float;
      if (f.bits != 32 && f.bits != 64) return AudioError::Unsupported;
      break;
    case kTagMuLaw:
    case kTagALaw:
      f.encoding = tag == kTagMuLaw ? SampleEncoding::MuLaw : SampleEncoding::ALaw;
      if (f.bits != 8) return AudioError::Unsupported;
      break;
    default:
      f.encoding = SampleEncoding::Compressed;
      return AudioError::None;
  }
  if (blockAlign != f.channels * (f.bits / 8)) return AudioError::Corrupt;
  if (f.sampleRate < kMinRate || f.sampleRate > kMaxRate) return AudioError::Unsupported;
  return AudioError::None;
}

float MuLaw(unsigned char c) {
  c = static_cast<unsigned char>(~c);
  const int exponent = (c >> 4) & 7, mantissa = c & 15;
  const int magnitude = ((mantissa << 3) + 0x84) << exponent;
  return static_cast<float>((c & 0x80) ? 0x84 - magnitude : magnitude - 0x84) / 32768.0f;
}

float ALaw(unsigned char c) {
  c ^= 0x55;
  const int exponent = (c >> 4) & 7, mantissa = c & 15;
  int magnitude = exponent == 0 ? (mantissa << 4) + 8 : ((mantissa << 4) + 0x108) << (exponent - 1);
  return static_cast<float>((c & 0x80) ? magnitude : -magnitude) / 32768.0f;
}

// One sample of the given encoding at `p`.
template <int Bytes>
float PcmSample(const unsigned char* p) {
  if constexpr (Bytes == 1) return (static_cast<int>(p[0]) - 128) / 128.0f;
  if constexpr (Bytes == 2) return static_cast<std::int16_t>(p[0] | p[1] << 8) / 32768.0f;
  if constexpr (Bytes == 3) {
    const std::int32_t v = static_cast<std::int32_t>(static_cast<std::uint32_t>(p[0] << 8 | p[1] << 16 | p[2] << 24));
    return static_cast<float>(v / 256) / 8388608.0f;
  }
  if constexpr (Bytes == 4) {
    const std::int32_t v =
        static_cast<std::int32_t>(static_cast<std::uint32_t>(p[0] | p[1] << 8 | p[2] << 16) | static_cast<std::uint32_t>(p[3]) << 24);
    return static_cast<float>(static_cast<double>(v) / 2147483648.0);
  }
}

template <class Sample>
void Mix(const unsigned char* p, std::size_t frames, int channels, int bytes, float* out, Sample sample) {
  const float scale = 1.0f / static_cast<float>(channels);
  for (std::size_t i = 0; i < frames; ++i) {
    float sum = 0;
    for (int c = 0; c < channels; ++c, p += bytes) sum += sample(p);
    out[i] = channels == 1 ? sum : sum * scale;
  }
}

float FloatSample(const unsigned char* p) {
  float v;
  std::memcpy(&v, p, 4);
  return std::isfinite(v) ? v : 0.0f;
}
float DoubleSample(const unsigned char* p) {
  double v;
  std::memcpy(&v, p, 8);
  return std::isfinite(v) ? static_cast<float>(v) : 0.0f;
}

}  // namespace

WavParse ParseWav(std::string_view b) {
  WavParse r;
  if (b.size() < 12 || b.substr(0, 4) != "RIFF" || b.substr(8, 4) != "WAVE") {
    r.error = AudioError::NotAudio;
    return r;
  }
  // The RIFF size is often wrong in the wild: the chunks themselves decide.
  bool haveFormat = false, haveData = false;
  AudioError formatError = AudioError::None;
  std::size_t at = 12;
  std::size_t dataOffset = 0, dataBytes = 0;
  bool dataCut = false;
  while (b.size() - at >= 8) {
    const std::string_view id = b.substr(at, 4);
    const std::uint32_t size = U32(b, at + 4);
    const std::size_t body = at + 8;
    const std::size_t left = b.size() - body;
    if (id == "data") {
      haveData = true;
      dataOffset = body;
      // 0xFFFFFFFF is what streaming recorders leave: the sound runs to the end.
      if (size == 0xFFFFFFFFu) dataBytes = left;
      else if (size > left) dataBytes = left, dataCut = true;
      else dataBytes = size;
      if (haveFormat) break;
    } else if (id == "fmt ") {
      if (size > left) {
        r.error = AudioError::Truncated;
        return r;
      }
      haveFormat = true;
      formatError = ReadFormat(b.substr(body, size), r.layout.format, r.layout.blockAlign);
      if (haveData) break;
    }
    if (size > left) break;
    at = body + size + (size & 1);
    if (at > b.size()) break;
  }
  if (!haveFormat) {
    r.error = haveData ? AudioError::Corrupt : AudioError::Truncated;
    return r;
  }
  if (formatError != AudioError::None) {
    r.error = formatError;
    return r;
  }
  if (!haveData) {
    r.error = AudioError::Truncated;
    return r;
  }
  if (dataCut) {
    r.error = AudioError::Truncated;
    return r;
  }
  const auto block = static_cast<std::size_t>(r.layout.blockAlign);
  r.layout.dataOffset = dataOffset;
  r.layout.dataBytes = dataBytes - dataBytes % block;
  if (r.layout.format.encoding != SampleEncoding::Compressed)
    r.layout.seconds = static_cast<double>(r.layout.dataBytes / block) / r.layout.format.sampleRate;
  return r;
}

WavDecode DecodeWavMono(std::string_view b) {
  WavDecode d;
  const WavParse parsed = ParseWav(b);
  d.format = parsed.layout.format;
  if (parsed.error != AudioError::None) {
    d.error = parsed.error;
    return d;
  }
  const AudioFormat& f = parsed.layout.format;
  if (f.encoding == SampleEncoding::Compressed) {
    d.error = AudioError::Unsupported;
    return d;
  }
  const int bytes = f.bits / 8;
  const std::size_t frames = parsed.layout.dataBytes / static_cast<std::size_t>(parsed.layout.blockAlign);
  d.audio.sampleRate = f.sampleRate;
  d.audio.samples.resize(frames);
  const auto* p = reinterpret_cast<const unsigned char*>(b.data() + parsed.layout.dataOffset);
  float* out = d.audio.samples.data();
  const int ch = f.channels;
  switch (f.encoding) {
    case SampleEncoding::Pcm:
      // Lambdas rather than function pointers, so the sample read is inlined.
      if (bytes == 1) Mix(p, frames, ch, 1, out, [](const unsigned char* q) { return PcmSample<1>(q); });
      else if (bytes == 2) Mix(p, frames, ch, 2, out, [](const unsigned char* q) { return PcmSample<2>(q); });
      else if (bytes == 3) Mix(p, frames, ch, 3, out, [](const unsigned char* q) { return PcmSample<3>(q); });
      else Mix(p, frames, ch, 4, out, [](const unsigned char* q) { return PcmSample<4>(q); });
      break;
    case SampleEncoding::Float:
      if (bytes == 4) Mix(p, frames, ch, 4, out, [](const unsigned char* q) { return FloatSample(q); });
      else Mix(p, frames, ch, 8, out, [](const unsigned char* q) { return DoubleSample(q); });
      break;
    case SampleEncoding::MuLaw: Mix(p, frames, ch, 1, out, [](const unsigned char* q) { return MuLaw(*q); }); break;
    case SampleEncoding::ALaw: Mix(p, frames, ch, 1, out, [](const unsigned char* q) { return ALaw(*q); }); break;
    case SampleEncoding::Compressed: break;
  }
  return d;
}

bool IsHostFormat(const AudioFormat& f) {
  return f.formatTag == kTagPcm && !f.extensible && f.bits == 8 && f.channels == 1 && f.sampleRate == kHostRate;
}

std::string DescribeFormat(const AudioFormat& f) {
  std::string s;
  switch (f.encoding) {
    case SampleEncoding::Pcm: s.append("PCM ").append(std::to_string(f.bits)).append(" bits"); break;
    case SampleEncoding::Float: s.append("PCM ponto flutuante ").append(std::to_string(f.bits)).append(" bits"); break;
    case SampleEncoding::MuLaw: s = "\xc2\xb5-law 8 bits"; break;
    case SampleEncoding::ALaw: s = "A-law 8 bits"; break;
    case SampleEncoding::Compressed:
      if (f.formatTag == kTagAdpcm || f.formatTag == kTagImaAdpcm) s = "ADPCM";
      else if (f.formatTag == kTagMp3) s = "MP3";
      else {
        static const char* hex = "0123456789ABCDEF";
        s = "WAV comprimido (formato 0x";
        for (int shift = 12; shift >= 0; shift -= 4) s += hex[(f.formatTag >> shift) & 15];
        s += ")";
      }
      break;
  }
  if (f.channels == 1) s += " mono";
  else if (f.channels == 2) s += " est\xc3\xa9reo";
  else s.append(" ").append(std::to_string(f.channels)).append(" canais");
  s.append(" ").append(std::to_string(f.sampleRate)).append(" Hz");
  return s;
}

}  // namespace orv
