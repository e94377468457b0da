// The PVGIS estimate of an installation against the substitute: the queries sent, the
// production, monthly row, temperatures and climate station stored, and every failure.

#include "WebServiceTest.h"

#include "platform/Numbers.h"
#include "shell/DataModuleFixture.h"
#include "solar/unMoon.h"
#include "support/QtPrinters.h"
#include "support/ScriptedDialogs.h"
#include "web/PVGisEstimate.h"
#include "web/ProtocolLogger.h"

#include <QFile>

namespace {

const QString kProductionQuery = QStringLiteral(
    "/api/v5_2/PVcalc?outputformat=csv&aspect=10&angle=30&loss=12.5&mountingplace=free&pvtechchoice=crystSi&"
    "peakpower=2.5&raddatabase=PVGIS-SARAH&lon=-6.4&lat=43.6");
const QString kTemperatureQuery = QStringLiteral(
    "/api/v5_2/MRcalc?degreedays=1&avtemp=1&avdaytemp=1&outputformat=csv&aspect=0&angle=90&loss=14&"
    "mountingplace=free&pvtechchoice=crystSi&peakpower=3&raddatabase=PVGIS-SARAH&usehorizon=1&lon=-6.4&lat=43.6");

QString TempField(int aMonth) { return QStringLiteral("Temp%1").arg(aMonth, 2, 10, QLatin1Char('0')); }

}  // namespace

class PVGisEstimate : public WebServiceTest {
protected:
  void SetUp() override
  {
    WebServiceTest::SetUp();
    db.data.Open();
    const int module = db.AddModule(250);
    const int inverter = TTempDatabase::AddRow(*db.data.cdsOnduleur, {{QStringLiteral("Modèle"), QStringLiteral("O1")},
                                                                     {QStringLiteral("Rendement Euro-eta"), 95.5}});
    TTempDatabase::AddRow(*db.data.cdsCalSolClim, {{QStringLiteral("ID"), 7}, {QStringLiteral("Latitude"), 43.5},
                                                   {QStringLiteral("Longitude"), 6.0}});
    TTempDatabase::AddRow(*db.data.cdsCalSolClim, {{QStringLiteral("ID"), 9}, {QStringLiteral("Latitude"), 45.0},
                                                   {QStringLiteral("Longitude"), 5.0}});
    TTempDatabase::TValues values{{QStringLiteral("IDSite"), 1},          {QStringLiteral("ID_Module"), module},
                                  {QStringLiteral("Nb_Module"), 10},      {QStringLiteral("ID_Onduleur"), inverter},
                                  {QStringLiteral("Orientation"), 10},    {QStringLiteral("Inclinaison"), 30},
                                  {QStringLiteral("Production"), 1111},   {QStringLiteral("CalSolID"), 0}};
    for (int m = 1; m <= 12; ++m)
      values.emplace_back(TempField(m), -50.0);
    installation = db.AddInstallation(values);
    ASSERT_TRUE(db.data.cdsData->Locate(QStringLiteral("ID"), installation));
    position.Latitude = 43.6;
    position.Longitude = 6.4;  // west
  }

  double Field(const QString &aName) const { return db.data.cdsData->FieldByName(aName).AsFloat(); }
  void ExpectTemperaturesUntouched() const
  {
    for (int m = 1; m <= 12; ++m)
      EXPECT_EQ(Field(TempField(m)), -50.0) << m;
  }

  TTempDatabase db;
  ScriptedDialogs dialogs;
  TGPSPosition position;
  int installation = 0;
};

TEST_F(PVGisEstimate, StoresProductionMonthsTemperaturesAndStation)
{
  QStringList answer(10, QStringLiteral("header"));
  const double months[12] = {100.4, 200.5, 301.5, 400, 500, 600, 700, 800, 900, 1000, 1100, 1200.6};
  for (int m = 0; m < 12; ++m)
    answer << QStringLiteral("%1\t\t1\t\t%2\t\t1\t\t1\t\t1").arg(m + 1).arg(months[m]);
  TAnswer fixed;
  fixed.Body = answer.join(QLatin1Char('\n')).toUtf8();
  https.SetFixedAnswer(QStringLiteral("/api/v5_2/PVcalc"), fixed);

  EXPECT_EQ(RunPVGisEstimate(db.data, position), 7803);
  EXPECT_EQ(https.Received, (QStringList{kProductionQuery, kTemperatureQuery}));
  EXPECT_EQ(dialogs.messages, QStringList{QStringLiteral("Production estimée : 7803 kWh an")});
  EXPECT_EQ(Field(QStringLiteral("Production")), 7803);
  EXPECT_EQ(db.data.ProdYearPVGis(), 7803);
  TMonthData stored{};
  ASSERT_TRUE(db.data.GetProduction(0, stored));
  EXPECT_EQ(stored, (TMonthData{100, 200, 302, 400, 500, 600, 700, 800, 900, 1000, 1100, 1201}));
  EXPECT_EQ(db.data.cdsProd->FieldByName(QStringLiteral("Source")).AsString(), QStringLiteral("PVGis"));
  for (int m = 1; m <= 12; ++m)
    EXPECT_DOUBLE_EQ(Field(TempField(m)), (https.Data.MonthlyTemperatures[0][static_cast<std::size_t>(m - 1)] +
                                            https.Data.MonthlyTemperatures[1][static_cast<std::size_t>(m - 1)]) / 2)
        << m;
  EXPECT_EQ(Field(QStringLiteral("CalSolID")), 7);
}

TEST_F(PVGisEstimate, RealAnswerScaledToThePeakPower)
{
  EXPECT_NEAR(RunPVGisEstimate(db.data, position), 200473.83 * 12 * 2.5 / 2000, 12);
}

TEST_F(PVGisEstimate, EveryFaultLeavesProductionAndTemperaturesButSetsTheStation)
{
  https.SlowDelay = 2 * kTestTimeout;
  for (const TFault fault : {TFault::Slow, TFault::CloseBeforeStatus, TFault::BadRequest, TFault::TooManyRequests,
                             TFault::ServerError, TFault::EmptyBody, TFault::NotXml, TFault::Redirect}) {
    https.SetPersistentFault(fault);
    dialogs.messages.clear();
    EXPECT_EQ(RunPVGisEstimate(db.data, position), 0) << int(fault);
    EXPECT_EQ(dialogs.messages, QStringList{QStringLiteral("La connexion à PVGis a échouée")}) << int(fault);
    EXPECT_EQ(Field(QStringLiteral("Production")), 1111) << int(fault);
    TMonthData stored{};
    EXPECT_FALSE(db.data.GetProduction(0, stored)) << int(fault);
    ExpectTemperaturesUntouched();
    EXPECT_EQ(Field(QStringLiteral("CalSolID")), 7) << int(fault);
  }
}

TEST_F(PVGisEstimate, FailedTemperatureRequestKeepsTheTemperatures)
{
  https.QueueFault(TFault::None);
  https.SetPersistentFault(TFault::ServerError);
  EXPECT_GT(RunPVGisEstimate(db.data, position), 0);
  ExpectTemperaturesUntouched();
}

TEST_F(PVGisEstimate, UntrustedServiceIsRefused)
{
  const TTestCertificate stranger = MakeTestCertificate();
  https.SetCertificate(stranger.Certificate, stranger.Key);
  EXPECT_EQ(RunPVGisEstimate(db.data, position), 0);
  EXPECT_EQ(dialogs.messages, QStringList{QStringLiteral("La connexion à PVGis a échouée")});
  EXPECT_TRUE(https.Received.isEmpty());
  QFile protocol(TProtocolLogger::FileName());
  ASSERT_TRUE(protocol.open(QIODevice::ReadOnly));
  EXPECT_TRUE(protocol.readAll().contains("SSL error: The certificate is self-signed, and untrusted"));
}
