// The installation database keeps one site model per installation: loaded from the
// record with the module's coefficients and the climate station's humidity, created
// for every installation when the table opens and reloaded on every post.

#include "SolarDatabase.h"
#include "solar/unPVSite.h"

#include <gtest/gtest.h>

namespace {

const QStringList kHumidity = {"78,5", " 80.4", "72", "70", "69", "64", "60", "62", "68", "74", "79", "81,5 "};

TEST(SiteModels, LoadedFromTheRecordTheModuleAndTheStation)
{
  TSolarDatabase db;
  const int module = db.AddModule(250, -0.38, 47);
  db.AddStation(5, 43.5, -6.0, kHumidity);
  const int id = db.AddInstallation(2, module, 12,
                                    {{QStringLiteral("CalSolID"), 5},
                                     {QStringLiteral("Temp01"), 2.5},
                                     {QStringLiteral("Temp02"), 3.5},
                                     {QStringLiteral("Temp03"), -1.5}});
  TPVSite *site = db.Sites().FindSite(id);
  ASSERT_NE(site, nullptr);
  EXPECT_EQ(site->Position().Latitude, 43.6);
  EXPECT_EQ(site->Position().Longitude, -6.394167);
  EXPECT_EQ(site->Position().Altitude, 600);
  EXPECT_EQ(site->Position().Inclinaison, 20);
  EXPECT_EQ(site->Angstrom(), TAngstromCoeff::acBleuProfond);
  EXPECT_EQ(site->Puissance(), 3000.0);
  EXPECT_EQ(site->TempCoeffPuissance(), -0.38);
  EXPECT_EQ(site->Noct(), 47.0);

  // Monthly values rounded half to even: 2.5 → 2, 3.5 → 4, −1.5 → −2; 78.5 % → 78.
  site->SetUseArrayTemp(true);
  site->SetUseArrayHR(true);
  double g = 0, p = 0, k = 0;
  const struct {
    int Month;
    double Temperature, Humidity;
  } cases[] = {{1, 2, 0.78}, {2, 4, 0.80}, {3, -2, 0.72}, {12, 7, 0.82}};
  for (const auto &c : cases) {
    site->GetDataForATime(EncodeDateTime(2011, c.Month, 15, 0, 0, 0), g, p, k);
    EXPECT_EQ(site->MeanTemp(), c.Temperature) << c.Month;
    EXPECT_DOUBLE_EQ(site->HR(), c.Humidity) << c.Month;
  }
}

TEST(SiteModels, MissingCatalogueFiguresTakeTheMethodsDefaults)
{
  TSolarDatabase db;
  const struct {
    QVariant Chute, Noct;
    bool ModuleExists;
    double ExpectedCoeff, ExpectedNoct;
  } cases[] = {
      {QVariant(), QVariant(), true, -0.45, 45},  // empty figures
      {0.0, 0.0, true, -0.45, 45},                // zero figures
      {-0.29, 44.0, true, -0.29, 44},
      {QVariant(), QVariant(), false, -0.45, 45},  // no such module
  };
  for (const auto &c : cases) {
    const int module = c.ModuleExists ? db.AddModule(200, c.Chute, c.Noct) : 999;
    const int id = db.AddInstallation(1, module, 10, {{QStringLiteral("CalSolID"), 42}});
    TPVSite &site = *db.Sites().FindSite(id);
    EXPECT_EQ(site.TempCoeffPuissance(), c.ExpectedCoeff);
    EXPECT_EQ(site.Noct(), c.ExpectedNoct);
    // No station 42: twelve zero humidities, read as they are in the monthly mode.
    site.SetUseArrayHR(true);
    double g = 0, p = 0, k = 0;
    site.GetDataForATime(EncodeDateTime(2011, 5, 15, 0, 0, 0), g, p, k);
    EXPECT_EQ(site.HR(), 0.0);
  }
}

TEST(SiteModels, OnePerInstallationOnOpenAndReloadedOnEveryPost)
{
  TSolarDatabase db;
  const int module = db.AddModule(250, -0.45, 45);
  const int first = db.AddInstallation(1, module, 12);
  const int second = db.AddInstallation(2, module, 4, {{QStringLiteral("Latitude"), 48.45}});
  EXPECT_EQ(db.Sites().Count(), 2);

  // Editing the record reloads its model.
  ASSERT_TRUE(db.data.cdsData->Locate(QStringLiteral("ID"), second));
  db.data.cdsData->Edit();
  db.data.cdsData->FieldByName(QStringLiteral("Nb_Module")).SetAsInteger(6);
  db.data.cdsData->Post();
  EXPECT_EQ(db.Sites().FindSite(second)->Puissance(), 1500.0);
  EXPECT_EQ(db.Sites().Count(), 2);

  // A new start opens the saved table with one model per installation, in table order.
  db.data.Close();
  TdtmData reopened;
  reopened.SetApplicationPath(db.dir.path() + QLatin1Char('/'));
  reopened.OnVersion = [] { return ProgramFileVersion(); };
  reopened.SetListPVSite(std::make_unique<TListPVSite>());
  reopened.Open();
  auto &sites = dynamic_cast<TListPVSite &>(*reopened.ListPVSite());
  ASSERT_EQ(sites.Count(), 2);
  EXPECT_EQ(sites.Items(0).ID(), first);
  EXPECT_EQ(sites.Items(1).ID(), second);
  EXPECT_EQ(sites.Items(1).Position().Latitude, 48.45);
  EXPECT_EQ(sites.Items(1).Puissance(), 1500.0);
  reopened.Close();
}

}  // namespace
