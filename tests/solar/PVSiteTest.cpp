// The site model: the worked example (Provence, 21 June 2010, 10:00 UT), the property
// rules, the monthly climate and the day simulation, whose fast evaluation must equal
// the plain evaluation of every sample.

#include "solar/unPVSite.h"
#include "WorkedPlane.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr double kTenMinutes = 10.0 / 1440.0;

TPVSite WorkedSite()
{
  TPVSite site(1);
  site.SetPosition(WorkedPlane());
  site.SetNoct(45);
  site.SetTempCoeffPuissance(-0.45);
  site.SetPuissance(3000);
  site.SetRendementOnduleur(94);
  site.SetMeanTemp(20);
  site.SetHR(0.75);
  return site;
}

TEST(PVSite, WorkedExampleAndInverterClipping)
{
  TPVSite site = WorkedSite();
  double irradiance = 0, puissance = 0, tempCoeff = 0;
  site.GetDataForATime(EncodeDateTime(2010, 6, 21, 10, 0, 0), irradiance, puissance, tempCoeff);
  EXPECT_NEAR(irradiance, 955.996, 5e-4);
  // T_cell = 49.875 °C.
  EXPECT_NEAR(25 + (tempCoeff - 1) / (-0.45 / 100), 49.875, 5e-4);
  EXPECT_NEAR(tempCoeff, 0.888063, 5e-7);
  EXPECT_NEAR(puissance, 2394.14, 5e-3);

  site.SetPuissanceOnduleurACMax(2000);
  site.GetDataForATime(EncodeDateTime(2010, 6, 21, 10, 0, 0), irradiance, puissance, tempCoeff);
  EXPECT_NEAR(puissance, 2394.14, 5e-3);  // the limit applies only when asked for
  site.SetUsePOnduleurACMax(true);
  site.GetDataForATime(EncodeDateTime(2010, 6, 21, 10, 0, 0), irradiance, puissance, tempCoeff);
  EXPECT_EQ(puissance, 2000.0);

  site.SetPuissanceOnduleurACMax(0);  // an inverter without any AC power figure
  site.GetDataForATime(EncodeDateTime(2010, 6, 21, 10, 0, 0), irradiance, puissance, tempCoeff);
  EXPECT_NEAR(puissance, 2394.14, 5e-3);
}

TEST(PVSite, PropertyDefaultsAndDerivedValues)
{
  TPVSite site(7);
  EXPECT_EQ(site.ID(), 7);
  EXPECT_TRUE(site.UseArrayTemp());
  EXPECT_TRUE(site.UseArrayHR());
  site.SetNoct(0);
  EXPECT_EQ(site.Noct(), 48.0);
  site.SetTempCoeffPuissance(0);
  EXPECT_EQ(site.TempCoeffPuissance(), -0.45);
  site.SetHR(0);
  EXPECT_FALSE(site.UseArrayHR());
  EXPECT_EQ(site.HR(), 0.75);

  site.SetPuissance(3000);
  site.SetRendementOnduleur(94);
  EXPECT_DOUBLE_EQ(site.Rendement(), 3.0 * 0.94);
  site.SetPuissance(1500);
  EXPECT_DOUBLE_EQ(site.Rendement(), 1.5 * 0.94);

  site.SetPuissance(3000);
  site.SetRatioPuissance(0);
  EXPECT_EQ(site.RatioPuissance(), 1.0);
  site.SetRatioPuissance(6000);
  EXPECT_EQ(site.RatioPuissance(), 0.5);
}

TEST(PVSite, MonthlyClimateIsInterpolatedAtTheCurrentDate)
{
  TPVSite site = WorkedSite();
  site.SetArrayTemperature({2, 4, 9, 12, 16, 20, 23, 22, 18, 13, 7, 3});
  site.SetArrayHR({80, 76, 70, 68, 66, 62, 58, 60, 66, 74, 79, 82});
  site.SetUseArrayTemp(true);
  site.SetUseArrayHR(true);
  double g = 0, p = 0, k = 0;

  site.GetDataForATime(EncodeDateTime(2011, 3, 15, 12, 0, 0), g, p, k);
  EXPECT_EQ(site.MeanTemp(), 9.0);
  EXPECT_EQ(site.HR(), 0.70);

  // 1 January: the parabola through December (day −16), January (15), February (46).
  site.GetDataForATime(EncodeDateTime(2011, 1, 1, 12, 0, 0), g, p, k);
  auto parabola = [](double y1, double y2, double y3) {
    const double x = 1, x1 = -16, x2 = 15, x3 = 46;
    return y1 * (x - x2) * (x - x3) / ((x1 - x2) * (x1 - x3)) +
           y2 * (x - x1) * (x - x3) / ((x2 - x1) * (x2 - x3)) +
           y3 * (x - x1) * (x - x2) / ((x3 - x1) * (x3 - x2));
  };
  EXPECT_NEAR(site.MeanTemp(), parabola(3, 2, 4), 1e-12);
  EXPECT_NEAR(site.HR(), parabola(82, 80, 76) / 100, 1e-14);
}

struct TDayResult {
  int Samples = 0;
  double Irradiance = 0, Puissance = 0, TempCoeff = 1, Energie = 0, Surplus = 0, TimeProd = 0;
  std::array<double, TPVSite::MaxSamplesPerDay> Power{};
};

// The day as the plain per-sample evaluation gives it: Sun position, sky position and
// irradiance computed afresh for every sample through GetDataForATime.
TDayResult PlainDay(TPVSite site, TDateTime day, double fond)
{
  double g = 0, p = 0, k = 0;
  site.GetDataForATime(day, g, p, k);  // reads the day's climate at its start
  site.SetMeanTemp(site.MeanTemp());
  site.SetHR(site.HR());
  const TRiseSet daylight = GetDaylight(day, site.Position().Latitude, site.Position().Longitude);
  const TDateTime start = daylight.Rise + kTenMinutes;
  const TDateTime finish = daylight.Set - kTenMinutes;
  TDayResult r;
  r.TimeProd = std::abs(finish - start) * 24;
  TDateTime t = start;
  do {
    site.GetDataForATime(t, g, p, k);
    r.Power[static_cast<std::size_t>(r.Samples)] = p;
    r.Irradiance = std::max(r.Irradiance, g);
    r.Puissance = std::max(r.Puissance, p);
    r.TempCoeff = std::min(r.TempCoeff, k);
    r.Energie += p / 6000;
    if (p > fond)
      r.Surplus += (p - fond) / 6000;
    ++r.Samples;
    t = start + r.Samples * 10 / 1440.0;
  } while (t <= finish);
  return r;
}

void ExpectRelativelyEqual(double fast, double plain, const char *what)
{
  EXPECT_LE(std::abs(fast - plain), 1e-9 * std::max(std::abs(plain), 1e-3)) << what;
}

TEST(PVSiteDay, FastEvaluationEqualsThePlainEvaluationOfEverySample)
{
  const struct {
    double Latitude, Longitude;
    int Orientation, Inclinaison;
    int Year, Month, Day;
    double Fond;
  } cases[] = {
      {43.6, -6.394167, 0, 20, 2010, 6, 21, 500},    // worked site, long day
      {48.45, 4.42, -45, 35, 2011, 12, 21, 200},      // Brest, short winter day
      {-20.9, -55.5, 180, 15, 2012, 2, 29, 0},        // La Réunion, facing north
      {60.0, -10.0, 30, 60, 2020, 6, 20, 1000},       // very long day
      {34.0, 118.2, 0, 30, 2033, 9, 1, 300},          // far west: the day crosses 0 h UT
      {-45.0, -170.0, 90, 90, 1990, 1, 2, 100},       // far east, west-facing wall
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(testing::Message() << c.Latitude << " " << c.Longitude << " " << c.Year << "-" << c.Month);
    TPVSite site = WorkedSite();
    TGPSPosition position = site.Position();
    position.Latitude = c.Latitude;
    position.Longitude = c.Longitude;
    position.Orientation = c.Orientation;
    position.Inclinaison = c.Inclinaison;
    site.SetPosition(position);
    site.SetArrayTemperature({2, 4, 9, 12, 16, 20, 23, 22, 18, 13, 7, 3});
    site.SetArrayHR({80, 76, 70, 68, 66, 62, 58, 60, 66, 74, 79, 82});
    site.SetUseArrayTemp(true);
    site.SetUseArrayHR(true);
    const TDateTime day = EncodeDate(c.Year, c.Month, c.Day);

    const TDayResult plain = PlainDay(site, day, c.Fond);
    TDayResult fast;
    fast.Samples = site.GetDataForADay(day, c.Fond, fast.Irradiance, fast.Puissance, fast.TempCoeff,
                                       fast.Energie, fast.Surplus, fast.TimeProd);
    ASSERT_EQ(fast.Samples, plain.Samples);
    ASSERT_GT(plain.Samples, 30);
    for (int i = 0; i < plain.Samples; ++i)
      ExpectRelativelyEqual(site.DataPowerOfTheDay[static_cast<std::size_t>(i)],
                            plain.Power[static_cast<std::size_t>(i)], "sample power");
    for (int i = plain.Samples; i < TPVSite::MaxSamplesPerDay; ++i)
      EXPECT_EQ(site.DataPowerOfTheDay[static_cast<std::size_t>(i)], 0.0);
    ExpectRelativelyEqual(fast.Irradiance, plain.Irradiance, "irradiance");
    ExpectRelativelyEqual(fast.Puissance, plain.Puissance, "power");
    ExpectRelativelyEqual(fast.TempCoeff, plain.TempCoeff, "temperature factor");
    ExpectRelativelyEqual(fast.Energie, plain.Energie, "energy");
    ExpectRelativelyEqual(fast.Surplus, plain.Surplus, "surplus");
    EXPECT_EQ(fast.TimeProd, plain.TimeProd);
    // The monthly climate is back on after the day.
    EXPECT_TRUE(site.UseArrayTemp());
    EXPECT_TRUE(site.UseArrayHR());
  }
}

TEST(PVSiteDay, WithoutBackgroundConsumptionTheSurplusIsTheEnergy)
{
  TPVSite site = WorkedSite();
  double g = 0, p = 0, k = 0, energy = 0, surplus = 0, hours = 0;
  const int samples = site.GetDataForADay(EncodeDate(2010, 6, 21), 0, g, p, k, energy, surplus, hours);
  EXPECT_EQ(samples, static_cast<int>(std::floor(hours * 6 + 1e-9)) + 1);
  EXPECT_GT(energy, 15.0);
  EXPECT_DOUBLE_EQ(surplus, energy);
  // Fixed values written from outside stay fixed.
  EXPECT_FALSE(site.UseArrayTemp());
  EXPECT_FALSE(site.UseArrayHR());
}

TEST(PVSiteDay, AVeryShortDayStillMakesOneSample)
{
  // Near the polar circle in December the Sun is up for less than 20 minutes.
  const TDateTime day = EncodeDate(2010, 12, 21);
  TGPSPosition position = WorkedPlane();
  position.Longitude = -20;
  for (position.Latitude = 66.0; position.Latitude < 68.0; position.Latitude += 0.002) {
    const TRiseSet daylight = GetSunRiseSet(day, position.Latitude, position.Longitude);
    if (daylight.Set - daylight.Rise < 19 / 1440.0)
      break;
  }
  ASSERT_LT(SunsetTime(position, day) - SunriseTime(position, day), 20 / 1440.0);
  TPVSite site = WorkedSite();
  site.SetPosition(position);
  double g = 0, p = 0, k = 0, energy = 0, surplus = 0, hours = 0;
  EXPECT_EQ(site.GetDataForADay(day, 0, g, p, k, energy, surplus, hours), 1);
}

TEST(PVSiteDay, PolarDaysRaiseNoRiseSet)
{
  TPVSite site = WorkedSite();
  TGPSPosition position = site.Position();
  position.Latitude = 80;
  site.SetPosition(position);
  double g = 0, p = 0, k = 0, energy = 0, surplus = 0, hours = 0;
  EXPECT_THROW(site.GetDataForADay(EncodeDate(2011, 6, 10), 0, g, p, k, energy, surplus, hours),
               E_NoRiseSet);
}

}  // namespace
