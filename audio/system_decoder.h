#pragma once
// The system's own decoders, for what the portable reader does not decode
// (MP3, WMA, AAC, ADPCM WAV, ...). Windows offers them through Media
// Foundation; elsewhere there is none.
#include <string>

#include "audio/audio_error.h"
#include "audio/wav_reader.h"

namespace orv {

struct SystemProbe {
  AudioError error = AudioError::None;
  std::string format;   // "MP3 estéreo 44100 Hz"
  double seconds = 0;
};

struct SystemDecode {
  AudioError error = AudioError::None;
  MonoAudio audio;
};

class SystemDecoder {
 public:
  virtual ~SystemDecoder() = default;
  virtual SystemProbe probe(const std::string& path) = 0;
  virtual SystemDecode decode(const std::string& path) = 0;
};

}  // namespace orv
