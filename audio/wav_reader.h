#pragma once
// WAV files read from their bytes: the RIFF chunks, the sound's format, and
// its samples mixed down to one channel. Every size in a header is checked
// against the bytes actually there, so no header can make the reader read
// outside the file or allocate more than the file's own size calls for.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "audio/audio_error.h"

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
  std::size_t dataOffset = 0;
  std::size_t dataBytes = 0;     // whole frames only
  int blockAlign = 0;
  double seconds = 0;            // 0 when the encoding's frames are not known
};

struct WavParse {
  AudioError error = AudioError::None;
  WavLayout layout;
};
WavParse ParseWav(std::string_view bytes);

struct MonoAudio {
  std::uint32_t sampleRate = 0;
  std::vector<float> samples;    // full scale is +-1
};

struct WavDecode {
  AudioError error = AudioError::None;
  AudioFormat format;
  MonoAudio audio;
};
// PCM, float, mu-law and A-law; other encodings are Unsupported here.
WavDecode DecodeWavMono(std::string_view bytes);

// What the host transmits as it stands: plain PCM, 8 bits, mono, 8000 Hz.
bool IsHostFormat(const AudioFormat& format);
// "PCM 16 bits estéreo 44100 Hz"
std::string DescribeFormat(const AudioFormat& format);

inline constexpr std::uint32_t kHostRate = 8000;

}  // namespace orv
