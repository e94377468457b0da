// Local sky position of the Sun, sunrise and sunset: the worked site in Provence on
// 21 June 2010, the polar cases and the sky colours.

#include "solar/unMoon.h"

#include <gtest/gtest.h>

namespace {

constexpr double kSecond = 1.0 / 86400.0;

TGPSPosition WorkedSite()
{
  TGPSPosition site;
  site.Latitude = 43.6;
  site.Longitude = -6.394167;  // 6°23′39″ E
  return site;
}

TEST(SunriseSunset, WorkedSiteOnTheSolstice)
{
  const TDateTime day = EncodeDate(2010, 6, 21);
  EXPECT_NEAR(SunriseTime(WorkedSite(), day), day + EncodeTime(3, 53, 3), 1.5 * kSecond);
  EXPECT_NEAR(SunsetTime(WorkedSite(), day), day + EncodeTime(19, 19, 20), 1.5 * kSecond);
}

TEST(SunriseSunset, OnlyTheDayOfTheInstantCounts)
{
  const TDateTime day = EncodeDate(2010, 6, 21);
  EXPECT_EQ(SunriseTime(WorkedSite(), day + EncodeTime(17, 45, 0)), SunriseTime(WorkedSite(), day));
  EXPECT_EQ(SunsetTime(WorkedSite(), day + EncodeTime(23, 59, 0)), SunsetTime(WorkedSite(), day));
}

TEST(SunriseSunset, BothFromOneEvaluationEqualTheSeparateCalls)
{
  const TDateTime day = EncodeDate(2014, 2, 11);
  const TRiseSet both = GetSunRiseSet(day, -33.9, -18.4);
  EXPECT_EQ(both.Rise, SunriseTime(day, -33.9, -18.4));
  EXPECT_EQ(both.Set, SunsetTime(day, -33.9, -18.4));
}

TEST(SunriseSunset, MidnightSunAndPolarNightRaiseNoRiseSet)
{
  for (const TDateTime day : {EncodeDate(2010, 6, 21), EncodeDate(2010, 12, 21)}) {
    try {
      SunriseTime(day, 80.0, -15.0);
      ADD_FAILURE() << "no exception";
    } catch (const E_NoRiseSet &e) {
      EXPECT_EQ(e.Message(), QStringLiteral("No rises or sets calculable"));
    }
    EXPECT_THROW(SunsetTime(day, 80.0, -15.0), E_NoRiseSet);
  }
}

TEST(SunHorizontal, WorkedSiteAtTenUT)
{
  double altitude = 0, azimuth = 0;
  GetSunHorizontal(WorkedSite(), EncodeDateTime(2010, 6, 21, 10, 0, 0), altitude, azimuth);
  EXPECT_NEAR(altitude, 61.773, 5e-4);
  EXPECT_NEAR(azimuth, -52.217, 5e-4);
}

TEST(SunHorizontal, AzimuthIsCountedFromTheSouthTowardsTheWest)
{
  // Afternoon in the northern hemisphere: west of south; the southern hemisphere's
  // noon Sun stands north (azimuth near ±180).
  double altitude = 0, azimuth = 0;
  GetSunHorizontal(WorkedSite(), EncodeDateTime(2010, 6, 21, 15, 0, 0), altitude, azimuth);
  EXPECT_GT(azimuth, 30.0);
  TGPSPosition south;
  south.Latitude = -34.0;
  south.Longitude = -18.0;
  GetSunHorizontal(south, EncodeDateTime(2010, 6, 21, 10, 45, 0), altitude, azimuth);
  EXPECT_GT(std::abs(azimuth), 170.0);
}

TEST(Interpolate3, RightAscensionsWrappingAtTheHalfTurn)
{
  const struct {
    double N, Y1, Y2, Y3, Expected;
  } cases[] = {
      {0.0, 1.0, 2.0, 3.0, 2.0},
      {0.5, 1.0, 2.0, 3.0, 2.5},
      {-1.0, 1.0, 4.0, 9.0, 1.0},  // exact on a parabola
      {0.5, 179.0, -180.0, -179.0, -179.5},
  };
  for (const auto &c : cases)
    EXPECT_DOUBLE_EQ(Interpolate3(c.N, c.Y1, c.Y2, c.Y3), c.Expected) << c.N << " " << c.Y1;
}

TEST(SkyColours, CoefficientsAndTexts)
{
  const struct {
    TAngstromCoeff Colour;
    double Beta;
    const char *Long;
    const char *Short;
  } cases[] = {
      {TAngstromCoeff::acBleuProfond, 0.01, "Bleu profond (B = 0,01)", "Bleu profond"},
      {TAngstromCoeff::acBleuFonce, 0.02, "Bleu foncé (B = 0,02)", "Bleu foncé"},
      {TAngstromCoeff::acBleuPur, 0.035, "Bleu pur (B = 0,035)", "Bleu pur"},
      {TAngstromCoeff::acBleu, 0.05, "Bleu (B = 0,05)", "Bleu"},
      {TAngstromCoeff::acBleuDelave, 0.07, "Bleu délavé (B = 0,07)", "Bleu délavé"},
      {TAngstromCoeff::acBleuLaiteux, 0.15, "Bleu laiteux (B = 0,15)", "Bleu laiteux"},
      {TAngstromCoeff::acBleuVoile, 0.25, "Bleu voilé (B = 0,25)", "Bleu voilé"},
      {TAngstromCoeff::acBleuBlanc, 0.5, "Bleu blanc (B = 0,5)", "Bleu blanc"},
  };
  int index = 0;
  for (const auto &c : cases) {
    EXPECT_EQ(AngstromFromIndex(index++), c.Colour);
    EXPECT_EQ(AngstromBeta(c.Colour), c.Beta);
    EXPECT_EQ(AngstromLongText(c.Colour), QString::fromUtf8(c.Long));
    EXPECT_EQ(AngstromShortText(c.Colour), QString::fromUtf8(c.Short));
  }
}

}  // namespace

namespace {

TEST(Daylight, SitesFarFromGreenwichGetTheSetThatEndsTheirDay)
{
  // Los Angeles and Nouméa: the rise and set of one UT day fall on two local days.
  const struct {
    double Latitude, Longitude;
    double MinHours, MaxHours;
  } cases[] = {
      {34.05, 118.25, 12.0, 13.0},   // September, west of Greenwich
      {-22.27, -166.45, 11.5, 12.5}, // September, east of Greenwich
      {43.6, -6.394167, 12.0, 13.0}, // near Greenwich nothing changes
  };
  const TDateTime day = EncodeDate(2013, 9, 20);
  for (const auto &c : cases) {
    const TRiseSet daylight = GetDaylight(day, c.Latitude, c.Longitude);
    const double hours = (daylight.Set - daylight.Rise) * 24;
    EXPECT_GT(hours, c.MinHours) << c.Longitude;
    EXPECT_LT(hours, c.MaxHours) << c.Longitude;
    // Each instant is one the rise/set routine gives for that UT day or a neighbour.
    const bool riseFromDay = daylight.Rise == SunriseTime(day, c.Latitude, c.Longitude) ||
                             daylight.Rise == SunriseTime(day - 1, c.Latitude, c.Longitude);
    const bool setFromDay = daylight.Set == SunsetTime(day, c.Latitude, c.Longitude) ||
                            daylight.Set == SunsetTime(day + 1, c.Latitude, c.Longitude);
    EXPECT_TRUE(riseFromDay && setFromDay) << c.Longitude;
  }
  EXPECT_EQ(GetDaylight(day, 43.6, -6.394167).Set, SunsetTime(day, 43.6, -6.394167));
}

TEST(Daylight, AnEventNearMidnightUTEndsOrStartsTheDaylightOnce)
{
  // About 90° from Greenwich the set (west) or the rise (east) drifts across 0 h UT in
  // the course of the year; the daylight must still be one daylight, bounded by the
  // Sun at the horizon, not a day and a half.
  const struct {
    double Latitude, Longitude;
  } sites[] = {{0, 90}, {45, 90}, {-40, 92}, {0, -90}, {45, -90}, {-40, -88}};
  constexpr double kRiseSetAltitude = -0.8333333;
  for (const auto &site : sites) {
    TGPSPosition position;
    position.Latitude = site.Latitude;
    position.Longitude = site.Longitude;
    for (TDateTime day = EncodeDate(2011, 1, 1); day <= EncodeDate(2011, 12, 31); day += 1) {
      const TRiseSet daylight = GetDaylight(day, site.Latitude, site.Longitude);
      ASSERT_GT(daylight.Set - daylight.Rise, 0.25) << site.Longitude << " day " << day;
      ASSERT_LT(daylight.Set - daylight.Rise, 0.75) << site.Longitude << " day " << day;
      for (const TDateTime event : {daylight.Rise, daylight.Set}) {
        double altitude = 0, azimuth = 0;
        GetSunHorizontal(position, event, altitude, azimuth);
        ASSERT_NEAR(altitude, kRiseSetAltitude, 0.05) << site.Longitude << " day " << day;
      }
    }
  }
}

}  // namespace
