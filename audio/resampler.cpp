#include "audio/resampler.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace orv {

namespace {

constexpr double kPi = 3.14159265358979323846;
// Pass band edge, stop band edge and stop band depth, at 8000 Hz. The edges
// sit inside 3400..4000 Hz so the rounding of the design leaves a margin.
constexpr double kPassHz = 3420, kStopHz = 3990, kStopDb = 66;
constexpr std::uint32_t kOut = 8000;
// A rate that shares little with 8000 (44056 Hz, ...) would need thousands of
// phases; past this many the nearest phase is used, which is far below the
// 8-bit output's own noise.
constexpr std::uint64_t kMaxTableFloats = std::uint64_t{1} << 22;

double BesselI0(double x) {
  double sum = 1, term = 1;
  for (int k = 1; k < 64; ++k) {
    term *= (x / (2 * k)) * (x / (2 * k));
    sum += term;
    if (term < sum * 1e-17) break;
  }
  return sum;
}

struct Design {
  int half = 0;          // taps on each side of the output instant, in input samples
  double cutoff = 0;     // in cycles per input sample
  double beta = 0;
};

Design DesignFor(std::uint32_t rate) {
  // Going up, the input's own band is the limit, scaled the same way.
  const double base = std::min<double>(rate, kOut);
  const double pass = kPassHz * base / kOut, stop = kStopHz * base / kOut;
  Design d;
  d.cutoff = (pass + stop) / 2 / rate;
  const double width = 2 * kPi * (stop - pass) / rate;
  d.beta = 0.1102 * (kStopDb - 8.7);
  const double taps = (kStopDb - 7.95) / (2.285 * width);
  d.half = static_cast<int>(std::ceil(taps / 2)) + 1;
  return d;
}

}  // namespace

std::vector<float> ResampleTo8000(const std::vector<float>& input, std::uint32_t rate) {
  if (rate == kOut || input.empty() || rate == 0) return input;
  const std::uint64_t g = std::gcd<std::uint64_t>(rate, kOut);
  const std::uint64_t up = kOut / g, down = rate / g;  // output n sits at input n * down / up
  const std::uint64_t frames = input.size();
  const std::uint64_t outFrames = (frames * kOut + rate / 2) / rate;

  const Design d = DesignFor(rate);
  const int taps = 2 * d.half;
  const std::uint64_t phases = std::max<std::uint64_t>(1, std::min<std::uint64_t>(up, kMaxTableFloats / taps));

  // table[p][j] weighs input (floor(t) - half + 1 + j) for an output at
  // t = floor(t) + p / phases; each phase sums to 1 so silence stays silence
  // and a constant stays that constant.
  std::vector<float> table(phases * taps);
  const double norm = BesselI0(d.beta);
  for (std::uint64_t p = 0; p < phases; ++p) {
    const double frac = static_cast<double>(p) / static_cast<double>(phases);
    double sum = 0;
    std::vector<double> h(taps);
    for (int j = 0; j < taps; ++j) {
      const double x = frac + d.half - 1 - j;        // distance from the output instant
      const double r = x / d.half;
      const double w = std::abs(r) >= 1 ? 0 : BesselI0(d.beta * std::sqrt(1 - r * r)) / norm;
      const double a = 2 * kPi * d.cutoff * x;
      const double sinc = std::abs(a) < 1e-12 ? 1 : std::sin(a) / a;
      h[j] = 2 * d.cutoff * sinc * w;
      sum += h[j];
    }
    for (int j = 0; j < taps; ++j) table[p * taps + j] = static_cast<float>(h[j] / sum);
  }

  // The input padded with silence on both sides, so the edges need no tests.
  std::vector<float> padded(frames + 2 * static_cast<std::size_t>(taps), 0.0f);
  std::copy(input.begin(), input.end(), padded.begin() + taps);

  std::vector<float> out(outFrames);
  for (std::uint64_t n = 0; n < outFrames; ++n) {
    const std::uint64_t pos = n * down;
    std::uint64_t whole = pos / up;
    std::uint64_t p = pos % up;
    if (phases != up) {
      p = (p * phases + up / 2) / up;
      if (p == phases) p = 0, ++whole;
    }
    const float* x = padded.data() + taps + whole - d.half + 1;
    const float* h = table.data() + p * taps;
    // Eight partial sums: the compiler keeps them in vector registers.
    float acc[8] = {0, 0, 0, 0, 0, 0, 0, 0};
    int j = 0;
    for (; j + 8 <= taps; j += 8)
      for (int k = 0; k < 8; ++k) acc[k] += x[j + k] * h[j + k];
    float sum = ((acc[0] + acc[1]) + (acc[2] + acc[3])) + ((acc[4] + acc[5]) + (acc[6] + acc[7]));
    for (; j < taps; ++j) sum += x[j] * h[j];
    out[n] = sum;
  }
  return out;
}

}  // namespace orv
