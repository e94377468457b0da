// The PVGIS request parameters: line order, setters, switches and number writing.

#include "support/QtPrinters.h"
#include "web/PVGisStringList.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

const QStringList kDefaults{
    QStringLiteral("lat=43.580391"),      QStringLiteral("lon=6.064453"),
    QStringLiteral("usehorizon=1"),       QStringLiteral("raddatabase=PVGIS-CMSAF"),
    QStringLiteral("peakpower=3"),        QStringLiteral("pvtechchoice=crystSi"),
    QStringLiteral("mountingplace=free"), QStringLiteral("loss=14"),
    QStringLiteral("angle=35"),           QStringLiteral("aspect=0"),
    QStringLiteral("outputformat=csv")};

QStringList With(QStringList aLines, int aIndex, const QString &aLine)
{
  aLines[aIndex] = aLine;
  return aLines;
}

}  // namespace

TEST(PVGisNumber, ShortestFormWithADot)
{
  struct Case {
    double value;
    const char *text;
  };
  const Case cases[] = {{3, "3"},          {43.580391, "43.580391"}, {-6.5, "-6.5"},   {0.25, "0.25"},
                        {0.1 + 0.2, "0.3"}, {2.5, "2.5"},             {0.00001, "0.00001"}, {0.000001, "1E-6"},
                        {0, "0"},          {-0.0, "0"},              {1234567.125, "1234567.125"},
                        {999999999999999, "999999999999999"},          {-999999999999999, "-999999999999999"},
                        {1e15, "1E15"},    {999999999999999.9, "1E15"}, {99999.999999999999, "100000"}};
  for (const Case &c : cases)
    EXPECT_EQ(PVGisNumber(c.value), QLatin1String(c.text)) << c.text;
}

TEST(PVGisStringList, NewListHoldsTheDefaultsInOrder)
{
  const TPVGisStringList list;
  EXPECT_EQ(list.Lines(), kDefaults);
  EXPECT_FALSE(list.IsCsvFormat);
  EXPECT_FALSE(list.TwoAxis());
}

TEST(PVGisStringList, SettersChangeTheListAsExpected)
{
  struct Case {
    const char *name;
    std::function<void(TPVGisStringList &)> change;
    QStringList expected;
  };
  const Case cases[] = {
      {"latitude in place", [](TPVGisStringList &l) { l.SetLatitude(45.5); }, With(kDefaults, 0, QStringLiteral("lat=45.5"))},
      {"negative longitude", [](TPVGisStringList &l) { l.SetLongitude(-6.4); }, With(kDefaults, 1, QStringLiteral("lon=-6.4"))},
      {"peak power", [](TPVGisStringList &l) { l.SetPeakPower(2.5); }, With(kDefaults, 4, QStringLiteral("peakpower=2.5"))},
      {"loss", [](TPVGisStringList &l) { l.SetLoss(12.5); }, With(kDefaults, 7, QStringLiteral("loss=12.5"))},
      {"optimal angles on", [](TPVGisStringList &l) { l.SetOptimalAngles(true); },
       kDefaults + QStringList{QStringLiteral("optimalangles=1")}},
      {"optimal angles on then off",
       [](TPVGisStringList &l) {
         l.SetOptimalAngles(true);
         l.SetOptimalAngles(false);
       },
       kDefaults},
      {"switching off an absent parameter", [](TPVGisStringList &l) { l.SetTwoAxis(false); }, kDefaults},
      {"horizon off", [](TPVGisStringList &l) { l.SetShowHorizon(false); },
       QStringList(kDefaults).mid(0, 2) + kDefaults.mid(3)},
      {"chosen angle replaces the angle line", [](TPVGisStringList &l) { l.SetMR_Chosen_angle(90); },
       With(kDefaults, 8, QStringLiteral("angle=90"))},
      {"CSV then graph: no graph line",
       [](TPVGisStringList &l) {
         l.SetOutputFormatChoice(TPVGIS_Output::gisCSV);
         l.SetPlotDataGraph(true);
       },
       kDefaults},
      {"window then graph",
       [](TPVGisStringList &l) {
         l.SetOutputFormatChoice(TPVGIS_Output::gisWindow);
         l.SetPlotDataGraph(true);
       },
       With(kDefaults, 10, QStringLiteral("outputformat=window")) + QStringList{QStringLiteral("plotdatagraph=1")}},
      {"graph removed by CSV",
       [](TPVGisStringList &l) {
         l.SetPlotDataGraph(true);
         l.SetOutputFormatChoice(TPVGIS_Output::gisCSV);
       },
       kDefaults},
      {"enumerations",
       [](TPVGisStringList &l) {
         l.SetPV_DataBase(TPVGIS_Base::gisSARAH);
         l.SetPVTechChoice(TPVGIS_Techno::gisCdTe);
         l.SetMountingPlace(TPVGIS_Mounting::gisBuilding);
       },
       With(With(With(kDefaults, 3, QStringLiteral("raddatabase=PVGIS-SARAH")), 5, QStringLiteral("pvtechchoice=CdTe")), 6,
            QStringLiteral("mountingplace=building"))},
      {"monthly options append in call order",
       [](TPVGisStringList &l) {
         l.SetMR_Average_daytime_temperature(true);
         l.SetMR_Daily_average_temperature(true);
         l.SetMR_Number_heating_days(true);
         l.SetMR_Linke_turbidity(true);
         l.SetMR_Linke_turbidity(false);
       },
       kDefaults + QStringList{QStringLiteral("avdaytemp=1"), QStringLiteral("avtemp=1"), QStringLiteral("degreedays=1")}},
  };
  for (const Case &c : cases) {
    TPVGisStringList list;
    c.change(list);
    EXPECT_EQ(list.Lines(), c.expected) << c.name;
  }
}

TEST(PVGisStringList, FormatAndTwoAxisFlags)
{
  TPVGisStringList list;
  list.SetOutputFormatChoice(TPVGIS_Output::gisCSV);
  EXPECT_TRUE(list.IsCsvFormat);
  list.SetOutputFormatChoice(TPVGIS_Output::gisBasic);
  EXPECT_FALSE(list.IsCsvFormat);
  EXPECT_EQ(list.Value(QStringLiteral("OUTPUTFORMAT")), QStringLiteral("basic"));
  list.SetTwoAxis(true);
  EXPECT_TRUE(list.TwoAxis());
  EXPECT_EQ(list.Lines().last(), QStringLiteral("twoaxis=1"));
}
