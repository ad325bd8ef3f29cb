#pragma once
// Sound handed over a block at a time, mixed down to one channel, so that
// nothing between a file and its copy holds the whole sound.
#include <cstddef>
#include <cstdint>

namespace orv {

class MonoSink {
 public:
  virtual ~MonoSink() = default;
  // Before the first block. False: the sink wants nothing more.
  virtual bool start(std::uint32_t sampleRate) = 0;
  // Full scale is +-1. False: the sink wants nothing more (stopped, full,
  // or failed), and the decoder stops there.
  virtual bool take(const float* samples, std::size_t count) = 0;
};

}  // namespace orv
