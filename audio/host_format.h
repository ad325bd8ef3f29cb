#pragma once
// The host transmits PCM 8-bit mono 8000 Hz: sound in any rate, brought to
// that rate, then to 8 bits centred on 128, written as it comes.
#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "audio/file_io.h"
#include "audio/mono_sink.h"
#include "audio/resampler.h"
#include "audio/wav_reader.h"

namespace orv {

// 8-bit samples, 128 for silence. TPDF dither (a fixed seed, so a copy made
// again is the same file) spreads the rounding into a flat noise instead of
// distortion; overload clips to 0 or 255, never wraps; what is not a number
// becomes silence.
class Quantizer8 {
 public:
  void push(const float* samples, std::size_t count, std::string& out);

 private:
  std::uint32_t state_ = 0x9E3779B9u;
};
std::vector<std::uint8_t> QuantizeTo8Bit(const std::vector<float>& samples);

// A whole WAV file (RIFF, "fmt " of 16 bytes, "data") of PCM 8-bit mono.
std::string WriteWav8Mono(const std::vector<std::uint8_t>& samples, std::uint32_t rate);

// Mono sound of any rate into the host's WAV file, a block at a time: the
// header goes first with room for its sizes, which finish() writes once the
// sound has ended. Refuses more (take() gives false) once the copy would be
// longer than `maxSeconds`, once `stopping` is set, or when writing fails.
class HostWavWriter : public MonoSink {
 public:
  enum class Stop { None, TooLong, Stopped, WriteFailed };
  HostWavWriter(FileWriter& out, double maxSeconds, const std::atomic<bool>* stopping = nullptr);
  bool start(std::uint32_t sampleRate) override;
  bool take(const float* samples, std::size_t count) override;
  // The last samples and the header's sizes; false when the copy is not
  // whole (stopped, too long, a write failed, or never started).
  bool finish();
  Stop stopped() const { return stop_; }
  std::uint64_t samplesWritten() const { return written_; }

 private:
  bool write();

  FileWriter& out_;
  std::uint64_t maxSamples_;
  const std::atomic<bool>* stopping_;
  std::unique_ptr<Resampler> resampler_;
  Quantizer8 quantizer_;
  std::vector<float> resampled_;
  std::string bytes_;
  std::uint64_t written_ = 0;
  Stop stop_ = Stop::None;
  bool started_ = false;
};

// Mono sound at any rate to the host's WAV file, in memory.
std::string ConvertToHostWav(const MonoAudio& audio);

}  // namespace orv
