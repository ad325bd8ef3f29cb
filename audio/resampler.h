#pragma once
// Sound brought to the host's 8000 Hz: a windowed-sinc low-pass evaluated
// in polyphase form, so each output sample costs one short dot product.
//
// The filter passes the telephone band (up to 3400 Hz) flat and stops what
// would fold back below 4000 Hz once the rate is 8000; the kept length is
// the input's length at the new rate, rounded to the nearest sample.
//
// It takes its input a block at a time and keeps only the filter's span of
// it, so a message of any length costs the same memory; the blocks' sizes
// do not change a single output sample.
#include <cstdint>
#include <vector>

namespace orv {

class Resampler {
 public:
  explicit Resampler(std::uint32_t inputRate);
  // Appends to `out` every output sample the input so far decides.
  void push(const float* in, std::size_t count, std::vector<float>& out);
  // The input has ended: appends the rest, up to its length at 8000 Hz.
  void finish(std::vector<float>& out);

 private:
  void produce(std::uint64_t available, std::uint64_t last, std::vector<float>& out);

  std::uint32_t rate_;
  bool through_ = false;          // already 8000 Hz, or no rate at all
  std::uint64_t up_ = 1, down_ = 1, phases_ = 1;
  int half_ = 0, taps_ = 0;
  std::vector<float> table_;
  std::vector<float> held_;       // input from index base_ on
  std::int64_t base_ = 0;         // may be negative: the silence before the start
  std::uint64_t received_ = 0;
  std::uint64_t next_ = 0;        // the next output sample's index
};

std::vector<float> ResampleTo8000(const std::vector<float>& input, std::uint32_t inputRate);

}  // namespace orv
