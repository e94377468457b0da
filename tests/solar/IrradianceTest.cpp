// Clear-sky irradiance: every intermediate of the worked example (Provence, 21 June
// 2010, 10:00 UT), the shade times, night, a North-facing wall and the humidity bounds.

#include "solar/unRayonnement.h"
#include "WorkedPlane.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

TDateTime TenUT() { return EncodeDateTime(2010, 6, 21, 10, 0, 0); }

TEST(Irradiance, EveryStepOfTheWorkedExample)
{
  const TIrradianceDetail d = GetIrradianceDetail(WorkedPlane(), TenUT(), 20, 0.75, 0, 0);
  EXPECT_NEAR(d.Altitude, 61.773, 5e-4);
  EXPECT_NEAR(d.Azimuth, -52.217, 5e-4);
  EXPECT_EQ(d.DayOfYear, 172);
  EXPECT_NEAR(d.ExtraTerrestrial, 1322.54, 5e-3);
  EXPECT_NEAR(d.Pressure, 94303.6, 0.05);
  EXPECT_NEAR(d.AirMass, 1.05537, 1e-5);  // 1.0553751: the last digit is truncated
  EXPECT_NEAR(d.RayleighThickness, 0.0966199, 5e-8);
  EXPECT_NEAR(d.LinkeTurbidity, 3.76385, 5e-6);
  EXPECT_NEAR(d.Beam, 901.00, 5e-3);
  EXPECT_NEAR(d.Diffuse, 120.72, 5e-3);
  EXPECT_NEAR(d.CosIncidence, 0.92705, 5e-6);
  EXPECT_NEAR(d.Global, 956.0, 0.05);
  EXPECT_EQ(GetIrradiance(WorkedPlane(), TenUT(), 20, 0.75, 0, 0), d.Global);
}

TEST(Irradiance, ShadeTimesOnlyCountByTheirTimeOfDay)
{
  const double diffuse = GetIrradianceDetail(WorkedPlane(), TenUT(), 20, 0.75, 0, 0).Diffuse;
  const double full = GetIrradiance(WorkedPlane(), TenUT(), 20, 0.75, 0, 0);
  const TDateTime halfPastTen = EncodeDateTime(1999, 1, 3, 10, 30, 0);
  const TDateTime ten = EncodeDateTime(2031, 5, 1, 10, 0, 0);
  const struct {
    TDateTime Morning, Evening;
    double Expected;
  } cases[] = {
      {halfPastTen, 0, diffuse},  // shade lasts until 10:30
      {0, halfPastTen, full},     // shade starts at 10:30
      {ten, 0, full},             // equal times keep the beam
      {0, ten, full},
      {0, EncodeDateTime(2010, 6, 21, 9, 59, 0), diffuse},
  };
  for (const auto &c : cases)
    EXPECT_DOUBLE_EQ(GetIrradiance(WorkedPlane(), TenUT(), 20, 0.75, c.Morning, c.Evening), c.Expected)
        << c.Morning << " " << c.Evening;
  EXPECT_NEAR(diffuse, 120.72, 5e-3);
}

TEST(Irradiance, NightGivesNothingEvenOnATiltedPlane)
{
  TGPSPosition plane = WorkedPlane();
  plane.Inclinaison = 60;
  EXPECT_EQ(GetIrradiance(plane, EncodeDateTime(2010, 6, 21, 23, 0, 0), 20, 0.75, 0, 0), 0.0);
}

TEST(Irradiance, NorthFacingWallSeesOnlyDiffuseLightAtNoon)
{
  TGPSPosition wall = WorkedPlane();
  wall.Orientation = 180;
  wall.Inclinaison = 90;
  const TIrradianceDetail d =
      GetIrradianceDetail(wall, EncodeDateTime(2010, 6, 21, 11, 30, 0), 20, 0.75, 0, 0);
  EXPECT_NEAR(d.Altitude, 69.80, 5e-3);
  EXPECT_EQ(d.CosIncidence, 0.0);
  const double sinH = std::sin(d.Altitude * M_PI / 180);
  EXPECT_NEAR(d.Global, 62.5 * std::pow(sinH, 0.4) + 105.93 * std::pow(sinH, 1.22), 1e-9);
  EXPECT_NEAR(d.Global, 158.97, 5e-3);
}

TEST(Irradiance, HumidityIsClampedToItsBounds)
{
  const struct {
    double Given, Used;
  } cases[] = {{0.0, 0.01}, {-0.2, 0.01}, {1.3, 1.0}};
  for (const auto &c : cases)
    EXPECT_EQ(GetIrradiance(WorkedPlane(), TenUT(), 20, c.Given, 0, 0),
              GetIrradiance(WorkedPlane(), TenUT(), 20, c.Used, 0, 0))
        << c.Given;
}

TEST(LinkeTurbidity, WorkedValues)
{
  const struct {
    TAngstromCoeff Colour;
    double Temperature, Humidity, Expected;
  } cases[] = {
      {TAngstromCoeff::acBleuFonce, 20, 0.75, 3.763846},
      {TAngstromCoeff::acBleuProfond, 10, 0.75, 3.334900},
      {TAngstromCoeff::acBleuBlanc, 25, 1, 12.233895},
  };
  for (const auto &c : cases)
    EXPECT_NEAR(GetLinkeTurbidity(c.Colour, c.Temperature, c.Humidity), c.Expected, 5e-7);
}

}  // namespace
