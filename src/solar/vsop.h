#pragma once
// Where the Sun is: the Earth's heliocentric coordinates from the VSOP87D series, then
// the Sun's apparent geocentric ecliptic and equatorial coordinates (nutation and
// aberration included). Instants are date-times in universal time, used unchanged as
// dynamical time. Angles are degrees unless a name says radians.

#include "platform/DateUtils.h"

#include <cmath>
#include <numbers>

// Date-time of 1 January 2000 00:00, base of the VSOP87 time argument.
inline constexpr double J2000Base = 36526.0;
// Julian day = date-time + JulianDayOffset.
inline constexpr double JulianDayOffset = 2415018.5;
// Kilometres in one astronomical unit, as the distances are reported.
inline constexpr double KilometresPerAU = 149597869.0;

// Apparent position of a body; every angle in degrees.
struct TBodyPosition {
  double EclipticLongitude = 0;  // λ, [0, 360)
  double EclipticLatitude = 0;   // β
  double Distance = 0;           // kilometres
  double RightAscension = 0;     // α, (−180, 180], not normalised
  double Declination = 0;        // δ
  double Altitude = 0;           // h above the horizon
  double Azimuth = 0;            // from the South, positive towards the West
};

// x reduced to [0, 360): x − round(x/360)·360 (to nearest, halves to even), then 360
// added while negative.
inline double Normalize360(double x)
{
  const double turns = x / 360.0;
  // Adding and removing 1.5·2⁵² rounds to the nearest integer, halves to even, without
  // a library call; beyond 2⁵¹ turns every double is already an integer.
  constexpr double kRounder = 6755399441055744.0;
  const double rounded = std::abs(turns) < 2251799813685248.0 ? (turns + kRounder) - kRounder : turns;
  double result = x - rounded * 360.0;
  while (result < 0)
    result += 360.0;
  return result;
}

inline constexpr double DegreesToRadians = std::numbers::pi / 180.0;
inline constexpr double RadiansToDegrees = 180.0 / std::numbers::pi;

// Trigonometry in degrees; the argument is normalised first.
inline double SinD(double x) { return std::sin(Normalize360(x) * DegreesToRadians); }
inline double CosD(double x) { return std::cos(Normalize360(x) * DegreesToRadians); }
inline double TanD(double x) { return std::tan(Normalize360(x) * DegreesToRadians); }
inline double ArcTan2D(double y, double x) { return std::atan2(y, x) * RadiansToDegrees; }  // (−180, 180]
inline double ArcSinD(double x) { return std::asin(x) * RadiansToDegrees; }
inline double ArcCosD(double x) { return std::acos(x) * RadiansToDegrees; }
double DateTimeToJulian(TDateTime t);

// Julian millennia from J2000.0 (1 January 2000 12:00).
double VSOPTau(TDateTime t);

// The Earth's heliocentric longitude L and latitude B (radians, L not reduced to one
// turn) and radius vector R (AU) in the VSOP87 dynamical frame.
struct TVSOPCoordinates {
  double L = 0;
  double B = 0;
  double R = 0;
};
TVSOPCoordinates EvaluateVSOPEarth(double tau);
// One series: Σ A·cos(B + C·τ) over the terms of a coordinate and a power of τ.
double EvaluateVSOPSeries(int first, int count, double tau);
// A coordinate from its six series S₀..S₅: (S₀ + S₁τ + … + S₅τ⁵)·1e-8.
double CombineVSOPSeries(const double (&sums)[6], double tau);

// Converts VSOP87 dynamical-frame longitude and latitude (radians) to the FK5 frame.
void DynamicToFK5(double tau, double &longitude, double &latitude);

// The Earth's heliocentric FK5 position: L in [0, 360) and B in degrees, R in AU.
void GetHeliocentricPosition(TDateTime t, double &L, double &B, double &R);

// Nutation in longitude Δψ and true obliquity ε of the ecliptic, degrees.
struct TNutation {
  double DeltaPsi = 0;
  double Epsilon = 0;
  double SinEpsilon = 0;  // of Epsilon, for the coordinate changes
  double CosEpsilon = 1;
};
TNutation GetNutation(TDateTime t);
// Julian centuries from J2000.0, the nutation's time argument.
double NutationCenturies(TDateTime t);
// Sine and cosine of twice the mean longitudes of the Sun (2L☉) and of the Moon (2L☾):
// the nutation's arguments that grow linearly with time, at TwoSunRate and
// TwoMoonRate degrees per Julian century.
struct TNutationArguments {
  double SinTwoSun = 0;
  double CosTwoSun = 1;
  double SinTwoMoon = 0;
  double CosTwoMoon = 1;
};
inline constexpr double TwoSunRate = 2 * 36000.7698;
inline constexpr double TwoMoonRate = 2 * 481267.8813;
TNutationArguments GetNutationArguments(double centuries);
// The nutation at t with those arguments of t already computed.
TNutation GetNutation(TDateTime t, const TNutationArguments &arguments);
void GetNutation(TDateTime t, double &deltaPsi, double &epsilon);

// Adds the nutation in longitude to p.EclipticLongitude and fills RightAscension and
// Declination. The second form takes the nutation of t already computed.
void EclipticToEquatorial(TBodyPosition &p, TDateTime t);
void EclipticToEquatorial(TBodyPosition &p, const TNutation &nutation);

// The Sun's apparent ecliptic and equatorial coordinates and distance at t.
void GetSunPosition(TBodyPosition &p, TDateTime t);
// The same from the series already evaluated at τ of t, with the nutation of t.
void SunPositionFromSeries(TBodyPosition &p, TVSOPCoordinates series, double tau,
                           const TNutation &nutation);
