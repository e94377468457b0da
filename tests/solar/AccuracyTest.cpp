// Accuracy beyond the worked examples: the Sun's altitude and azimuth and the instants
// of sunrise and sunset against an independent high-precision reference (ERFA), for
// random instants of 1990–2035 and random sites, from a fixed seed.

#include "ErfaReference.h"
#include "solar/unMoon.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

namespace {

constexpr double kStandardAltitude = -0.8333333;
constexpr double kSecond = 1.0 / 86400.0;

double AngleDifference(double a, double b)
{
  double d = std::fmod(a - b, 360.0);
  if (d > 180)
    d -= 360;
  else if (d < -180)
    d += 360;
  return std::abs(d);
}

class RandomSites {
public:
  explicit RandomSites(double maxLatitude) : FLatitude(-maxLatitude, maxLatitude) {}
  TDateTime Instant() { return FInstant(FEngine); }
  double Latitude() { return FLatitude(FEngine); }
  double Longitude() { return FLongitude(FEngine); }

private:
  std::mt19937_64 FEngine{20100621};
  std::uniform_real_distribution<double> FInstant{EncodeDate(1990, 1, 1), EncodeDate(2036, 1, 1)};
  std::uniform_real_distribution<double> FLatitude;
  std::uniform_real_distribution<double> FLongitude{-180.0, 180.0};
};

TEST(Accuracy, AltitudeAndAzimuthWithinOneHundredthOfADegree)
{
  RandomSites random(65.0);
  double worstAltitude = 0, worstAzimuth = 0, worstOnTheSky = 0;
  for (int i = 0; i < 3000; ++i) {
    const TDateTime t = random.Instant();
    TGPSPosition site;
    site.Latitude = random.Latitude();
    site.Longitude = random.Longitude();
    double altitude = 0, azimuth = 0;
    GetSunHorizontal(site, t, altitude, azimuth);
    const TReferenceSun reference = ReferenceSun(t, site.Latitude, site.Longitude);
    const double altitudeError = std::abs(altitude - reference.Altitude);
    const double azimuthError = AngleDifference(azimuth, reference.Azimuth);
    // Close to the zenith and the nadir the azimuth is ill-defined: there the error
    // along the horizon circle, on the sky, is what must stay small.
    const double onTheSky = azimuthError * std::cos(reference.Altitude * M_PI / 180);
    SCOPED_TRACE(testing::Message() << t << " " << site.Latitude << " " << site.Longitude);
    ASSERT_LT(altitudeError, 0.01);
    ASSERT_LT(onTheSky, 0.01);
    if (std::abs(reference.Altitude) < 75) {
      ASSERT_LT(azimuthError, 0.01);
      worstAzimuth = std::max(worstAzimuth, azimuthError);
    }
    worstAltitude = std::max(worstAltitude, altitudeError);
    worstOnTheSky = std::max(worstOnTheSky, onTheSky);
  }
  std::cout << "worst errors: altitude " << worstAltitude << "°, azimuth (|altitude| < 75°) "
            << worstAzimuth << "°, azimuth on the sky " << worstOnTheSky << "°\n";
}

// The reference instant at which the Sun's centre crosses the standard altitude on the
// given branch, nearest to the estimate.
TDateTime ReferenceCrossing(TDateTime estimate, double latitude, double longitude, bool rising)
{
  auto above = [&](TDateTime t) {
    return ReferenceSun(t, latitude, longitude).Altitude > kStandardAltitude;
  };
  // Widen a bracket around the estimate until the altitude crosses in the right sense.
  for (double half = 60 * kSecond; half < 0.1; half *= 4) {
    TDateTime before = estimate - half, after = estimate + half;
    if (above(before) != rising && above(after) == rising) {
      while (after - before > 0.01 * kSecond) {
        const TDateTime middle = (before + after) / 2;
        (above(middle) == rising ? after : before) = middle;
      }
      return (before + after) / 2;
    }
  }
  return std::nan("");
}

TEST(Accuracy, SunriseAndSunsetWithinThirtySeconds)
{
  RandomSites random(60.0);
  double worst = 0;
  for (int i = 0; i < 1500; ++i) {
    const TDateTime day = std::floor(random.Instant());
    const double latitude = random.Latitude();
    const double longitude = random.Longitude();
    const TRiseSet ours = GetSunRiseSet(day, latitude, longitude);
    const TDateTime rise = ReferenceCrossing(ours.Rise, latitude, longitude, true);
    const TDateTime set = ReferenceCrossing(ours.Set, latitude, longitude, false);
    const double riseError = std::abs(ours.Rise - rise) / kSecond;
    const double setError = std::abs(ours.Set - set) / kSecond;
    ASSERT_LT(riseError, 30.0) << day << " " << latitude << " " << longitude;
    ASSERT_LT(setError, 30.0) << day << " " << latitude << " " << longitude;
    worst = std::max({worst, riseError, setError});
  }
  std::cout << "worst rise/set error " << worst << " s\n";
}

}  // namespace
