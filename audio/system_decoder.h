#pragma once
// The system's own decoders, for what the portable reader does not decode
// (MP3, WMA, AAC, ADPCM WAV, ...). Windows offers them through Media
// Foundation; elsewhere there is none.
#include <string>

#include "audio/audio_error.h"
#include "audio/mono_sink.h"

namespace orv {

struct SystemProbe {
  AudioError error = AudioError::None;
  std::string format;   // "MP3 estéreo 44100 Hz"
  double seconds = 0;   // 0 when the file does not say
};

// probe() runs on the window's thread, decode() on the worker's: an
// implementation keeps no state between calls that the two could share.
class SystemDecoder {
 public:
  virtual ~SystemDecoder() = default;
  virtual SystemProbe probe(const std::string& path) = 0;
  // The sound mixed down and handed to `sink` as it is decoded; a sink that
  // refuses more ends it early with None.
  virtual AudioError decode(const std::string& path, MonoSink& sink) = 0;
};

}  // namespace orv
