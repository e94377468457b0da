#pragma once
// Linear interpolation in a sampled curve with ascending abscissae.

#include <span>

// The ordinate at x, on the line through the first point whose abscissa is strictly
// above x and the point before it. At or beyond the last abscissa: the last ordinate.
double Interpolate(std::span<const double> aX, std::span<const double> aY, double x);

// The abscissa at which the ordinates (descending) take the value y, on the line through
// the first point whose ordinate is strictly below y and the point before it. At or
// below the last ordinate: the last abscissa.
double InverseInterpolate(std::span<const double> aX, std::span<const double> aY, double y);
