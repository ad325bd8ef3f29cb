#include "buttons/color.h"

#include <algorithm>
#include <cmath>

namespace orv::buttons {

int RoundHalfEven(double value) {
  double floor = std::floor(value);
  double diff = value - floor;
  if (diff > 0.5) return static_cast<int>(floor) + 1;
  if (diff < 0.5) return static_cast<int>(floor);
  return std::fmod(floor, 2.0) == 0.0 ? static_cast<int>(floor) : static_cast<int>(floor) + 1;
}

Rgb32 ClassicSystemColor(int index) {
  // Windows 9x/2000 defaults, enough for the colours a button asks for.
  static const Rgb32 table[] = {
      0xC8D0D4, 0xA56E3A, 0x6A240A, 0x808080, 0xC8D0D4, 0xFFFFFF, 0x000000, 0x000000,
      0x000000, 0xFFFFFF, 0xC8D0D4, 0xC8D0D4, 0x808080, 0x6A240A, 0xFFFFFF, 0xC8D0D4,
      0x808080, 0x808080, 0x000000, 0xC8D0D4, 0xFFFFFF, 0x404040, 0xC8D0D4, 0x000000,
      0xE1FFFF, 0xB5B5B5, 0x800000, 0xF0CAA6, 0xC0C0C0, 0xD77800, 0xF0F0F0};
  if (index < 0 || index >= static_cast<int>(sizeof table / sizeof table[0])) return 0;
  return table[index];
}

Rgb32 TranslateColor(OleColor32 value, const SystemColorLookup& lookup) {
  if (static_cast<std::int32_t>(value) < 0) {
    int index = static_cast<int>(value & 0xFF);
    return lookup ? lookup(index) : ClassicSystemColor(index);
  }
  return value;
}

namespace {
int Clamp255(int v) { return std::clamp(v, 0, 255); }
}  // namespace

Rgb32 ShadeColor(Rgb32 color, int amount, bool scaleBlue) {
  int r = static_cast<int>(color & 0xFF) + amount;
  int g = RoundHalfEven(static_cast<double>(color & 0xFF00) / 255.0 + amount);
  int b;
  if (scaleBlue) {
    int b0 = RoundHalfEven(static_cast<double>(color & 0xFF0000) / 65280.0);
    b = b0 + (amount * b0) / 192;  // C++ division truncates towards zero, as wanted
  } else {
    b = RoundHalfEven(static_cast<double>(color & 0xFF0000) / 65280.0 + amount);
  }
  return static_cast<Rgb32>(Clamp255(r)) | (static_cast<Rgb32>(Clamp255(g)) << 8) |
         (static_cast<Rgb32>(Clamp255(b)) << 16);
}

std::vector<Rgb32> BuildGradientColors(int count, Rgb32 first, Rgb32 second) {
  std::vector<Rgb32> colors;
  if (count <= 0) return colors;
  colors.reserve(static_cast<std::size_t>(count));
  colors.push_back(first);
  if (count == 1) return colors;
  // Start components stay on the 256/255 scale of green and blue, in single
  // precision; the end components are rounded. Bands therefore step in the
  // scaled space and are truncated, never converted back.
  float r = static_cast<float>(first & 0xFF);
  float g = static_cast<float>(static_cast<double>(first & 0xFF00) / 255.0);
  float b = static_cast<float>(static_cast<double>(first & 0xFF0000) / 65280.0);
  int endR = static_cast<int>(second & 0xFF);
  int endG = RoundHalfEven(static_cast<double>(second & 0xFF00) / 255.0);
  int endB = RoundHalfEven(static_cast<double>(second & 0xFF0000) / 65280.0);
  float steps = static_cast<float>(count - 1);
  float stepR = (static_cast<float>(endR) - r) / steps;
  float stepG = (static_cast<float>(endG) - g) / steps;
  float stepB = (static_cast<float>(endB) - b) / steps;
  for (int k = 1; k < count; ++k) {
    r = std::clamp(r + stepR, 0.0f, 255.0f);
    g = std::clamp(g + stepG, 0.0f, 255.0f);
    b = std::clamp(b + stepB, 0.0f, 255.0f);
    colors.push_back(static_cast<Rgb32>(static_cast<int>(g)) * 256 + static_cast<Rgb32>(static_cast<int>(r)) +
                     static_cast<Rgb32>(static_cast<int>(b)) * 65536);
  }
  return colors;
}

}  // namespace orv::buttons
