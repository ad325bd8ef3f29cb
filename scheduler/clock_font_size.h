#pragma once
// The clock label is a fixed width; some time formats ("7:26:30 AM") are
// wider than others at the design size. The label takes the largest size
// that keeps the time on one line.
#include <functional>

namespace orv {

// The largest size from `maxPoints` down, in steps of `stepPoints`, whose
// measured width fits `width`; the smallest step tried when none fits.
// `measure` gives the text's width in pixels at a size in points.
double LargestFittingSize(double maxPoints, double stepPoints, double minPoints, int width,
                          const std::function<int(double)>& measure);

}  // namespace orv
