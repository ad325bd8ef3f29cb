#include "scheduler/clock_font_size.h"

namespace orv {

double LargestFittingSize(double maxPoints, double stepPoints, double minPoints, int width,
                          const std::function<int(double)>& measure) {
  double points = maxPoints;
  // Counted in steps rather than by subtracting, so the sizes tried are the
  // same every time and a cached font is found again.
  for (int step = 0; points > minPoints; points = maxPoints - stepPoints * ++step)
    if (measure(points) <= width) return points;
  return minPoints;
}

}  // namespace orv
