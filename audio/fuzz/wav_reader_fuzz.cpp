// Any bytes through the WAV reader and, when they read, the conversion: no
// crash, no read outside the input, a bounded output.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "audio/host_format.h"
#include "audio/wav_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const orv::WavDecode d = orv::DecodeWavMono(bytes);
  if (d.error != orv::AudioError::None) {
    if (!d.audio.samples.empty() || orv::AudioErrorReason(d.error).empty()) std::abort();
    return 0;
  }
  if (d.audio.samples.size() > size) std::abort();
  orv::DescribeFormat(d.format);
  const std::string out = orv::ConvertToHostWav(d.audio);
  if (orv::ParseWav(out).error != orv::AudioError::None) std::abort();
  return 0;
}
