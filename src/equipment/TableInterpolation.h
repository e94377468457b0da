#pragma once
// Linear interpolation in a sampled curve.

#include <span>

// The ordinate at x, on the line through the first point (from the second on) whose
// abscissa is strictly above x and the point before it; when the two abscissae are
// equal, the ordinate of that point. At or beyond the last abscissa: the last ordinate.
double Interpolate(std::span<const double> aX, std::span<const double> aY, double x);

// The abscissa at which the ordinates (descending) take the value y, on the line through
// the first point (from the second on) whose ordinate is strictly below y and the point
// before it. At or below the last ordinate: the last abscissa.
double InverseInterpolate(std::span<const double> aX, std::span<const double> aY, double y);

// Interpolate() for many abscissae in one table: a table with ascending abscissae (the
// usual case) is searched by halving instead of point by point.
class TTableInterpolator {
public:
  TTableInterpolator(std::span<const double> aX, std::span<const double> aY);
  double operator()(double x) const;

private:
  std::span<const double> FX;
  std::span<const double> FY;
  bool FAscending;
};
