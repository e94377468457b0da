// The PVGIS client against the substitute: exact queries, production, temperatures,
// horizon, the result page and the report request with its failure messages.

#include "WebServiceTest.h"

#include "platform/Numbers.h"
#include "support/QtPrinters.h"
#include "support/ScriptedDialogs.h"
#include "web/ServiceSettings.h"
#include "web/dmPVGis.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

QByteArray Fixture(const QString &aName)
{
  QFile file(QStringLiteral(QUELTA_TEST_FIXTURES "/pvgis/") + aName);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TAnswer TextAnswer(const QStringList &aLines)
{
  TAnswer answer;
  answer.Body = aLines.join(QLatin1Char('\n')).toUtf8();
  return answer;
}

// A production answer whose month rows carry aValues in column E.
QStringList MonthRows(const QStringList &aValues)
{
  QStringList lines(10, QStringLiteral("header"));
  for (int m = 0; m < aValues.size(); ++m)
    lines << QStringLiteral("%1\t\t1.0\t\t%2\t\t1.0\t\t30.0\t\t5.0").arg(m + 1).arg(aValues[m]);
  return lines;
}

}  // namespace

class PVGisClient : public WebServiceTest {
protected:
  void SetUp() override
  {
    WebServiceTest::SetUp();
    pvgis = std::make_unique<TdtmPVGis>();
    pvgis->SetDataPath(temp.path() + QLatin1Char('/'));
  }
  std::unique_ptr<TdtmPVGis> pvgis;
};

TEST_F(PVGisClient, ProductionQueryGoesOutInReverseOrder)
{
  TPVGisStringList &list = pvgis->PVGisList();
  list.SetOutputFormatChoice(TPVGIS_Output::gisCSV);
  list.SetPV_DataBase(TPVGIS_Base::gisSARAH);
  list.SetMountingPlace(TPVGIS_Mounting::gisFree);
  list.SetLatitude(43.6);
  list.SetLongitude(6.4);
  list.SetAspectAngle(10);
  list.SetAngle(30);
  list.SetPeakPower(3);
  list.SetPVTechChoice(TPVGIS_Techno::gisCrystSi);
  list.SetLoss(14);
  list.SetOptimalAngles(false);
  list.SetTwoAxis(false);
  list.SetPlotDataGraph(true);
  list.SetShowHorizon(false);
  ASSERT_TRUE(pvgis->DoRequest(TPVGIS_Computation::gisPVCalc));
  EXPECT_EQ(https.Received, QStringList{QStringLiteral(
                                "/api/v5_2/PVcalc?outputformat=csv&aspect=10&angle=30&loss=14&mountingplace=free&"
                                "pvtechchoice=crystSi&peakpower=3&raddatabase=PVGIS-SARAH&lon=6.4&lat=43.6")});
}

TEST_F(PVGisClient, HorizonQueryAndHeights)
{
  pvgis->PVGisList().SetOutputFormatChoice(TPVGIS_Output::gisCSV);
  pvgis->PVGisList().SetLatitude(45);
  pvgis->PVGisList().SetLongitude(8);
  ASSERT_TRUE(pvgis->DoRequest(TPVGIS_Computation::gisHorizon));
  EXPECT_EQ(https.Received.last(),
            QStringLiteral("/api/v5_2/printhorizon?lat=45&lon=8&browser=1&cbhorizon1=calculated"));
  TPVGis_Horizon heights{};
  pvgis->GetHorizon(heights);
  const QJsonArray profile = QJsonDocument::fromJson(Fixture(QStringLiteral("printhorizon_v53_json_prettyprinted_45_8.json")))
                                 .object()[QLatin1String("outputs")]
                                 .toObject()[QLatin1String("horizon_profile")]
                                 .toArray();
  ASSERT_EQ(profile.size(), 49);
  for (int i = 0; i < 49; ++i)
    EXPECT_EQ(heights[i], RoundHalfEven(profile[i][QLatin1String("H_hor")].toDouble())) << i;

  ASSERT_TRUE(pvgis->SaveToFile(temp.file(QStringLiteral("relief.csv"))));
  QFile saved(temp.file(QStringLiteral("relief.csv")));
  ASSERT_TRUE(saved.open(QIODevice::ReadOnly | QIODevice::Text));
  EXPECT_EQ(QString::fromUtf8(saved.readAll()).split(QLatin1Char('\n')).value(3), QStringLiteral("A\t\tH_hor"));
}

TEST_F(PVGisClient, ReadsTheMonthlyProductionOfTheRealAnswer)
{
  // At the captured answer's own peak power the figures are the captured ones.
  pvgis->PVGisList().SetOutputFormatChoice(TPVGIS_Output::gisCSV);
  pvgis->PVGisList().SetPeakPower(2000);
  for (const bool crLf : {false, true}) {
    https.Data.CrLf = crLf;
    ASSERT_TRUE(pvgis->DoRequest(TPVGIS_Computation::gisPVCalc));
    TDataMonth production{};
    TDataMonth irradiation{};
    const double yearly = pvgis->GetProduction(false, production);
    pvgis->GetIrradiation(irradiation);
    const QStringList lines = QString::fromUtf8(Fixture(
        QStringLiteral("PVcalc_v52_csv_fixed_optimum_48.172_17.181_SARAH2_2000kWp.csv"))).split(QLatin1Char('\n'));
    double sum = 0;
    for (int m = 0; m < 12; ++m) {
      const QStringList fields = lines[10 + m].split(QStringLiteral("\t\t"));
      EXPECT_EQ(production[m], RoundHalfEven(fields[2].toDouble())) << m;
      EXPECT_EQ(irradiation[m], RoundHalfEven(fields[4].toDouble())) << m;
      sum += production[m];
    }
    EXPECT_EQ(yearly, sum);
    EXPECT_NEAR(yearly, 200473.83 * 12, 12);
  }
}

TEST_F(PVGisClient, MonthValuesRoundHalvesToEven)
{
  https.SetFixedAnswer(QStringLiteral("/api/v5_2/PVcalc"),
                       TextAnswer(MonthRows({QStringLiteral("12,4"), QStringLiteral("12,5"), QStringLiteral("13,5"),
                                             QStringLiteral("'7.6'")})));
  pvgis->PVGisList().SetOutputFormatChoice(TPVGIS_Output::gisCSV);
  ASSERT_TRUE(pvgis->DoRequest(TPVGIS_Computation::gisPVCalc));
  TDataMonth production{};
  EXPECT_EQ(pvgis->GetProduction(false, production), 12 + 12 + 14 + 8);
  EXPECT_EQ(production[0], 12);
  EXPECT_EQ(production[1], 12);
  EXPECT_EQ(production[2], 14);
  EXPECT_EQ(production[3], 8);  // quotes are removed from the answer
  EXPECT_EQ(production[4], 0);  // a missing row reads 0
}

TEST_F(PVGisClient, TemperaturesAverageTheYearsOfTheAnswer)
{
  TDataMonth temperatures{};
  ASSERT_TRUE(pvgis->GetDailyTemperature(43.6, -6.4, temperatures));
  EXPECT_EQ(https.Received.last(),
            QStringLiteral("/api/v5_2/MRcalc?degreedays=1&avtemp=1&avdaytemp=1&outputformat=csv&aspect=0&angle=90&"
                           "loss=14&mountingplace=free&pvtechchoice=crystSi&peakpower=3&raddatabase=PVGIS-SARAH&"
                           "usehorizon=1&lon=-6.4&lat=43.6"));
  ASSERT_EQ(https.Data.MonthlyTemperatures.size(), 2);
  for (std::size_t m = 0; m < 12; ++m)
    EXPECT_DOUBLE_EQ(temperatures[m],
                     (https.Data.MonthlyTemperatures[0][m] + https.Data.MonthlyTemperatures[1][m]) / 2)
        << m;
}

TEST_F(PVGisClient, TemperatureAnswerWithoutAFullYearGivesZeros)
{
  https.SetFixedAnswer(QStringLiteral("/api/v5_2/MRcalc"),
                       TextAnswer(QStringList(20, QStringLiteral("2005\t\tJan\t\t9.5"))));
  TDataMonth temperatures;
  temperatures.fill(5);
  EXPECT_FALSE(pvgis->GetDailyTemperature(43.6, -6.4, temperatures));
  for (const double t : temperatures)
    EXPECT_EQ(t, 0.0);
}

TEST_F(PVGisClient, ResultPageGivesElevationAndYearlyProduction)
{
  EXPECT_EQ(pvgis->GetAltitude(43.6, 6.4), https.Data.Elevation);
  EXPECT_EQ(https.Received.last(),
            QStringLiteral("/api/v5_2/PVcalc?outputformat=window&aspect=0&angle=20&loss=14&mountingplace=free&"
                           "pvtechchoice=crystSi&peakpower=1&raddatabase=PVGIS-SARAH&lon=6.4&lat=43.6"));
  int production = -1;
  int altitude = -1;
  pvgis->PVGisList().SetPeakPower(2000);
  ASSERT_TRUE(pvgis->DoRequest(production, altitude));
  EXPECT_EQ(altitude, https.Data.Elevation);
  EXPECT_NEAR(production, 200473.83 * 12, 12);
}

TEST_F(PVGisClient, EveryFaultFailsTheRequest)
{
  for (const TFault fault : {TFault::Slow, TFault::CloseBeforeStatus, TFault::BadRequest, TFault::TooManyRequests,
                             TFault::ServerError}) {
    https.SlowDelay = 2 * kTestTimeout;
    https.SetPersistentFault(fault);
    int production = 7;
    int altitude = 8;
    EXPECT_FALSE(pvgis->DoRequest(production, altitude)) << int(fault);
    EXPECT_EQ(production, 7);
    EXPECT_EQ(altitude, 8);
  }
}

TEST_F(PVGisClient, ReportRequestSavesThePageOrSaysWhy)
{
  ScriptedDialogs dialogs;
  pvgis->PVGisList().SetPeakPower(2000);
  int production = 0;
  QString html;
  ASSERT_TRUE(pvgis->DoRequest(production, html));
  EXPECT_NEAR(production, 200473.83 * 12, 12);
  EXPECT_TRUE(html.contains(QStringLiteral("<td style=\"text-align: left;\">Janv.</td>")));
  QFile saved(temp.file(QStringLiteral("pvgis.htm")));
  ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
  EXPECT_TRUE(QString::fromUtf8(saved.readAll()).contains(QStringLiteral("Inclinaison fixée")));
  EXPECT_TRUE(dialogs.messages.isEmpty());

  struct Case {
    TFault fault;
    QString message;
  };
  const Case cases[] = {{TFault::BadRequest, QStringLiteral("Localisation dans la mer !")},
                        {TFault::ServerError, QStringLiteral("La requête a échouée")},
                        {TFault::CloseBeforeStatus, QStringLiteral("La requête a échouée")}};
  for (const Case &c : cases) {
    https.SetPersistentFault(c.fault);
    int unchanged = 5;
    QString page = QStringLiteral("before");
    EXPECT_FALSE(pvgis->DoRequest(unchanged, page));
    EXPECT_EQ(dialogs.messages.last(), c.message);
    EXPECT_EQ(unchanged, 5);
    EXPECT_EQ(page, QStringLiteral("before"));
  }
}

TEST(PVGisAddresses, CurrentApiUnlessTheSettingsSayOtherwise)
{
  SetServiceSettingsFile(QStringLiteral("no such settings file.ini"));
  const TdtmPVGis pvgis;
  SetServiceSettingsFile(QString());
  struct Case {
    TPVGIS_Computation computation;
    const char *url;
  };
  for (const Case &c : {Case{TPVGIS_Computation::gisPVCalc, "https://re.jrc.ec.europa.eu/api/v5_2/PVcalc"},
                        Case{TPVGIS_Computation::gisMRCalc, "https://re.jrc.ec.europa.eu/api/v5_2/MRcalc"},
                        Case{TPVGIS_Computation::gisDRCalc, "https://re.jrc.ec.europa.eu/api/v5_2/DRcalc"},
                        Case{TPVGIS_Computation::gisHorizon, "https://re.jrc.ec.europa.eu/api/v5_2/printhorizon"}})
    EXPECT_EQ(pvgis.ComputationURL(c.computation), QLatin1String(c.url));
  EXPECT_EQ(DefaultServiceSettings().GeocodeAddress, QStringLiteral("https://geocode.xyz/"));
}
