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

Resampler::Resampler(std::uint32_t rate) : rate_(rate) {
  through_ = rate == kOut || rate == 0;
  if (through_) return;
  const std::uint64_t g = std::gcd<std::uint64_t>(rate, kOut);
  up_ = kOut / g;
  down_ = rate / g;  // output n sits at input n * down / up
  const Design d = DesignFor(rate);
  half_ = d.half;
  taps_ = 2 * d.half;
  phases_ = std::max<std::uint64_t>(1, std::min<std::uint64_t>(up_, kMaxTableFloats / static_cast<std::uint64_t>(taps_)));

  // table[p][j] weighs input (floor(t) - half + 1 + j) for an output at
  // t = floor(t) + p / phases; each phase sums to 1 so silence stays silence
  // and a constant stays that constant.
  table_.resize(phases_ * static_cast<std::uint64_t>(taps_));
  const double norm = BesselI0(d.beta);
  std::vector<double> h(static_cast<std::size_t>(taps_));
  for (std::uint64_t p = 0; p < phases_; ++p) {
    const double frac = static_cast<double>(p) / static_cast<double>(phases_);
    double sum = 0;
    for (int j = 0; j < taps_; ++j) {
      const double x = frac + d.half - 1 - j;        // distance from the output instant
      const double r = x / d.half;
      const double w = std::abs(r) >= 1 ? 0 : BesselI0(d.beta * std::sqrt(1 - r * r)) / norm;
      const double a = 2 * kPi * d.cutoff * x;
      const double sinc = std::abs(a) < 1e-12 ? 1 : std::sin(a) / a;
      h[j] = 2 * d.cutoff * sinc * w;
      sum += h[j];
    }
    for (int j = 0; j < taps_; ++j) table_[p * taps_ + j] = static_cast<float>(h[j] / sum);
  }
  // Silence before the start, so the first outputs need no tests.
  held_.assign(static_cast<std::size_t>(taps_), 0.0f);
  base_ = -taps_;
}

void Resampler::produce(std::uint64_t available, std::uint64_t last, std::vector<float>& out) {
  // `available`: input samples held (with any silence after the end);
  // `last`: no output at or past this index.
  for (; next_ < last; ++next_) {
    const std::uint64_t pos = next_ * down_;
    std::uint64_t whole = pos / up_;
    std::uint64_t p = pos % up_;
    if (phases_ != up_) {
      p = (p * phases_ + up_ / 2) / up_;
      if (p == phases_) p = 0, ++whole;
    }
    const std::int64_t first = static_cast<std::int64_t>(whole) - half_ + 1;
    if (first + taps_ > static_cast<std::int64_t>(available)) break;
    const float* x = held_.data() + (first - base_);
    const float* h = table_.data() + p * static_cast<std::uint64_t>(taps_);
    // Eight partial sums: the compiler keeps them in vector registers.
    float acc[8] = {0, 0, 0, 0, 0, 0, 0, 0};
    int j = 0;
    for (; j + 8 <= taps_; j += 8)
      for (int k = 0; k < 8; ++k) acc[k] += x[j + k] * h[j + k];
    float sum = ((acc[0] + acc[1]) + (acc[2] + acc[3])) + ((acc[4] + acc[5]) + (acc[6] + acc[7]));
    for (; j < taps_; ++j) sum += x[j] * h[j];
    out.push_back(sum);
  }
  // What no later output reaches is let go; the copying is amortised by
  // letting go only once it is at least half of what is held.
  const std::uint64_t pos = next_ * down_;
  const std::int64_t keepFrom = static_cast<std::int64_t>(pos / up_) - half_;
  const std::int64_t drop = keepFrom - base_;
  if (drop > 0 && static_cast<std::size_t>(drop) * 2 >= held_.size()) {
    const std::size_t n = std::min(static_cast<std::size_t>(drop), held_.size());
    held_.erase(held_.begin(), held_.begin() + static_cast<std::ptrdiff_t>(n));
    base_ += static_cast<std::int64_t>(n);
  }
}

void Resampler::push(const float* in, std::size_t count, std::vector<float>& out) {
  if (through_) {
    out.insert(out.end(), in, in + count);
    return;
  }
  held_.insert(held_.end(), in, in + count);
  received_ += count;
  produce(received_, UINT64_MAX, out);
}

void Resampler::finish(std::vector<float>& out) {
  if (through_) return;
  const std::uint64_t total = (received_ * kOut + rate_ / 2) / rate_;
  held_.insert(held_.end(), static_cast<std::size_t>(taps_), 0.0f);
  produce(received_ + static_cast<std::uint64_t>(taps_), total, out);
}

std::vector<float> ResampleTo8000(const std::vector<float>& input, std::uint32_t rate) {
  Resampler r(rate);
  std::vector<float> out;
  r.push(input.data(), input.size(), out);
  r.finish(out);
  return out;
}

}  // namespace orv
