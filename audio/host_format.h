#pragma once
// The host transmits PCM 8-bit mono 8000 Hz: sound in any rate, brought to
// that rate, then to 8 bits centred on 128.
#include <cstdint>
#include <string>
#include <vector>

#include "audio/wav_reader.h"

namespace orv {

// 8-bit samples, 128 for silence. TPDF dither (a fixed seed, so a copy made
// again is the same file) spreads the rounding into a flat noise instead of
// distortion; overload clips to 0 or 255, never wraps.
std::vector<std::uint8_t> QuantizeTo8Bit(const std::vector<float>& samples);

// A whole WAV file (RIFF, "fmt " of 16 bytes, "data") of PCM 8-bit mono.
std::string WriteWav8Mono(const std::vector<std::uint8_t>& samples, std::uint32_t rate);

// Mono sound at any rate to the host's WAV file.
std::string ConvertToHostWav(const MonoAudio& audio);

}  // namespace orv
