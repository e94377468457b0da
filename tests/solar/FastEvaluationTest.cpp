// The simulation's fast evaluation (VSOP87 terms advanced by exact rotations from one
// sample to the next) against the plain evaluation of every instant: equal to within
// 1e-9 relative.

#include "solar/unSunTrack.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace {

void ExpectRelativelyEqual(double fast, double plain, const char *what)
{
  EXPECT_LE(std::abs(fast - plain), 1e-9 * std::abs(plain)) << what;
}

TEST(FastEvaluation, TrackedSunEqualsThePlainPositionAtEveryStep)
{
  const struct {
    double Latitude, Longitude;
    int Year, Month, Day;
    int StepMinutes, Steps;
  } cases[] = {
      {43.6, -6.394167, 2010, 6, 21, 10, 288},  // two whole days of 10-minute samples
      {-33.9, -18.4, 1990, 1, 1, 5, 205},
      {64.9, 147.7, 2035, 12, 31, 10, 150},
      {0.0, 0.0, 2000, 1, 1, 1440, 400},  // one-day steps over more than a year
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(testing::Message() << c.Latitude << " " << c.Year << " step " << c.StepMinutes);
    const TDateTime step = c.StepMinutes / 1440.0;
    const TSeriesStep seriesStep(step);
    TSunTrack track(c.Latitude, c.Longitude, seriesStep);
    const TDateTime start = EncodeDateTime(c.Year, c.Month, c.Day, 4, 17, 0);
    track.Start(start);
    TGPSPosition site;
    site.Latitude = c.Latitude;
    site.Longitude = c.Longitude;
    for (int i = 0; i <= c.Steps; ++i) {
      const TDateTime t = start + i * step;
      if (i > 0)
        track.Next(t);
      TBodyPosition plain;
      GetSunPosition(plain, t);
      EquatorialToHorizontal(plain, c.Latitude, c.Longitude, t);
      ExpectRelativelyEqual(track.Position().EclipticLongitude, plain.EclipticLongitude, "λ");
      ExpectRelativelyEqual(track.Position().Distance, plain.Distance, "distance");
      ExpectRelativelyEqual(track.Position().Declination, plain.Declination, "δ");
      ExpectRelativelyEqual(track.Altitude(), plain.Altitude, "altitude");
      ExpectRelativelyEqual(track.Azimuth(), plain.Azimuth, "azimuth");
      if (HasFailure())
        return;
    }
  }
}

TEST(FastEvaluation, TrackedRiseAndSetEqualThePlainOnes)
{
  std::mt19937_64 engine(1992);
  std::uniform_real_distribution<double> day(EncodeDate(1990, 1, 1), EncodeDate(2036, 1, 1));
  std::uniform_real_distribution<double> latitude(-60, 60), longitude(-180, 180);
  for (int i = 0; i < 300; ++i) {
    const TDateTime t = std::floor(day(engine));
    const double phi = latitude(engine), lambda = longitude(engine);
    const TRiseSet plain = GetSunRiseSet(t, phi, lambda);
    const TRiseSet fast = TrackedRiseSet(t, phi, lambda);
    // 1e-9 of a day is 86 µs; the two differ by rounding only.
    EXPECT_NEAR(fast.Rise, plain.Rise, 1e-9) << t << " " << phi << " " << lambda;
    EXPECT_NEAR(fast.Set, plain.Set, 1e-9) << t << " " << phi << " " << lambda;
  }
  EXPECT_THROW(TrackedRiseSet(EncodeDate(2010, 6, 21), 80, 0), E_NoRiseSet);
}

}  // namespace
