// The analytic production simulation: row counts of day, month and year runs, the day
// curve against the plain evaluation of each sample, the production window, shade
// times, the surplus rules of one and two installations, and the polar days.

#include "SolarDatabase.h"
#include "solar/unPVSite.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr double kMinute = 1.0 / 1440.0;

class Simulation : public testing::Test {
protected:
  TSolarDatabase db;
  int module = 0;

  void SetUp() override
  {
    module = db.AddModule(250, -0.45, 45);
    db.AddInverter(QStringLiteral("2,5"));
    db.AddStation(3, 43.5, -6.0, {"78", "76", "72", "70", "69", "64", "60", "62", "68", "74", "79", "80"});
  }

  struct TRun {
    double Surplus = 0;
    double TimeProd = 0;
  };
  TRun Run(TDateTime date, TTimeInterval period, TDateTime maskMatin = 0, double temp = 20)
  {
    TRun run;
    db.data.FillAnalyticIrradiance(1, 94, temp, date, maskMatin, 0, period, false, run.Surplus,
                                   run.TimeProd);
    return run;
  }
  TClientDataSet &Results() { return *db.data.cdsOnduleurAnalytic; }
  double Value(int row, const char *field)
  {
    return Results().ValueAt(row, Results().FieldIndex(QString::fromUtf8(field))).toDouble();
  }
};

TEST_F(Simulation, RowCountsOfDayMonthAndYearRuns)
{
  db.AddInstallation(1, module, 12, {{QStringLiteral("CalSolID"), 3}});
  const struct {
    TDateTime Date;
    TTimeInterval Period;
    int Rows;
    TDateTime First, Last;
  } cases[] = {
      {EncodeDate(2010, 6, 21) + 0.6, TTimeInterval::tiDay, 205,
       EncodeDateTime(2010, 6, 21, 5, 0, 0), EncodeDateTime(2010, 6, 21, 22, 0, 0)},
      {EncodeDate(2012, 2, 10), TTimeInterval::tiMonth, 29, EncodeDate(2012, 2, 1), EncodeDate(2012, 2, 29)},
      {EncodeDate(2011, 7, 4), TTimeInterval::tiYear, 365, EncodeDate(2011, 1, 1), EncodeDate(2011, 12, 31)},
  };
  for (const auto &c : cases) {
    Run(c.Date, c.Period);
    ASSERT_EQ(Results().RecordCount(), c.Rows);
    EXPECT_NEAR(Value(0, "Date"), c.First, 1e-9);
    EXPECT_NEAR(Value(c.Rows - 1, "Date"), c.Last, 1e-9);
  }
}

TEST_F(Simulation, DayCurveEqualsThePlainEvaluationOfEachSample)
{
  db.AddInstallation(1, module, 12, {{QStringLiteral("CalSolID"), 3}, {QStringLiteral("Puissance_Fond"), 400.0}});
  const TDateTime day = EncodeDate(2010, 6, 21);
  const TRun run = Run(day, TTimeInterval::tiDay);
  TPVSite &site = db.Sites().Items(0);
  // The run's own options: the station's humidity of that very day.
  EXPECT_DOUBLE_EQ(site.HR(), db.data.GetClimateHR(3, day) / 100);
  EXPECT_EQ(site.MeanTemp(), 20.0);

  double energy = 0, surplus = 0;
  for (int row = 0; row < Results().RecordCount(); ++row) {
    const TDateTime sunTime = Value(row, "Date") - 120 * kMinute;  // summer time in Paris
    double g = 0, p = 0, k = 0;
    site.GetDataForATime(sunTime, g, p, k);
    EXPECT_LE(std::abs(Value(row, "Puissance AC") - p), 1e-9 * p) << row;
    EXPECT_LE(std::abs(Value(row, "Irradiance") - g), 1e-9 * g) << row;
    EXPECT_NEAR(Value(row, "Temp Coeff"), k, 1e-9 * k) << row;
    energy += p / 12000;
    surplus += std::max(p - 400, 0.0) / 12000;
    EXPECT_EQ(Value(row, "Puissance Fond"), 400.0);
  }
  const int last = Results().RecordCount() - 1;
  EXPECT_NEAR(Value(last, "Energie"), energy, 1e-9 * energy);
  EXPECT_NEAR(Value(last, "Surplus"), surplus, 1e-9 * surplus);
  EXPECT_EQ(run.Surplus, Value(last, "Surplus"));
  EXPECT_GT(energy, 15.0);
  EXPECT_LT(surplus, energy);

  // Production runs from the first sample with power to the first without.
  int first = 0;
  while (Value(first, "Puissance AC") == 0)
    ++first;
  int end = first;
  while (Value(end, "Puissance AC") != 0)
    ++end;
  EXPECT_NEAR(run.TimeProd, (Value(end, "Date") - Value(first, "Date")) * 24, 1e-9);
}

TEST_F(Simulation, PowerThatNeverFallsBackEndsProductionAtTheLastSample)
{
  // Northern Finland at midsummer on Paris clock time: the Sun is still up at 22:00.
  db.AddInstallation(1, module, 12, {{QStringLiteral("Latitude"), 67.0}, {QStringLiteral("Longitude"), -26.0}});
  const TRun run = Run(EncodeDate(2015, 6, 21), TTimeInterval::tiDay);
  const int last = Results().RecordCount() - 1;
  ASSERT_GT(Value(last, "Puissance AC"), 0.0);
  int first = 0;
  while (Value(first, "Puissance AC") == 0)
    ++first;
  EXPECT_NEAR(run.TimeProd, (Value(last, "Date") - Value(first, "Date")) * 24, 1e-9);
}

TEST_F(Simulation, MorningShadeSuppressesTheBeamUntilItsLocalTime)
{
  db.AddInstallation(1, module, 12, {{QStringLiteral("CalSolID"), 3}});
  const TDateTime day = EncodeDate(2010, 6, 21);
  Run(day, TTimeInterval::tiDay);
  std::vector<double> open;
  for (int row = 0; row < Results().RecordCount(); ++row)
    open.push_back(Value(row, "Irradiance"));
  // 08:30 local in summer is 06:30 UT.
  Run(day, TTimeInterval::tiDay, EncodeDateTime(2010, 6, 21, 8, 30, 0));
  const int halfPastEight = (8 * 60 + 30 - 5 * 60) / 5;
  for (int row = 0; row < Results().RecordCount(); ++row) {
    const double full = open[static_cast<std::size_t>(row)];
    if (row < halfPastEight)
      EXPECT_LE(Value(row, "Irradiance"), full) << row;  // diffuse light only
    else
      EXPECT_EQ(Value(row, "Irradiance"), full) << row;
  }
  EXPECT_LT(Value(halfPastEight - 1, "Irradiance"), open[halfPastEight - 1] - 100);
}

TEST_F(Simulation, SingleInstallationDaysAreTheSiteModelsDays)
{
  db.AddInstallation(1, module, 12, {{QStringLiteral("CalSolID"), 3}, {QStringLiteral("Puissance_Fond"), 300.0}});
  const TRun run = Run(EncodeDate(2011, 4, 1), TTimeInterval::tiMonth);
  ASSERT_EQ(Results().RecordCount(), 30);
  TPVSite &site = db.Sites().Items(0);
  double totalSurplus = 0, totalHours = 0;
  for (int row = 0; row < 30; ++row) {
    double g = 0, p = 0, k = 0, energy = 0, surplus = 0, hours = 0;
    site.GetDataForADay(EncodeDate(2011, 4, 1 + row), 300, g, p, k, energy, surplus, hours);
    EXPECT_EQ(Value(row, "Energie"), energy);
    EXPECT_EQ(Value(row, "Surplus"), surplus);
    EXPECT_EQ(Value(row, "Puissance AC"), p);
    EXPECT_EQ(Value(row, "Irradiance"), g);  // a share of 1
    EXPECT_EQ(Value(row, "Temp Coeff"), k);
    totalSurplus += surplus;
    totalHours += hours;
  }
  EXPECT_DOUBLE_EQ(run.Surplus, totalSurplus);
  EXPECT_DOUBLE_EQ(run.TimeProd, totalHours);
}

TEST_F(Simulation, WithoutBackgroundConsumptionTheSurplusIsTheEnergy)
{
  db.AddInstallation(1, module, 12);
  Run(EncodeDate(2011, 9, 1), TTimeInterval::tiMonth);
  for (int row = 0; row < Results().RecordCount(); ++row)
    EXPECT_DOUBLE_EQ(Value(row, "Surplus"), Value(row, "Energie")) << row;
}

TEST_F(Simulation, TwoInstallationsShareOneBackgroundConsumption)
{
  // Two installations of one site, the single-site view on: the day's surplus is that
  // of the summed 10-minute curve against one Fond, above the sum of the separate
  // surpluses (each computed against the whole Fond).
  db.AddInstallation(1, module, 8, {{QStringLiteral("Puissance_Fond"), 900.0}});
  db.AddInstallation(1, module, 4, {{QStringLiteral("Orientation"), 60}, {QStringLiteral("Puissance_Fond"), 1200.0}});
  db.data.SetFilter(true);
  Run(EncodeDate(2011, 5, 1), TTimeInterval::tiMonth);
  ASSERT_EQ(Results().RecordCount(), 31);
  TPVSite &a = db.Sites().Items(0);
  TPVSite &b = db.Sites().Items(1);
  EXPECT_DOUBLE_EQ(a.RatioPuissance(), 2.0 / 3);
  EXPECT_DOUBLE_EQ(b.RatioPuissance(), 1.0 / 3);
  for (int row = 0; row < 31; ++row) {
    const TDateTime day = EncodeDate(2011, 5, 1 + row);
    double g = 0, p = 0, k = 0, energyA = 0, energyB = 0, surplusA = 0, surplusB = 0, h = 0;
    // Fond is that of the last installation of the group.
    const int n = a.GetDataForADay(day, 1200, g, p, k, energyA, surplusA, h);
    ASSERT_EQ(b.GetDataForADay(day, 1200, g, p, k, energyB, surplusB, h), n);
    double summed = 0;
    for (int i = 0; i < n; ++i) {
      const double power = a.DataPowerOfTheDay[static_cast<std::size_t>(i)] + b.DataPowerOfTheDay[static_cast<std::size_t>(i)];
      summed += std::max(power - 1200, 0.0) / 6000;
    }
    EXPECT_NEAR(Value(row, "Surplus"), summed, 1e-12) << row;
    EXPECT_GT(Value(row, "Surplus"), surplusA + surplusB) << row;
    EXPECT_DOUBLE_EQ(Value(row, "Energie"), energyA + energyB) << row;
    EXPECT_EQ(Value(row, "Puissance Fond"), 1200.0);
  }
}

TEST_F(Simulation, PolarDaysEndMonthAndYearRunsKeepingTheirRows)
{
  db.AddInstallation(1, module, 12, {{QStringLiteral("Latitude"), 80.0}, {QStringLiteral("Longitude"), -15.0}});
  // April at 80° N: the midnight sun starts during the month.
  int daysWithRiseAndSet = 0;
  for (int d = 1; d <= 30; ++d, ++daysWithRiseAndSet) {
    try {
      GetSunRiseSet(EncodeDate(2011, 4, d), 80.0, -15.0);
    } catch (const E_NoRiseSet &) {
      break;
    }
  }
  ASSERT_GT(daysWithRiseAndSet, 0);
  ASSERT_LT(daysWithRiseAndSet, 30);
  const struct {
    TDateTime Date;
    TTimeInterval Period;
    int RowsKept;
  } cases[] = {
      {EncodeDate(2011, 4, 1), TTimeInterval::tiMonth, daysWithRiseAndSet},
      {EncodeDate(2011, 6, 1), TTimeInterval::tiMonth, 0},
      {EncodeDate(2011, 12, 1), TTimeInterval::tiMonth, 0},
      {EncodeDate(2011, 6, 1), TTimeInterval::tiYear, 0},
  };
  for (const auto &c : cases) {
    try {
      Run(c.Date, c.Period);
      ADD_FAILURE() << "no exception";
    } catch (const E_NoRiseSet &e) {
      EXPECT_EQ(e.Message(), QStringLiteral("No rises or sets calculable"));
    }
    EXPECT_EQ(Results().RecordCount(), c.RowsKept);
  }
  // A day run needs no sunrise: it always gives its 205 rows.
  Run(EncodeDate(2011, 6, 21), TTimeInterval::tiDay);
  EXPECT_EQ(Results().RecordCount(), 205);
}

}  // namespace
