#pragma once
// Sound brought to the host's 8000 Hz: a windowed-sinc low-pass evaluated
// in polyphase form, so each output sample costs one short dot product.
//
// The filter passes the telephone band (up to 3400 Hz) flat and stops what
// would fold back below 4000 Hz once the rate is 8000; the kept length is
// the input's length at the new rate, rounded to the nearest sample.
#include <cstdint>
#include <vector>

namespace orv {

std::vector<float> ResampleTo8000(const std::vector<float>& input, std::uint32_t inputRate);

}  // namespace orv
