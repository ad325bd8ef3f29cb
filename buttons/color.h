#pragma once
// Colour arithmetic of the button face. Colours are 0x00BBGGRR; a value with
// the top bit set names a system colour (OLE convention).
#include <cstdint>
#include <functional>
#include <vector>

namespace orv::buttons {

using Rgb32 = std::uint32_t;       // 0x00BBGGRR
using OleColor32 = std::uint32_t;  // RGB or 0x800000nn system colour

// Index (0..255) -> RGB of the platform's system colour table.
using SystemColorLookup = std::function<Rgb32(int index)>;

// The classic Windows table; stands in for the platform in tests and tools.
Rgb32 ClassicSystemColor(int index);

Rgb32 TranslateColor(OleColor32 value, const SystemColorLookup& lookup);

// Lightens (amount > 0) or darkens a colour. Green and blue are read on a
// 256/255 scale; with scaleBlue the blue change is proportional to blue.
Rgb32 ShadeColor(Rgb32 color, int amount, bool scaleBlue);

// `count` colours from `first` to `second`, as the gradient bands use them.
std::vector<Rgb32> BuildGradientColors(int count, Rgb32 first, Rgb32 second);

// Nearest integer, halves to even (the rounding of the colour arithmetic).
int RoundHalfEven(double value);

}  // namespace orv::buttons
