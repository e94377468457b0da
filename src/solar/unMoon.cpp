#include "solar/unMoon.h"

#include <cmath>

namespace {

constexpr double kJulianDayJ2000 = 2451545.0;
constexpr double kDaysPerCentury = 36525.0;
// Altitude of the Sun's centre at rise and set: refraction and semi-diameter, −50′.
constexpr double kStandardAltitude = -0.8333333;

// A day fraction brought into [0, 1).
double ReduceDayFraction(double m)
{
  double f = m - std::trunc(m);
  if (f < 0)
    f += 1.0;
  return f;
}

}  // namespace

E_NoRiseSet::E_NoRiseSet() : std::runtime_error("No rises or sets calculable") {}

QString E_NoRiseSet::Message() const { return QString::fromUtf8(what()); }

double GetSiderealTime(TDateTime t, const TNutation &nutation)
{
  const double jd = DateTimeToJulian(t) - kJulianDayJ2000;
  const double T = jd / kDaysPerCentury;
  return Normalize360(280.46061837 + 360.98564736629 * jd + T * T * (0.000387933 - T / 38710000.0) +
                      nutation.DeltaPsi * nutation.CosEpsilon);
}

double GetSiderealTime(TDateTime t) { return GetSiderealTime(t, GetNutation(t)); }

void EquatorialToHorizontalAt(TBodyPosition &p, const TLatitudeTerms &latitude, double longitude,
                              double siderealTime)
{
  const double H = Normalize360(siderealTime - longitude - p.RightAscension);
  const double delta = p.Declination;
  const double sinDelta = SinD(delta);
  const double cosDelta = CosD(delta);
  p.Azimuth = ArcTan2D(SinD(H), CosD(H) * latitude.Sin - sinDelta / cosDelta * latitude.Cos);
  p.Altitude = ArcSinD(latitude.Sin * sinDelta + latitude.Cos * cosDelta * CosD(H));
}

void EquatorialToHorizontalAt(TBodyPosition &p, double latitude, double longitude,
                              double siderealTime)
{
  EquatorialToHorizontalAt(p, TLatitudeTerms(latitude), longitude, siderealTime);
}

void EquatorialToHorizontal(TBodyPosition &p, double latitude, double longitude, TDateTime t)
{
  EquatorialToHorizontalAt(p, latitude, longitude, GetSiderealTime(t));
}

void GetSunHorizontal(const TGPSPosition &position, TDateTime t, double &altitude, double &azimuth)
{
  TBodyPosition p;
  GetSunPosition(p, t);
  EquatorialToHorizontal(p, position.Latitude, position.Longitude, t);
  altitude = p.Altitude;
  azimuth = p.Azimuth;
}

double Interpolate3(double n, double y1, double y2, double y3)
{
  auto wrap = [](double d) {
    if (d > 100)
      d -= 360;
    else if (d < -100)
      d += 360;
    return d;
  };
  const double a = wrap(y2 - y1);
  const double b = wrap(y3 - y2);
  const double c = b - a;
  return y2 + (n / 2) * (a + b + n * c);
}

TRiseSet RiseSetFromPositions(TDateTime day, const TBodyPosition &before,
                              const TBodyPosition &today, const TBodyPosition &after,
                              double siderealTime, double latitude, double longitude)
{
  const double theta0 = siderealTime;
  const double h0 = kStandardAltitude;
  const double cosH0 = (SinD(h0) - SinD(latitude) * SinD(today.Declination)) /
                       (CosD(latitude) * CosD(today.Declination));
  if (cosH0 < -1 || cosH0 > 1)
    throw E_NoRiseSet();
  const double H0 = ArcCosD(cosH0);
  const double transit = (today.RightAscension + longitude - theta0) / 360.0;

  // One correction pass of a rise or set estimate m (fraction of the day).
  auto corrected = [&](double m) {
    const double theta = theta0 + 360.985647 * m;
    const double alpha =
        Interpolate3(m, before.RightAscension, today.RightAscension, after.RightAscension);
    const double delta = Interpolate3(m, before.Declination, today.Declination, after.Declination);
    double H = Normalize360(theta - longitude - alpha);
    if (H > 180)
      H -= 360;
    const double h = ArcSinD(SinD(latitude) * SinD(delta) + CosD(latitude) * CosD(delta) * CosD(H));
    return m + (h - h0) / (360.0 * CosD(delta) * CosD(latitude) * SinD(H));
  };

  TRiseSet result;
  result.Rise = day + corrected(ReduceDayFraction(transit - H0 / 360.0));
  result.Set = day + corrected(ReduceDayFraction(transit + H0 / 360.0));
  return result;
}

TRiseSet GetSunRiseSet(TDateTime t, double latitude, double longitude)
{
  const TDateTime day = std::trunc(t);
  TBodyPosition before, today, after;
  GetSunPosition(before, day - 1);
  GetSunPosition(today, day);
  GetSunPosition(after, day + 1);
  return RiseSetFromPositions(day, before, today, after, GetSiderealTime(day), latitude, longitude);
}

TRiseSet GetDaylight(TDateTime t, double latitude, double longitude, TRiseSetFunction riseSet)
{
  TRiseSet daylight = riseSet(t, latitude, longitude);
  if (daylight.Set < daylight.Rise) {
    // When the neighbour's event has drifted across 0 h UT, it lies at the far end of
    // its day and bounds the next daylight (or the one before): this daylight's event
    // then falls midway between the events of the two UT days.
    if (longitude > 0) {
      const TDateTime nextSet = riseSet(std::trunc(t) + 1, latitude, longitude).Set;
      daylight.Set = nextSet - daylight.Rise > 1 ? (daylight.Set + nextSet) / 2 : nextSet;
    } else {
      const TDateTime previousRise = riseSet(std::trunc(t) - 1, latitude, longitude).Rise;
      daylight.Rise =
          daylight.Set - previousRise > 1 ? (daylight.Rise + previousRise) / 2 : previousRise;
    }
  }
  return daylight;
}

TDateTime SunriseTime(TDateTime t, double latitude, double longitude)
{
  return GetSunRiseSet(t, latitude, longitude).Rise;
}

TDateTime SunsetTime(TDateTime t, double latitude, double longitude)
{
  return GetSunRiseSet(t, latitude, longitude).Set;
}

TDateTime SunriseTime(const TGPSPosition &position, TDateTime t)
{
  return SunriseTime(t, position.Latitude, position.Longitude);
}

TDateTime SunsetTime(const TGPSPosition &position, TDateTime t)
{
  return SunsetTime(t, position.Latitude, position.Longitude);
}
