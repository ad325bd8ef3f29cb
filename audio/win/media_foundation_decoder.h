#pragma once
// The system's decoders through Media Foundation's source reader: whatever
// the installed codecs read (MP3, WMA, AAC, ADPCM WAV, ...) comes out as
// 16-bit PCM and is mixed down to one channel. The probe runs on the
// window's thread, the decoding on the worker's; each call opens its own
// reader, and Media Foundation is started once for both.
#include <mutex>

#include "audio/system_decoder.h"

namespace orv::win {

class MediaFoundationDecoder : public SystemDecoder {
 public:
  MediaFoundationDecoder();
  ~MediaFoundationDecoder() override;
  MediaFoundationDecoder(const MediaFoundationDecoder&) = delete;
  MediaFoundationDecoder& operator=(const MediaFoundationDecoder&) = delete;

  SystemProbe probe(const std::string& path) override;
  AudioError decode(const std::string& path, MonoSink& sink) override;

 private:
  bool start();
  std::mutex startLock_;
  bool tried_ = false;
  bool started_ = false;
};

}  // namespace orv::win
