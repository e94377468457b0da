#include "equipment/TableInterpolation.h"

#include <algorithm>
#include <cstddef>

namespace {

double Between(std::span<const double> aX, std::span<const double> aY, std::size_t i, double x)
{
  if (aX[i] == aX[i - 1])
    return aY[i];
  return aY[i - 1] + (aY[i] - aY[i - 1]) * (x - aX[i - 1]) / (aX[i] - aX[i - 1]);
}

}  // namespace

double Interpolate(std::span<const double> aX, std::span<const double> aY, double x)
{
  for (std::size_t i = 1; i < aX.size(); ++i)
    if (aX[i] > x)
      return Between(aX, aY, i, x);
  return aY.empty() ? 0 : aY.back();
}

double InverseInterpolate(std::span<const double> aX, std::span<const double> aY, double y)
{
  for (std::size_t i = 1; i < aY.size(); ++i)
    if (aY[i] < y)
      return Between(aY, aX, i, y);
  return aX.empty() ? 0 : aX.back();
}

TTableInterpolator::TTableInterpolator(std::span<const double> aX, std::span<const double> aY)
    : FX(aX), FY(aY), FAscending(std::is_sorted(aX.begin(), aX.end()))
{
}

double TTableInterpolator::operator()(double x) const
{
  if (!FAscending || FX.size() < 2)
    return Interpolate(FX, FY, x);
  // In ascending abscissae the first one strictly above x is the upper bound of x.
  const auto above = std::upper_bound(FX.begin() + 1, FX.end(), x);
  if (above == FX.end())
    return FY.back();
  return Between(FX, FY, static_cast<std::size_t>(above - FX.begin()), x);
}
