#pragma once
// WAV files: the RIFF chunks, the sound's format, and its samples mixed
// down to one channel. The one reader of WAV files in the program. It reads
// only the bytes it needs where they are (a header costs a few small reads,
// whatever the file's size), checks every size in a header against the
// file's own, and keeps offsets in 64 bits, so no header can make it read
// outside the file, loop, or allocate more than a block.
#include <atomic>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "audio/audio_error.h"
#include "audio/file_io.h"
#include "audio/mono_sink.h"

namespace orv {

enum class SampleEncoding { Pcm, Float, MuLaw, ALaw, Compressed };

struct AudioFormat {
  SampleEncoding encoding = SampleEncoding::Pcm;
  std::uint16_t formatTag = 0;   // WAVE_FORMAT_*; for WAVE_FORMAT_EXTENSIBLE the sub-format's
  bool extensible = false;
  int bits = 0;                  // container bits per sample
  int channels = 0;
  std::uint32_t sampleRate = 0;
};

struct WavLayout {
  AudioFormat format;
  std::uint64_t dataOffset = 0;
  std::uint64_t dataBytes = 0;   // whole frames only
  int blockAlign = 0;
  double seconds = 0;            // 0 when the encoding's frames are not known
};

struct WavParse {
  AudioError error = AudioError::None;
  WavLayout layout;
};
WavParse ParseWav(ByteReader& file);
WavParse ParseWav(std::string_view bytes);

// The sound of a parsed file, mixed down and handed to `sink` a block at a
// time. PCM, float, mu-law and A-law; other encodings are Unsupported here.
// A sink that refuses more ends the decoding early with None. Samples past
// 4 times full scale (a float file's overload, a non-number) are clipped
// there, so mixing and filtering never meet an infinity.
AudioError DecodeWav(ByteReader& file, const WavLayout& layout, MonoSink& sink);

struct MonoAudio {
  std::uint32_t sampleRate = 0;
  std::vector<float> samples;    // full scale is +-1
};

struct WavDecode {
  AudioError error = AudioError::None;
  AudioFormat format;
  MonoAudio audio;
};
// A whole file in memory, decoded whole: for tests and small files.
WavDecode DecodeWavMono(std::string_view bytes);

// What the host transmits as it stands: plain PCM, 8 bits, mono, 8000 Hz.
bool IsHostFormat(const AudioFormat& format);
// "PCM 16 bits estéreo 44100 Hz"
std::string DescribeFormat(const AudioFormat& format);

inline constexpr std::uint32_t kHostRate = 8000;

}  // namespace orv
