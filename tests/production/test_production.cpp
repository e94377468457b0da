// Production records of the installations: source numbers, writing and reading monthly
// figures, and the PVGIS figures interpolated at a date or summed over a site.

#include "production/dmDataProduction.h"
#include "shell/DataModuleFixture.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

namespace {

const QString kID = QStringLiteral("ID");

TEST(ProductionSources, YearsAndSourceNumbers)
{
  struct Case {
    int source;
    int year;
    const char *name;
  };
  for (const Case &c : {Case{10, 2007, "P. 2007"}, Case{11, 2007, "P. 2007"}, Case{12, 2008, "P. 2008"},
                        Case{13, 2008, "P. 2008"}, Case{44, 2024, "P. 2024"}}) {
    EXPECT_EQ(IDSourceToYear(c.source), c.year) << c.source;
    EXPECT_EQ(SourceName(c.source), QString::fromUtf8(c.name)) << c.source;
  }
  EXPECT_EQ(YearToIDSource(2007), 10);
  EXPECT_EQ(YearToIDSource(2008), 12);
  EXPECT_EQ(SourceName(0), QStringLiteral("PVGis"));
}

class Production : public ::testing::Test {
protected:
  TTempDatabase db;
  int first = 0, second = 0;

  void SetUp() override
  {
    db.data.Open();
    first = db.AddInstallation({{QStringLiteral("IDSite"), 1}});
    second = db.AddInstallation({{QStringLiteral("IDSite"), 1}});
    ASSERT_TRUE(db.data.cdsData->Locate(kID, first));
  }

  // The rows of the production file as written on disk.
  int RowsInFile()
  {
    TMyClientDataSet file;
    file.SetFileName(db.DataFile(QStringLiteral("Production.cds")));
    file.Open();
    return file.RecordCount();
  }

  TField &Prod(const char *field) { return db.data.cdsProd->FieldByName(QString::fromUtf8(field)); }
};

TEST_F(Production, OneMonthCreatesTheRowThenReplacesTheMonthInTheTotal)
{
  db.data.SetProduction(12, 3, 250);
  EXPECT_EQ(Prod("Source").AsString(), QStringLiteral("P. 2008"));
  EXPECT_EQ(Prod("ID_Producteur").AsInteger(), first);
  EXPECT_EQ(Prod("Mois03").AsInteger(), 250);
  EXPECT_EQ(Prod("Total").AsInteger(), 250);
  db.data.SetProduction(12, 4, 100);
  db.data.SetProduction(12, 3, 200);
  EXPECT_EQ(Prod("Total").AsInteger(), 300);
  EXPECT_EQ(db.data.cdsProd->RecordCount(), 1);
  EXPECT_EQ(RowsInFile(), 1);
  EXPECT_FALSE(db.data.cdsProd->DataChanged());
  int month = 0;
  EXPECT_TRUE(db.data.GetProduction(12, 3, month));
  EXPECT_EQ(month, 200);
}

TEST_F(Production, NewRowsAreNumberedAfterEveryStoredRowWhateverTheInstallationShown)
{
  ASSERT_TRUE(db.data.cdsData->Locate(kID, second));
  db.data.SetProduction(12, 3, 250);
  db.data.SetProduction(14, 3, 250);
  const int highest = Prod("ID").AsInteger();
  db.data.Close();
  db.data.Open();
  // The production table opens as the detail of an installation whose rows have the
  // lower numbers, or none at all.
  ASSERT_TRUE(db.data.cdsData->Locate(kID, first));
  db.data.SetProduction(12, 3, 100);
  EXPECT_EQ(Prod("ID").AsInteger(), highest + 1);
}

TEST_F(Production, TwelveMonthsAreWrittenAndReadBack)
{
  const TMonthData months{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
  db.data.SetProduction(YearToIDSource(2010), months);
  EXPECT_EQ(Prod("Total").AsInteger(), 78);
  TMonthData read{};
  EXPECT_TRUE(db.data.GetProduction(YearToIDSource(2010), read));
  EXPECT_EQ(read, months);
  EXPECT_EQ(RowsInFile(), 1);
}

TEST_F(Production, AYearWithoutDataLeavesNoRow)
{
  db.data.SetProduction(YearToIDSource(2010), TMonthData{});
  EXPECT_EQ(db.data.cdsProd->RecordCount(), 0);
  EXPECT_EQ(RowsInFile(), 0);
}

TEST_F(Production, ASourceNumberTheTableRefusesLeavesNoHalfWrittenRowBehind)
{
  // Years before 2002 give negative source numbers, which the source field cannot hold.
  EXPECT_THROW(db.data.SetProduction(YearToIDSource(2001), 3, 250), EDatabaseError);
  EXPECT_EQ(db.data.cdsProd->State(), TDataSetState::dsBrowse);
  EXPECT_EQ(db.data.cdsProd->RecordCount(), 0);
  db.data.SetProduction(12, 3, 250);
  EXPECT_EQ(db.data.cdsProd->RecordCount(), 1);
  EXPECT_EQ(RowsInFile(), 1);
}

TEST_F(Production, AMissingRowReadsAsNoDataAndLeavesTheOutputAlone)
{
  db.data.SetProduction(12, 1, 10);
  TMonthData untouched;
  untouched.fill(-1);
  EXPECT_FALSE(db.data.GetProduction(14, untouched));
  EXPECT_EQ(untouched[0], -1);
  int month = -1;
  EXPECT_FALSE(db.data.GetProduction(14, 1, month));
  EXPECT_EQ(month, -1);
  // Rows belong to their installation.
  ASSERT_TRUE(db.data.cdsData->Locate(kID, second));
  EXPECT_FALSE(db.data.GetProduction(12, 1, month));
  ASSERT_TRUE(db.data.cdsData->Locate(kID, first));
  EXPECT_TRUE(db.data.GetProduction(12, 1, month));
  EXPECT_EQ(month, 10);
}

TEST_F(Production, ReadsFollowTheInstallationEvenWithNotificationsSuspended)
{
  db.data.SetProduction(12, 1, 10);
  db.data.cdsData->DisableControls();
  db.data.cdsData->DisableControls();
  ASSERT_TRUE(db.data.cdsData->Locate(kID, second));
  int month = -1;
  EXPECT_FALSE(db.data.GetProduction(12, 1, month));
  ASSERT_TRUE(db.data.cdsData->Locate(kID, first));
  EXPECT_TRUE(db.data.GetProduction(12, 1, month));
  db.data.cdsData->EnableControls();
  EXPECT_TRUE(db.data.cdsData->ControlsDisabled());
  db.data.cdsData->EnableControls();
  EXPECT_FALSE(db.data.cdsData->ControlsDisabled());
}

TEST_F(Production, TheRowsShownAreTheCurrentInstallationsOrderedBySource)
{
  for (const int source : {14, 0, 12})
    db.data.SetProduction(source, 1, 10);
  ASSERT_TRUE(db.data.cdsData->Locate(kID, second));
  db.data.SetProduction(16, 1, 10);
  ASSERT_TRUE(db.data.cdsData->Locate(kID, first));
  std::vector<int> sources;
  for (db.data.cdsProd->First(); !db.data.cdsProd->Eof(); db.data.cdsProd->Next())
    sources.push_back(Prod("ID_Source").AsInteger());
  EXPECT_EQ(sources, std::vector<int>({0, 12, 14}));
  EXPECT_EQ(RowsInFile(), 4);
}

TEST_F(Production, TotalRevenueIsTheRoundedEstimateTimesThePrice)
{
  db.data.cdsData->Edit();
  db.data.cdsData->FieldByName(QStringLiteral("Production")).SetAsFloat(1234.4);
  db.data.cdsData->FieldByName(QStringLiteral("Prix_kWh")).SetAsFloat(0.144);
  db.data.cdsData->Post();
  EXPECT_NEAR(db.data.GetProductionTotal(), 177.696, 1e-9);
}

// Monthly values on a straight line of the day of the year, v = 0.1·x + 5: the
// quadratic through three of them is that line, so a wrong abscissa shows at once.
double OnLine(double dayOfYear) { return 0.1 * dayOfYear + 5.0; }

struct DateCase {
  const char *name;
  int year, month, day;
  int previousX, currentX, nextX;  // abscissas of the 15th of the three months
};

class PVGisAtADate : public Production, public ::testing::WithParamInterface<DateCase> {
protected:
  void SetMonths(const DateCase &c)
  {
    const int previous = c.month == 1 ? 12 : c.month - 1;
    const int next = c.month == 12 ? 1 : c.month + 1;
    db.data.cdsData->Edit();
    TMonthData prod{};
    for (const auto &[month, x] : {std::pair{previous, c.previousX}, {c.month, c.currentX}, {next, c.nextX}}) {
      db.data.cdsData->FieldByName(QStringLiteral("Temp%1").arg(month, 2, 10, QLatin1Char('0'))).SetAsFloat(OnLine(x));
      prod[month - 1] = static_cast<int>(OnLine(x) * 10);
    }
    db.data.cdsData->Post();
    db.data.SetProduction(0, prod);
  }
};

TEST_P(PVGisAtADate, InterpolatesThroughTheNeighbouringMonths)
{
  const DateCase &c = GetParam();
  EXPECT_DOUBLE_EQ(db.data.GetPVGisData(EncodeDate(c.year, c.month, c.day), TPVGisData::pvgisProd), 0.0);
  SetMonths(c);
  const TDateTime date = EncodeDate(c.year, c.month, c.day);
  const double x = DayOfTheYear(date);
  EXPECT_NEAR(db.data.GetPVGisData(date, TPVGisData::pvgisTemp), OnLine(x), 1e-9);
  EXPECT_NEAR(db.data.GetPVGisData(date, TPVGisData::pvgisProd), 10 * OnLine(x), 1e-9);
}

INSTANTIATE_TEST_SUITE_P(Cases, PVGisAtADate,
                         ::testing::Values(DateCase{"JanuaryAfterACommonYear", 2015, 1, 10, -16, 15, 46},
                                           DateCase{"JanuaryAfterALeapYear", 2017, 1, 10, -15, 15, 46},
                                           DateCase{"JuneOfALeapYear", 2016, 6, 1, 136, 167, 197},
                                           DateCase{"December", 2015, 12, 31, 319, 349, 380}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(Production, MonthlyPVGisFigureComesOnlyFromThePVGisRow)
{
  db.data.SetProduction(YearToIDSource(2010), 6, 400);
  EXPECT_DOUBLE_EQ(db.data.GetProdMonthPVGis(6), 0.0);
  db.data.SetProduction(0, 6, 350);
  EXPECT_DOUBLE_EQ(db.data.GetProdMonthPVGis(6), 350.0);
}

TEST_F(Production, TheSingleSiteViewSumsItsInstallationsAndKeepsTheCurrentOne)
{
  const int other = db.AddInstallation({{QStringLiteral("IDSite"), 2}});
  for (const auto &[id, june] : {std::pair{first, 300}, {second, 200}, {other, 1000}}) {
    ASSERT_TRUE(db.data.cdsData->Locate(kID, id));
    TMonthData prod;
    prod.fill(june);
    db.data.SetProduction(0, prod);
  }
  ASSERT_TRUE(db.data.cdsData->Locate(kID, second));
  const TDateTime date = EncodeDate(2015, 6, 15);
  EXPECT_DOUBLE_EQ(db.data.GetProdMonthPVGis(6), 200.0);
  EXPECT_NEAR(db.data.GetProdDayPVGis(date), 200.0, 1e-9);

  db.data.SetFilter(true);
  const std::size_t updates = db.updates.size();
  EXPECT_DOUBLE_EQ(db.data.GetProdMonthPVGis(6), 500.0);
  EXPECT_NEAR(db.data.GetProdDayPVGis(date), 500.0, 1e-9);
  EXPECT_EQ(db.data.cdsData->FieldByName(kID).AsInteger(), second);
  EXPECT_EQ(db.updates.size(), updates);  // the walk does not disturb the window
  EXPECT_FALSE(db.data.cdsData->ControlsDisabled());
  EXPECT_EQ(db.data.cdsProd->FieldByName(QStringLiteral("ID_Producteur")).AsInteger(), second);
}

}  // namespace
