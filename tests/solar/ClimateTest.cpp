// Climate stations: the nearest station to a position and a station's humidity at a
// date, on small tables and on the shipped station list.

#include "SolarDatabase.h"
#include "solar/unMoon.h"

#include <gtest/gtest.h>

namespace {

TGPSPosition At(double latitude, double longitude)
{
  TGPSPosition position;
  position.Latitude = latitude;
  position.Longitude = longitude;
  return position;
}

TEST(ClimateStations, NearestStationInPlainSquaredDegrees)
{
  TSolarDatabase db;
  db.AddStation(7, 43.5, -6.0, {});
  db.AddStation(9, 45.0, -5.0, {});
  db.AddStation(4, 45.0, -5.0, {});  // same place as 9, later in the table
  const struct {
    double Latitude, Longitude;
    int Expected;
  } cases[] = {
      {43.6, -6.39, 7},
      {45.1, -5.0, 9},     // ties keep the earlier row
      {10.0, 60.0, 1},     // nothing within about 31.6 degrees
      {43.6, 6.39, 9},     // the mirrored longitude (a sign error) lands elsewhere
  };
  for (const auto &c : cases)
    EXPECT_EQ(db.data.FindNearestClimateStation(At(c.Latitude, c.Longitude)), c.Expected)
        << c.Latitude << " " << c.Longitude;
}

TEST(ClimateStations, HumidityInterpolatedBetweenMonths)
{
  TSolarDatabase db;
  db.AddStation(3, 45, 0, {"80", "76", "72", "70", "69", "64", "60", "62", "68", "74", "79", "82"});
  db.AddStation(4, 45, 1, {"80,0", " 76 ", "72.0", "70", "69", "64", "60", "62", "68", "74", "79", "8 2"});
  // 15 March is exactly March; 1 January lies on the parabola through December (day
  // −16), January (15) and February (46).
  EXPECT_EQ(db.data.GetClimateHR(3, EncodeDate(2011, 3, 15)), 72.0);
  const double x = 1, x1 = -16, x2 = 15, x3 = 46;
  const double expected = 82 * (x - x2) * (x - x3) / ((x1 - x2) * (x1 - x3)) +
                          80 * (x - x1) * (x - x3) / ((x2 - x1) * (x2 - x3)) +
                          76 * (x - x1) * (x - x2) / ((x3 - x1) * (x3 - x2));
  EXPECT_NEAR(db.data.GetClimateHR(3, EncodeDate(2011, 1, 1)), expected, 1e-12);
  // Decimal commas and blanks read as plain numbers.
  for (int day = 1; day <= 365; day += 7)
    EXPECT_EQ(db.data.GetClimateHR(4, EncodeDate(2011, 1, 1) + day - 1),
              db.data.GetClimateHR(3, EncodeDate(2011, 1, 1) + day - 1));
  // No such station: 0.
  EXPECT_EQ(db.data.GetClimateHR(77, EncodeDate(2011, 6, 1)), 0.0);
}

TEST(ClimateStations, ShippedListFindsNiceOnlyWithAWestPositiveLongitude)
{
  TSolarDatabase db;
  ASSERT_GT(LoadCsvRows(QStringLiteral(QUELTA_SOURCE_DATA "/climate_stations.csv"), *db.data.cdsCalSolClim), 4000);
  auto nameOf = [&](int id) {
    return db.data.cdsCalSolClim->Lookup(QStringLiteral("ID"), id, QStringLiteral("Nom")).toString();
  };
  EXPECT_EQ(nameOf(db.data.FindNearestClimateStation(At(43.70, -7.27))), QStringLiteral("SAINT-ANTOINE GINE"));
  EXPECT_TRUE(nameOf(db.data.FindNearestClimateStation(At(43.70, 7.27))).startsWith(QStringLiteral("LUGO")));
}

}  // namespace
