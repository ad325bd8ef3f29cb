#include "audio/wav_reader.h"

#include <algorithm>
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

// Past this a sample is clipped: far beyond anything the 8-bit copy keeps,
// and small enough that 65535 channels mixed stay finite.
constexpr float kSampleLimit = 4.0f;

float Clipped(float v) { return v > kSampleLimit ? kSampleLimit : v < -kSampleLimit ? -kSampleLimit : v; }

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
  return std::isfinite(v) ? Clipped(v) : 0.0f;
}
float DoubleSample(const unsigned char* p) {
  double v;
  std::memcpy(&v, p, 8);
  if (!std::isfinite(v)) return 0.0f;
  return v > kSampleLimit ? kSampleLimit : v < -kSampleLimit ? -kSampleLimit : static_cast<float>(v);
}

void MixBlock(const AudioFormat& f, const unsigned char* p, std::size_t frames, float* out) {
  const int ch = f.channels;
  const int bytes = f.bits / 8;
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
}

// More chunks than any recorder writes: past them the file is taken as
// damaged rather than walked read by read.
constexpr int kMaxChunks = 1024;
// Bytes of sound read and mixed at a time.
constexpr std::size_t kBlockBytes = 64 * 1024;

}  // namespace

WavParse ParseWav(ByteReader& file) {
  WavParse r;
  const std::uint64_t size = file.size();
  char head[12];
  if (size < 12 || file.read(0, head, 12) != 12 || std::memcmp(head, "RIFF", 4) != 0 ||
      std::memcmp(head + 8, "WAVE", 4) != 0) {
    r.error = AudioError::NotAudio;
    return r;
  }
  // The RIFF size is often wrong in the wild: the chunks themselves decide.
  bool haveFormat = false, haveData = false, dataCut = false;
  AudioError formatError = AudioError::None;
  std::uint64_t at = 12, dataOffset = 0, dataBytes = 0;
  for (int chunks = 0; size - at >= 8; ++chunks) {
    if (chunks == kMaxChunks) {
      r.error = AudioError::Corrupt;
      return r;
    }
    char header[8];
    if (file.read(at, header, 8) != 8) {
      r.error = AudioError::CannotOpen;
      return r;
    }
    const std::string_view id(header, 4);
    const std::uint32_t chunkSize = U32(std::string_view(header, 8), 4);
    const std::uint64_t body = at + 8;
    const std::uint64_t left = size - body;
    if (id == "data") {
      haveData = true;
      dataOffset = body;
      // 0xFFFFFFFF is what streaming recorders leave: the sound runs to the end.
      if (chunkSize == 0xFFFFFFFFu) dataBytes = left;
      else if (chunkSize > left) dataBytes = left, dataCut = true;
      else dataBytes = chunkSize;
      if (haveFormat) break;
    } else if (id == "fmt ") {
      if (chunkSize > left) {
        r.error = AudioError::Truncated;
        return r;
      }
      haveFormat = true;
      // Nothing past the extensible format's 40 bytes is read.
      char fmt[40];
      const std::size_t want = std::min<std::uint32_t>(chunkSize, sizeof fmt);
      if (file.read(body, fmt, want) != want) {
        r.error = AudioError::CannotOpen;
        return r;
      }
      formatError = ReadFormat(std::string_view(fmt, want), r.layout.format, r.layout.blockAlign);
      if (haveData) break;
    }
    if (chunkSize > left) break;
    at = body + chunkSize + (chunkSize & 1);
    if (at > size) break;
  }
  if (!haveFormat) {
    r.error = haveData ? AudioError::Corrupt : AudioError::Truncated;
    return r;
  }
  if (formatError != AudioError::None) {
    r.error = formatError;
    return r;
  }
  if (!haveData || dataCut) {
    r.error = AudioError::Truncated;
    return r;
  }
  const auto block = static_cast<std::uint64_t>(r.layout.blockAlign);
  r.layout.dataOffset = dataOffset;
  r.layout.dataBytes = dataBytes - dataBytes % block;
  if (r.layout.format.encoding != SampleEncoding::Compressed)
    r.layout.seconds = static_cast<double>(r.layout.dataBytes / block) / r.layout.format.sampleRate;
  return r;
}

WavParse ParseWav(std::string_view bytes) {
  MemoryReader reader(bytes);
  return ParseWav(reader);
}

AudioError DecodeWav(ByteReader& file, const WavLayout& layout, MonoSink& sink) {
  const AudioFormat& f = layout.format;
  if (f.encoding == SampleEncoding::Compressed) return AudioError::Unsupported;
  const auto block = static_cast<std::size_t>(layout.blockAlign);
  if (block == 0 || f.channels <= 0) return AudioError::Corrupt;
  const std::size_t framesPerRead = std::max<std::size_t>(1, kBlockBytes / block);
  std::vector<char> bytes(framesPerRead * block);
  std::vector<float> mono(framesPerRead);
  if (!sink.start(f.sampleRate)) return AudioError::None;
  const std::uint64_t frames = layout.dataBytes / block;
  for (std::uint64_t done = 0; done < frames;) {
    const std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(framesPerRead, frames - done));
    // A file cut short since it was parsed is as incomplete as one cut before.
    if (file.read(layout.dataOffset + done * block, bytes.data(), n * block) != n * block) return AudioError::Truncated;
    MixBlock(f, reinterpret_cast<const unsigned char*>(bytes.data()), n, mono.data());
    if (!sink.take(mono.data(), n)) return AudioError::None;
    done += n;
  }
  return AudioError::None;
}

namespace {

struct CollectingSink : MonoSink {
  explicit CollectingSink(MonoAudio& a) : audio(a) {}
  bool start(std::uint32_t rate) override {
    audio.sampleRate = rate;
    return true;
  }
  bool take(const float* s, std::size_t n) override {
    audio.samples.insert(audio.samples.end(), s, s + n);
    return true;
  }
  MonoAudio& audio;
};

}  // namespace

WavDecode DecodeWavMono(std::string_view b) {
  WavDecode d;
  MemoryReader reader(b);
  const WavParse parsed = ParseWav(reader);
  d.format = parsed.layout.format;
  d.error = parsed.error;
  if (d.error != AudioError::None) return d;
  d.audio.samples.reserve(static_cast<std::size_t>(parsed.layout.dataBytes / static_cast<std::uint64_t>(parsed.layout.blockAlign)));
  CollectingSink sink(d.audio);
  d.error = DecodeWav(reader, parsed.layout, sink);
  if (d.error != AudioError::None) d.audio = MonoAudio{};
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
