#include "equipment/TableInterpolation.h"

#include <cstddef>

double Interpolate(std::span<const double> aX, std::span<const double> aY, double x)
{
  for (std::size_t i = 1; i < aX.size(); ++i)
    if (aX[i] > x) {
      if (aX[i] == aX[i - 1])
        return aY[i];
      return aY[i - 1] + (aY[i] - aY[i - 1]) * (x - aX[i - 1]) / (aX[i] - aX[i - 1]);
    }
  return aY.empty() ? 0 : aY.back();
}

double InverseInterpolate(std::span<const double> aX, std::span<const double> aY, double y)
{
  for (std::size_t i = 1; i < aY.size(); ++i)
    if (aY[i] < y) {
      if (aY[i] == aY[i - 1])
        return aX[i];
      return aX[i - 1] + (aX[i] - aX[i - 1]) * (y - aY[i - 1]) / (aY[i] - aY[i - 1]);
    }
  return aX.empty() ? 0 : aX.back();
}
