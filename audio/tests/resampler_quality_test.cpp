// The conversion's figures, measured with sines: the telephone band kept flat,
// everything that would fold back attenuated, the length kept, 8-bit output
// centred and clipped.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <numeric>

#include "audio/host_format.h"
#include "audio/resampler.h"

namespace orv {
namespace {

std::vector<float> Sine(std::uint32_t rate, double hz, double seconds, double amplitude = 0.5) {
  std::vector<float> s(static_cast<std::size_t>(std::llround(seconds * rate)));
  for (std::size_t i = 0; i < s.size(); ++i) s[i] = static_cast<float>(amplitude * std::sin(2 * std::numbers::pi * hz * i / rate));
  return s;
}

// RMS of the middle of the output, away from the edges' ramps, over the RMS
// of the input sine, in dB.
double GainDb(std::uint32_t rate, double hz) {
  const auto in = Sine(rate, hz, 1.0);
  const auto out = ResampleTo8000(in, rate);
  double sum = 0;
  const std::size_t from = 1000, to = out.size() - 1000;
  for (std::size_t i = from; i < to; ++i) sum += static_cast<double>(out[i]) * out[i];
  const double rms = std::sqrt(sum / static_cast<double>(to - from));
  return 20 * std::log10(rms / (0.5 / std::sqrt(2.0)));
}

TEST(Resampler, KeepsTheTelephoneBandFlatAndStopsWhatWouldFoldBack) {
  for (std::uint32_t rate : {44100u, 48000u, 22050u, 11025u, 16000u, 96000u, 44056u}) {
    SCOPED_TRACE(rate);
    for (double hz : {300.0, 500.0, 1000.0, 2000.0, 3000.0, 3300.0, 3400.0}) {
      SCOPED_TRACE(hz);
      const double g = GainDb(rate, hz);
      EXPECT_LE(std::abs(g), 0.5);
    }
    for (double hz : {4000.0, 4100.0, 4500.0, 6000.0, 7900.0, 8100.0, 10000.0, 15000.0, 20000.0}) {
      if (hz >= rate / 2.0) continue;
      SCOPED_TRACE(hz);
      EXPECT_LE(GainDb(rate, hz), -60.0);
    }
  }
}

TEST(Resampler, GoingUpKeepsTheInputsBand) {
  // 6000 Hz has no band above 3000 Hz to keep; what it has stays flat.
  for (double hz : {300.0, 1000.0, 2500.0}) EXPECT_LE(std::abs(GainDb(6000, hz)), 0.5) << hz;
}

TEST(Resampler, KeepsTheLengthWithinAMillisecond) {
  for (std::uint32_t rate : {44100u, 48000u, 22050u, 11025u, 6000u, 96000u, 44056u, 8000u}) {
    for (double seconds : {0.0005, 0.25, 1.0, 3.7}) {
      const auto in = Sine(rate, 440, seconds);
      const auto out = ResampleTo8000(in, rate);
      const double inMs = 1000.0 * static_cast<double>(in.size()) / rate;
      const double outMs = 1000.0 * static_cast<double>(out.size()) / 8000;
      EXPECT_LE(std::abs(inMs - outMs), 1.0) << rate << " Hz, " << seconds << " s";
    }
  }
}

TEST(Resampler, KeepsTimingSoAnEdgeStaysWhereItWas) {
  // A step 0.5 s in: its half-way point is still 0.5 s in.
  std::vector<float> in(44100, 0.0f);
  for (std::size_t i = 22050; i < in.size(); ++i) in[i] = 0.5f;
  const auto out = ResampleTo8000(in, 44100);
  EXPECT_LT(out[3999], 0.25f);
  EXPECT_GT(out[4001], 0.25f);
  EXPECT_NEAR(out[3990], 0.0f, 0.01f);
  EXPECT_NEAR(out[4010], 0.5f, 0.01f);
}

TEST(EightBitOutput, IsCentredOn128DitheredAndClippedNeverWrapped) {
  const auto silence = QuantizeTo8Bit(std::vector<float>(80000, 0.0f));
  const double mean = std::accumulate(silence.begin(), silence.end(), 0.0) / static_cast<double>(silence.size());
  EXPECT_NEAR(mean, 128.0, 0.02);
  int spread = 0;
  for (auto v : silence) {
    EXPECT_GE(v, 127);
    EXPECT_LE(v, 129);
    spread += v != 128;
  }
  // TPDF: a quarter of the samples leave 128 on silence.
  EXPECT_NEAR(spread / 80000.0, 0.25, 0.02);

  // Overload by 6 dB: peaks flatten at the ends, never wrap to the other side.
  const auto loud = QuantizeTo8Bit(Sine(8000, 1000, 0.1, 2.0));
  const auto sine = Sine(8000, 1000, 0.1, 2.0);
  for (std::size_t i = 0; i < loud.size(); ++i) {
    if (sine[i] > 1.01f) { EXPECT_EQ(loud[i], 255) << i; }
    if (sine[i] < -1.01f) { EXPECT_EQ(loud[i], 0) << i; }
    if (sine[i] > 0.1f) { EXPECT_GT(loud[i], 128) << i; }
    if (sine[i] < -0.1f) { EXPECT_LT(loud[i], 128) << i; }
  }

  // A quiet tone below one step still comes through on average (dither, not
  // a dead zone).
  const auto faint = QuantizeTo8Bit(std::vector<float>(80000, 0.3f / 128));
  const double faintMean = std::accumulate(faint.begin(), faint.end(), 0.0) / static_cast<double>(faint.size());
  EXPECT_NEAR(faintMean, 128.3, 0.03);
}

}  // namespace
}  // namespace orv
