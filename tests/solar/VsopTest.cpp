// The Sun's position from the VSOP87 Earth series: Meeus's worked instant (13 October
// 1992 0 h), the angle helpers and the shape of the compiled table.

#include "solar/vsop.h"
#include "solar/vsopEarthTable.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr double kInstant = 33890.0;  // 13 October 1992 00:00
constexpr double kArcSecond = 1.0 / 3600.0;

double Degrees(double radians) { return radians * 180.0 / M_PI; }

TEST(VsopSeries, WorkedInstantBeforeAndAfterTheFrameConversion)
{
  const double tau = VSOPTau(kInstant);
  EXPECT_NEAR(tau, -0.0072183436, 5e-11);

  TVSOPCoordinates c = EvaluateVSOPEarth(tau);
  EXPECT_NEAR(Normalize360(Degrees(c.L)), 19.907372, 5e-7);
  EXPECT_NEAR(Degrees(c.B), -0.000179, 5e-7);
  EXPECT_NEAR(Degrees(c.B) / kArcSecond, -0.644, 5e-4);
  EXPECT_NEAR(c.R, 0.99760775, 5e-9);

  DynamicToFK5(tau, c.L, c.B);
  EXPECT_NEAR(Normalize360(Degrees(c.L)), 19.907347, 5e-7);
  EXPECT_NEAR(Degrees(c.B) / kArcSecond, -0.621, 5e-4);

  double L = 0, B = 0, R = 0;
  GetHeliocentricPosition(kInstant, L, B, R);
  EXPECT_NEAR(L, 19.907347, 5e-7);
  EXPECT_NEAR(B / kArcSecond, -0.621, 5e-4);
  EXPECT_NEAR(R, 0.99760775, 5e-9);
}

TEST(VsopSeries, LongitudeIsNotReducedToOneTurn)
{
  // About 6283·τ + 1.75 radians.
  const double tau = VSOPTau(kInstant);
  EXPECT_NEAR(EvaluateVSOPEarth(tau).L, 6283.0758 * tau + 1.7535, 0.05);
  EXPECT_LT(EvaluateVSOPEarth(tau).L, -40.0);
}

TEST(VsopSeries, SunPositionAndNutationOfTheWorkedInstant)
{
  TBodyPosition p;
  GetSunPosition(p, kInstant);
  EXPECT_NEAR(p.EclipticLongitude, 199.906095, 5e-7);
  EXPECT_NEAR(p.EclipticLatitude / kArcSecond, 0.621, 5e-4);
  EXPECT_NEAR(p.Distance, 149239993.0, 0.5);
  EXPECT_NEAR(p.RightAscension, -161.621789, 5e-7);
  EXPECT_NEAR(Normalize360(p.RightAscension), 198.378211, 5e-7);
  EXPECT_NEAR(p.Declination, -7.783881, 5e-7);

  double deltaPsi = 0, epsilon = 0;
  GetNutation(kInstant, deltaPsi, epsilon);
  EXPECT_NEAR(deltaPsi / kArcSecond, 16.029, 5e-4);
  EXPECT_NEAR(epsilon, 23.440137, 5e-7);
}

TEST(VsopSeries, RepeatedEvaluationIsBitIdentical)
{
  const double tau = VSOPTau(kInstant + 0.3);
  const TVSOPCoordinates a = EvaluateVSOPEarth(tau);
  const TVSOPCoordinates b = EvaluateVSOPEarth(tau);
  EXPECT_EQ(a.L, b.L);
  EXPECT_EQ(a.B, b.B);
  EXPECT_EQ(a.R, b.R);
}

struct TSeriesShape {
  TVSOPCoordinate Coordinate;
  int Power;
  int Count;
  bool AllZero;
};

TEST(VsopTable, TermCountsAndPlaceholderSeries)
{
  const TSeriesShape shapes[] = {
      {TVSOPCoordinate::Longitude, 0, 64, false}, {TVSOPCoordinate::Longitude, 1, 34, false},
      {TVSOPCoordinate::Longitude, 2, 20, false}, {TVSOPCoordinate::Longitude, 3, 7, false},
      {TVSOPCoordinate::Longitude, 4, 3, false},  {TVSOPCoordinate::Longitude, 5, 1, false},
      {TVSOPCoordinate::Latitude, 0, 5, false},   {TVSOPCoordinate::Latitude, 1, 2, false},
      {TVSOPCoordinate::Latitude, 2, 1, true},    {TVSOPCoordinate::Latitude, 3, 1, true},
      {TVSOPCoordinate::Latitude, 4, 1, true},    {TVSOPCoordinate::Latitude, 5, 0, true},
      {TVSOPCoordinate::Radius, 0, 40, false},    {TVSOPCoordinate::Radius, 1, 10, false},
      {TVSOPCoordinate::Radius, 2, 6, false},     {TVSOPCoordinate::Radius, 3, 2, false},
      {TVSOPCoordinate::Radius, 4, 1, false},     {TVSOPCoordinate::Radius, 5, 1, true},
  };
  int total = 0;
  for (const TSeriesShape &shape : shapes) {
    SCOPED_TRACE(testing::Message() << static_cast<int>(shape.Coordinate) << shape.Power);
    const TVSOPSeriesRange range = VSOPEarthSeries(shape.Coordinate, shape.Power);
    EXPECT_EQ(range.Count, shape.Count);
    total += range.Count;
    const double sum = EvaluateVSOPSeries(range.First, range.Count, -0.0072183436);
    if (shape.AllZero)
      EXPECT_EQ(sum, 0.0);
    else
      EXPECT_NE(sum, 0.0);
  }
  EXPECT_EQ(total, VSOPEarthTermTotal);
  EXPECT_EQ(total, 199);
}

TEST(VsopTable, AmplitudesKeepTheFullPrecisionOfTheTheory)
{
  const TVSOPTerm first = VSOPEarthTerms()[VSOPEarthSeries(TVSOPCoordinate::Longitude, 0).First];
  EXPECT_EQ(first.A, 175347045.673);
  // Constant terms with a phase of π are negative contributions, not zero phases.
  const TVSOPTerm l4 = VSOPEarthTerms()[VSOPEarthSeries(TVSOPCoordinate::Longitude, 4).First];
  EXPECT_EQ(l4.C, 0.0);
  EXPECT_NEAR(l4.B, M_PI, 1e-11);
  const TVSOPSeriesRange l4Range = VSOPEarthSeries(TVSOPCoordinate::Longitude, 4);
  EXPECT_LT(EvaluateVSOPSeries(l4Range.First, 1, 0.0), 0.0);
}

TEST(AngleHelpers, Normalize360)
{
  const struct {
    double In, Out;
  } cases[] = {{-30, 330}, {720, 0}, {359.999, 359.999}, {-720.5, 359.5}, {180, 180}};
  for (const auto &c : cases)
    EXPECT_DOUBLE_EQ(Normalize360(c.In), c.Out) << c.In;
}

TEST(AngleHelpers, DegreeFunctionsNormaliseTheirArgument)
{
  EXPECT_NEAR(SinD(30 + 3600), 0.5, 1e-15);
  EXPECT_NEAR(CosD(-300), 0.5, 1e-15);
  EXPECT_NEAR(TanD(405), 1.0, 1e-14);
  EXPECT_DOUBLE_EQ(ArcTan2D(0, -1), 180.0);
  EXPECT_DOUBLE_EQ(ArcSinD(1), 90.0);
  EXPECT_DOUBLE_EQ(ArcCosD(-1), 180.0);
  EXPECT_DOUBLE_EQ(DateTimeToJulian(36526.0), 2451544.5);
}

}  // namespace
