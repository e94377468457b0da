#include "solar/vsop.h"

#include "solar/vsopEarthTable.h"

#include <cmath>
#include <numbers>

namespace {

constexpr double kDegToRad = DegreesToRadians;
constexpr double kRadToDeg = RadiansToDegrees;
constexpr double kDaysPerMillennium = 365250.0;
constexpr double kJulianDayJ2000 = 2451545.0;
constexpr double kDaysPerCentury = 36525.0;

// Frame-tie constants of the FK5 conversion, 0.09033″ and 0.03916″.
const double kFK5LongitudeShift = 0.09033 / 3600.0 * kDegToRad;
const double kFK5Tilt = 0.03916 / 3600.0 * kDegToRad;
// Constant of annual aberration, arcseconds at 1 AU.
constexpr double kAberration = 20.4898;

double EvaluateCoordinate(TVSOPCoordinate coordinate, double tau)
{
  double sums[6];
  for (int power = 0; power < 6; ++power) {
    const TVSOPSeriesRange range = VSOPEarthSeries(coordinate, power);
    sums[power] = EvaluateVSOPSeries(range.First, range.Count, tau);
  }
  return CombineVSOPSeries(sums, tau);
}

}  // namespace

double DateTimeToJulian(TDateTime t) { return t + JulianDayOffset; }

double VSOPTau(TDateTime t) { return (t - J2000Base - 0.5) / kDaysPerMillennium; }

double EvaluateVSOPSeries(int first, int count, double tau)
{
  // Placeholder terms (A = 0) contribute exactly nothing, so every term is summed.
  const TVSOPTerm *terms = VSOPEarthTerms() + first;
  double sum = 0;
  for (int i = 0; i < count; ++i)
    sum += terms[i].A * std::cos(terms[i].B + terms[i].C * tau);
  return sum;
}

double CombineVSOPSeries(const double (&s)[6], double tau)
{
  return (((((s[5] * tau + s[4]) * tau + s[3]) * tau + s[2]) * tau + s[1]) * tau + s[0]) * 1e-8;
}

TVSOPCoordinates EvaluateVSOPEarth(double tau)
{
  TVSOPCoordinates c;
  c.R = EvaluateCoordinate(TVSOPCoordinate::Radius, tau);
  c.L = EvaluateCoordinate(TVSOPCoordinate::Longitude, tau);
  c.B = EvaluateCoordinate(TVSOPCoordinate::Latitude, tau);
  return c;
}

void DynamicToFK5(double tau, double &longitude, double &latitude)
{
  const double T = 10.0 * tau;
  const double lPrime = longitude + T * (-1.397 - 0.00031 * T) * kDegToRad;
  const double cosL = std::cos(lPrime);
  const double sinL = std::sin(lPrime);
  longitude = longitude - kFK5LongitudeShift + kFK5Tilt * (cosL + sinL) * std::tan(latitude);
  latitude = latitude + kFK5Tilt * (cosL - sinL);
}

void GetHeliocentricPosition(TDateTime t, double &L, double &B, double &R)
{
  const double tau = VSOPTau(t);
  TVSOPCoordinates c = EvaluateVSOPEarth(tau);
  DynamicToFK5(tau, c.L, c.B);
  L = Normalize360(c.L * kRadToDeg);
  B = c.B * kRadToDeg;
  R = c.R;
}

double NutationCenturies(TDateTime t) { return (DateTimeToJulian(t) - kJulianDayJ2000) / kDaysPerCentury; }

TNutationArguments GetNutationArguments(double centuries)
{
  const double T = centuries;
  const double sunMeanLongitude = 280.4665 + 36000.7698 * T;
  const double moonMeanLongitude = 218.3165 + 481267.8813 * T;
  TNutationArguments a;
  a.SinTwoSun = SinD(2 * sunMeanLongitude);
  a.CosTwoSun = CosD(2 * sunMeanLongitude);
  a.SinTwoMoon = SinD(2 * moonMeanLongitude);
  a.CosTwoMoon = CosD(2 * moonMeanLongitude);
  return a;
}

TNutation GetNutation(TDateTime t, const TNutationArguments &arguments)
{
  const double T = NutationCenturies(t);
  const double omega = Normalize360(125.04452 - 1934.136261 * T + 0.0020708 * T * T + T * T * T / 450000.0);
  const double sinOmega = SinD(omega);
  const double cosOmega = CosD(omega);
  // The terms in 2Ω by the double-angle formulas.
  const double sinTwoOmega = 2 * sinOmega * cosOmega;
  const double cosTwoOmega = 1 - 2 * sinOmega * sinOmega;
  TNutation n;
  n.DeltaPsi = (-17.20 * sinOmega - 1.32 * arguments.SinTwoSun - 0.23 * arguments.SinTwoMoon +
                0.21 * sinTwoOmega) /
               3600.0;
  n.Epsilon = (84381.448 - 46.8150 * T - 0.00059 * T * T + 0.001813 * T * T * T +
               9.20 * cosOmega + 0.57 * arguments.CosTwoSun + 0.10 * arguments.CosTwoMoon -
               0.09 * cosTwoOmega) /
              3600.0;
  n.SinEpsilon = SinD(n.Epsilon);
  n.CosEpsilon = CosD(n.Epsilon);
  return n;
}

TNutation GetNutation(TDateTime t) { return GetNutation(t, GetNutationArguments(NutationCenturies(t))); }

void GetNutation(TDateTime t, double &deltaPsi, double &epsilon)
{
  const TNutation n = GetNutation(t);
  deltaPsi = n.DeltaPsi;
  epsilon = n.Epsilon;
}

void EclipticToEquatorial(TBodyPosition &p, const TNutation &nutation)
{
  p.EclipticLongitude = Normalize360(p.EclipticLongitude + nutation.DeltaPsi);
  const double lambda = p.EclipticLongitude;
  const double beta = p.EclipticLatitude;
  const double sinEpsilon = nutation.SinEpsilon;
  const double cosEpsilon = nutation.CosEpsilon;
  const double sinBeta = SinD(beta);
  const double cosBeta = CosD(beta);
  p.RightAscension = ArcTan2D(SinD(lambda) * cosEpsilon - sinBeta / cosBeta * sinEpsilon, CosD(lambda));
  p.Declination = ArcSinD(sinBeta * cosEpsilon + cosBeta * sinEpsilon * SinD(lambda));
}

void EclipticToEquatorial(TBodyPosition &p, TDateTime t)
{
  EclipticToEquatorial(p, GetNutation(t));
}

void SunPositionFromSeries(TBodyPosition &p, TVSOPCoordinates series, double tau,
                           const TNutation &nutation)
{
  DynamicToFK5(tau, series.L, series.B);
  const double L = Normalize360(series.L * kRadToDeg);
  const double B = series.B * kRadToDeg;
  const double R = series.R;
  // Geocentric longitude of the Sun, less the annual aberration.
  const double theta = L + 180.0 - kAberration / 3600.0 / R;
  p.EclipticLongitude = Normalize360(theta);
  p.EclipticLatitude = -B;
  p.Distance = R * KilometresPerAU;
  EclipticToEquatorial(p, nutation);
}

void GetSunPosition(TBodyPosition &p, TDateTime t)
{
  const double tau = VSOPTau(t);
  SunPositionFromSeries(p, EvaluateVSOPEarth(tau), tau, GetNutation(t));
}
