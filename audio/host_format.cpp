#include "audio/host_format.h"

#include <algorithm>
#include <cmath>
#include <memory>

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

std::string Header8Mono(std::uint32_t samples, std::uint32_t rate) {
  std::string s;
  s += "RIFF";
  Put32(s, 36 + samples + (samples & 1));
  s += "WAVEfmt ";
  Put32(s, 16);
  Put16(s, 1);      // PCM
  Put16(s, 1);      // mono
  Put32(s, rate);
  Put32(s, rate);   // bytes per second
  Put16(s, 1);      // block
  Put16(s, 8);
  s += "data";
  Put32(s, samples);
  return s;
}

// Bytes gathered before each write to the file.
constexpr std::size_t kWriteBytes = 64 * 1024;

}  // namespace

void Quantizer8::push(const float* samples, std::size_t count, std::string& out) {
  std::uint32_t state = state_;
  auto uniform = [&state] {  // xorshift32, in [0, 1)
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return static_cast<float>(state >> 8) * (1.0f / 16777216.0f);
  };
  for (std::size_t i = 0; i < count; ++i) {
    const float dither = uniform() - uniform();  // triangular over +-1 step
    const float v = std::floor(128.0f + samples[i] * 128.0f + dither + 0.5f);
    // Compared, not clamped: a NaN fails both tests and would reach the cast.
    const std::uint8_t q = v >= 255.0f ? 255 : v > 0.0f ? static_cast<std::uint8_t>(v) : std::isnan(v) ? 128 : 0;
    out += static_cast<char>(q);
  }
  state_ = state;
}

std::vector<std::uint8_t> QuantizeTo8Bit(const std::vector<float>& samples) {
  std::string bytes;
  bytes.reserve(samples.size());
  Quantizer8().push(samples.data(), samples.size(), bytes);
  return std::vector<std::uint8_t>(bytes.begin(), bytes.end());
}

std::string WriteWav8Mono(const std::vector<std::uint8_t>& samples, std::uint32_t rate) {
  const auto n = static_cast<std::uint32_t>(samples.size());
  std::string s = Header8Mono(n, rate);
  s.reserve(44 + n + 1);
  s.append(reinterpret_cast<const char*>(samples.data()), samples.size());
  if (n & 1) s += '\0';
  return s;
}

HostWavWriter::HostWavWriter(FileWriter& out, double maxSeconds, const std::atomic<bool>* stopping)
    : out_(out),
      maxSamples_(static_cast<std::uint64_t>(std::max(0.0, maxSeconds) * kHostRate)),
      stopping_(stopping) {}

bool HostWavWriter::start(std::uint32_t rate) {
  if (started_ || stop_ != Stop::None) return false;
  started_ = true;
  resampler_ = std::make_unique<Resampler>(rate);
  const std::string header = Header8Mono(0, kHostRate);
  if (!out_.append(header.data(), header.size())) {
    stop_ = Stop::WriteFailed;
    return false;
  }
  return true;
}

bool HostWavWriter::write() {
  if (resampled_.size() > maxSamples_ - std::min(maxSamples_, written_)) {
    stop_ = Stop::TooLong;
    return false;
  }
  quantizer_.push(resampled_.data(), resampled_.size(), bytes_);
  written_ += resampled_.size();
  resampled_.clear();
  if (bytes_.size() >= kWriteBytes) {
    if (!out_.append(bytes_.data(), bytes_.size())) {
      stop_ = Stop::WriteFailed;
      return false;
    }
    bytes_.clear();
  }
  return true;
}

bool HostWavWriter::take(const float* samples, std::size_t count) {
  if (!started_ || stop_ != Stop::None) return false;
  if (stopping_ && stopping_->load(std::memory_order_relaxed)) {
    stop_ = Stop::Stopped;
    return false;
  }
  resampler_->push(samples, count, resampled_);
  return write();
}

bool HostWavWriter::finish() {
  if (!started_ || stop_ != Stop::None) return false;
  resampler_->finish(resampled_);
  if (!write()) return false;
  if (written_ & 1) bytes_ += '\0';
  if (!bytes_.empty() && !out_.append(bytes_.data(), bytes_.size())) {
    stop_ = Stop::WriteFailed;
    return false;
  }
  bytes_.clear();
  const std::string header = Header8Mono(static_cast<std::uint32_t>(written_), kHostRate);
  if (!out_.writeAt(0, header.data(), header.size())) {
    stop_ = Stop::WriteFailed;
    return false;
  }
  return true;
}

std::string ConvertToHostWav(const MonoAudio& audio) {
  MemoryWriter out;
  // Any length: in memory nothing is refused for being long.
  HostWavWriter writer(out, 1e12);
  writer.start(audio.sampleRate);
  writer.take(audio.samples.data(), audio.samples.size());
  writer.finish();
  return out.bytes;
}

}  // namespace orv
