#pragma once
// Window regions and clip regions from the portable outline description.
#include <windows.h>

#include "buttons/shape_region.h"
#include "buttons/win/gdi_counter.h"

namespace orv::buttons::win {

CountedRegion MakeRegion(const RegionDesc& desc);
CountedRegion MakeEllipseRegion(const Rect& box);

// Hands a new region to the window (which then owns it) and redraws it.
void ApplyWindowRegion(HWND window, const RegionDesc& desc);

}  // namespace orv::buttons::win
