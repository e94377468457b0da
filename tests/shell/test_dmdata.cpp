// The installation database: opening and closing the tables, the rebuild of the
// installation file on a new program version, and the installation table's rules.

#include "shell/DataModuleFixture.h"
#include "support/QtPrinters.h"
#include "support/ScriptedDialogs.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <map>

namespace {

const QString kID = QStringLiteral("ID");

// Records what the data module asks of the start-up window.
class RecordingOpenBase final : public IOpenBaseProgress {
public:
  explicit RecordingOpenBase(QStringList &calls) : FCalls(calls) {}
  ~RecordingOpenBase() override { FCalls << QStringLiteral("destroyed"); }
  void SetLogo(const QString &aLogo) override { FCalls << QStringLiteral("Logo=") + aLogo; }
  void SetStep(int aStep) override { FCalls << QStringLiteral("Step=%1").arg(aStep); }
  void SetTiming(int aTiming) override { FCalls << QStringLiteral("Timing=%1").arg(aTiming); }
  void Show() override { FCalls << QStringLiteral("Show"); }
  void Progress() override { FCalls << QStringLiteral("Progress"); }

private:
  QStringList &FCalls;
};

// Records the site models the installation table asks for.
class RecordingSites final : public ISiteModelList {
public:
  explicit RecordingSites(std::vector<int> &loaded) : FLoaded(loaded) {}
  void LoadSite(int aID, TdtmData &aData) override
  {
    EXPECT_EQ(aData.cdsData->FieldByName(kID).AsInteger(), aID);
    FLoaded.push_back(aID);
  }

private:
  std::vector<int> &FLoaded;
};

int CurrentID(TdtmData &data) { return data.cdsData->FieldByName(kID).AsInteger(); }

TEST(ProgramVersion, DropsTheFirstZeroPair)
{
  const std::map<QString, QString> cases{{QStringLiteral("3.4.0.0"), QStringLiteral("3.4")},
                                         {QStringLiteral("3.0.0.0"), QStringLiteral("3.0")},
                                         {QStringLiteral("3.4.1.0"), QStringLiteral("3.4.1.0")},
                                         {QString(), QString()}};
  for (const auto &[fileVersion, expected] : cases)
    EXPECT_EQ(GetFileVersion(fileVersion), expected) << fileVersion.toStdString();
  EXPECT_EQ(ProgramFileVersion(), QStringLiteral("3.4"));
}

TEST(DataModule, CreatedWithTheTablesClosedButTheAnalyticResults)
{
  TdtmData data;
  EXPECT_FALSE(data.cdsData->Active());
  EXPECT_FALSE(data.cdsModule->Active());
  EXPECT_TRUE(data.cdsOnduleurAnalytic->Active());
  EXPECT_TRUE(data.cdsOnduleurAnalytic->IsEmpty());
  EXPECT_EQ(data.ListPVSite(), nullptr);
}

TEST(DataModule, OpenShowsTheStartUpWindowAndOpensEveryTable)
{
  TTempDatabase db;
  QStringList calls;
  db.data.OnCreateOpenBase = [&calls] { return std::make_unique<RecordingOpenBase>(calls); };
  db.data.Open();
  EXPECT_EQ(calls, QStringList({"Logo=Logo", "Step=5", "Timing=200", "Show", "Progress", "Progress", "Progress",
                                "Progress", "Progress", "destroyed"}));
  for (TMyClientDataSet *table : {db.data.cdsData.get(), db.data.cdsProd.get(), db.data.cdsModule.get(),
                                  db.data.cdsOnduleur.get(), db.data.cdsCalSolClim.get(), db.data.cdsCloneData.get()})
    EXPECT_TRUE(table->Active()) << table->Name().toStdString();
  EXPECT_TRUE(db.data.cdsData->IndexNames().contains(QStringLiteral("IXID")));
  EXPECT_TRUE(db.data.cdsOnduleur->IndexNames().contains(QStringLiteral("IXID")));
  EXPECT_EQ(db.data.cdsData->IndexFieldNames(), QStringLiteral("IDSite;ID"));
}

TEST(DataModule, AMissingTableStopsTheOpeningAndTheWindowIsDestroyed)
{
  TTempDatabase db;
  QFile::remove(db.DataFile(QStringLiteral("Onduleur.cds")));
  QStringList calls;
  db.data.OnCreateOpenBase = [&calls] { return std::make_unique<RecordingOpenBase>(calls); };
  EXPECT_THROW(db.data.Open(), EDatabaseError);
  EXPECT_EQ(calls.count(QStringLiteral("Progress")), 2);
  EXPECT_EQ(calls.last(), QStringLiteral("destroyed"));
  EXPECT_TRUE(db.data.cdsModule->Active());
  EXPECT_FALSE(db.data.cdsOnduleur->Active());
  EXPECT_FALSE(db.data.cdsData->Active());
  EXPECT_FALSE(db.data.cdsProd->Active());
}

TEST(DataModule, NewInstallationTakesTheDefaults)
{
  TTempDatabase db;
  db.data.Open();
  db.data.cdsData->Append();
  const std::vector<std::pair<const char *, QVariant>> expected{
      {"ID", 0},          {"ID_Module", 25},   {"ID_Onduleur", 1}, {"Nb_Module", 1},
      {"Nb_Onduleur", 1}, {"Orientation", 0}, {"Inclinaison", 20}, {"Prix_kWh", 0.144}};
  for (const auto &[field, value] : expected)
    EXPECT_EQ(db.data.cdsData->FieldByName(QString::fromUtf8(field)).AsVariant().toDouble(), value.toDouble())
        << field;
  db.data.cdsData->Cancel();
}

TEST(DataModule, InstallationFieldsShowTheirLabelsAlsoInTheClone)
{
  TTempDatabase db;
  db.data.Open();
  const std::vector<std::pair<const char *, const char *>> labels{
      {"IDSite", "Numéro du Site"},
      {"Site", "Nom du site"},
      {"Puissance", "Puissance de l'installation en Wc"},
      {"Nb_Module", "Nombre de module"},
      {"Nb_Onduleur", "Nombre_d'onduleur"},
      {"Latitude", "Latitude en °"},
      {"Longitude", "Longitude en °"},
      {"Orientation", "Orientation en ° (Sud = 0°, Est = -90°, Ouest = +90°)"},
      {"Inclinaison", "Inclinaison en °"},
      {"Production", "Estimation de production PVGis en kWh"},
      {"Altitude", "Altitude"}};
  for (TMyClientDataSet *table : {db.data.cdsData.get(), db.data.cdsCloneData.get()})
    for (const auto &[field, label] : labels)
      EXPECT_EQ(table->FieldByName(QString::fromUtf8(field)).DisplayLabel(), QString::fromUtf8(label))
          << table->Name().toStdString() << " " << field;
}

TEST(DataModule, PostingComputesTheInstalledPowerFromTheModule)
{
  TTempDatabase db;
  db.data.Open();
  const int module = db.AddModule(250);
  const int posted =
      db.AddInstallation({{QStringLiteral("ID_Module"), module}, {QStringLiteral("Nb_Module"), 12}});
  ASSERT_TRUE(db.data.cdsData->Locate(kID, posted));
  EXPECT_EQ(db.data.cdsData->FieldByName(QStringLiteral("Puissance")).AsVariant(), QVariant(3000));
  EXPECT_DOUBLE_EQ(db.data.Puissance(), 3000.0);

  db.data.cdsData->Edit();
  db.data.cdsData->FieldByName(QStringLiteral("ID_Module")).SetAsInteger(module + 100);
  db.data.cdsData->Post();
  EXPECT_TRUE(db.data.cdsData->FieldByName(QStringLiteral("Puissance")).IsNull());

  // A power beyond the field's range is refused, never stored wrapped round.
  db.data.cdsData->Edit();
  db.data.cdsData->FieldByName(QStringLiteral("ID_Module")).SetAsInteger(module);
  db.data.cdsData->FieldByName(QStringLiteral("Nb_Module")).SetAsInteger(10000000);
  EXPECT_THROW(db.data.cdsData->Post(), EDatabaseError);
  db.data.cdsData->Cancel();
  EXPECT_TRUE(db.data.cdsData->FieldByName(QStringLiteral("Puissance")).IsNull());
}

TEST(DataModule, PostingReloadsTheSiteModelAndUpdatesTheWindow)
{
  TTempDatabase db;
  std::vector<int> loaded;
  db.data.SetListPVSite(std::make_unique<RecordingSites>(loaded));
  db.data.Open();
  const int first = db.AddInstallation({});
  const int second = db.AddInstallation({});
  ASSERT_TRUE(db.data.cdsData->Locate(kID, first));
  db.data.cdsData->Edit();
  db.data.cdsData->Post();
  EXPECT_EQ(loaded, std::vector<int>({first, second, first}));
  EXPECT_NE(std::find(db.updates.begin(), db.updates.end(), false), db.updates.end());
}

TEST(DataModule, OpeningLoadsOneSiteModelPerInstallationAndEndsOnTheLast)
{
  TTempDatabase db;
  db.data.Open();
  db.AddInstallation({{QStringLiteral("IDSite"), 2}, {QStringLiteral("Production"), 700.0}});
  db.AddInstallation({{QStringLiteral("IDSite"), 1}, {QStringLiteral("Production"), 300.0}});
  db.data.Close();

  TTempDatabase reopened;
  QFile::remove(reopened.DataFile(QStringLiteral("Data.cds")));
  QFile::copy(db.DataFile(QStringLiteral("Data.cds")), reopened.DataFile(QStringLiteral("Data.cds")));
  std::vector<int> loaded;
  reopened.data.SetListPVSite(std::make_unique<RecordingSites>(loaded));
  reopened.data.Open();
  EXPECT_EQ(loaded, std::vector<int>({1, 0}));  // ordered by site, then ID
  EXPECT_EQ(CurrentID(reopened.data), 0);
  EXPECT_DOUBLE_EQ(reopened.data.ProdYearPVGis(), 700.0);
}

class SingleSite : public ::testing::Test {
protected:
  TTempDatabase db;
  int a1 = 0, a2 = 0, b1 = 0;

  void SetUp() override
  {
    db.data.Open();
    a1 = db.AddInstallation({{QStringLiteral("IDSite"), 1}, {QStringLiteral("Production"), 1000.0}});
    a2 = db.AddInstallation({{QStringLiteral("IDSite"), 1}, {QStringLiteral("Production"), 500.0}});
    b1 = db.AddInstallation({{QStringLiteral("IDSite"), 3}, {QStringLiteral("Production"), 300.0}});
    ASSERT_TRUE(db.data.cdsData->Locate(kID, a2));
  }
};

TEST_F(SingleSite, ProdYearPVGisIsTheSiteSumWithTheViewOnAndTheRowsOwnOtherwise)
{
  EXPECT_DOUBLE_EQ(db.data.ProdYearPVGis(), 500.0);
  db.data.SetFilter(true);
  EXPECT_EQ(CurrentID(db.data), a2);
  EXPECT_EQ(db.data.cdsData->RecordCount(), 2);
  EXPECT_DOUBLE_EQ(db.data.ProdYearPVGis(), 1500.0);
  db.data.cdsData->First();
  EXPECT_DOUBLE_EQ(db.data.ProdYearPVGis(), 1500.0);
  EXPECT_EQ(CurrentID(db.data), a1);
  db.data.SetFilter(false);
  EXPECT_EQ(db.data.cdsData->RecordCount(), 3);
  EXPECT_EQ(CurrentID(db.data), a1);
  EXPECT_DOUBLE_EQ(db.data.ProdYearPVGis(), 1000.0);
  EXPECT_FALSE(db.data.cdsData->ControlsDisabled());
}

TEST_F(SingleSite, LastSiteNumberIsTheHighestOverAllInstallations)
{
  EXPECT_EQ(db.data.GetLastIDSite(), 3);
  db.data.SetFilter(true);
  EXPECT_EQ(db.data.GetLastIDSite(), 3);
  EXPECT_TRUE(db.data.cdsData->Filtered());
  EXPECT_EQ(db.data.cdsData->RecordCount(), 2);
  EXPECT_EQ(CurrentID(db.data), a2);
  EXPECT_FALSE(db.data.cdsData->ControlsDisabled());
}

TEST(DataModule, SetFilterOnAnEmptyTableDoesNothing)
{
  TTempDatabase db;
  db.data.Open();
  db.data.SetFilter(true);
  EXPECT_FALSE(db.data.cdsData->Filtered());
  EXPECT_EQ(db.data.GetLastIDSite(), 0);
}

TEST(DataModule, CloseAndSaveWriteOnlyChangedTables)
{
  TTempDatabase db;
  db.data.Open();
  db.AddInstallation({{QStringLiteral("Site"), QStringLiteral("Toit")}});
  db.data.Save();
  EXPECT_TRUE(QFile::exists(db.DataFile(QStringLiteral("Data.bak"))));
  EXPECT_FALSE(QFile::exists(db.DataFile(QStringLiteral("Module.bak"))));
  db.AddModule(300);
  db.data.Close();
  EXPECT_TRUE(QFile::exists(db.DataFile(QStringLiteral("Module.bak"))));
  EXPECT_FALSE(QFile::exists(db.DataFile(QStringLiteral("CalSolClim.bak"))));
  EXPECT_FALSE(db.data.cdsData->Active());

  db.data.Open();
  EXPECT_EQ(db.data.cdsData->FieldByName(QStringLiteral("Site")).AsString(), QStringLiteral("Toit"));
  EXPECT_EQ(db.data.cdsModule->RecordCount(), 1);
}

TEST(DataModule, ATableThatCannotBeSavedOnClosingLeavesTheOthersClosedAndSaved)
{
  TTempDatabase db;
  db.data.Open();
  db.AddInstallation({{QStringLiteral("Site"), QStringLiteral("Toit")}});
  db.AddModule(300);
  // A folder in place of the installation file: only that table's save fails.
  const QString dataFile = db.DataFile(QStringLiteral("Data.cds"));
  ASSERT_TRUE(QFile::remove(dataFile));
  ASSERT_TRUE(QDir().mkpath(dataFile + QStringLiteral("/occupé")));
  EXPECT_THROW(db.data.Close(), EDatabaseError);
  EXPECT_TRUE(db.data.cdsData->Active());
  EXPECT_EQ(db.data.cdsData->FieldByName(QStringLiteral("Site")).AsString(), QStringLiteral("Toit"));
  for (TMyClientDataSet *table : {db.data.cdsProd.get(), db.data.cdsModule.get(), db.data.cdsOnduleur.get(),
                                  db.data.cdsCalSolClim.get()})
    EXPECT_FALSE(table->Active()) << table->Name().toStdString();
  TMyClientDataSet modules;
  modules.SetFileName(db.DataFile(QStringLiteral("Module.cds")));
  modules.Open();
  EXPECT_EQ(modules.RecordCount(), 1);
}

// An installation file of an older layout: a field since dropped, no monthly
// temperatures, and IDs with gaps.
class Rebuild : public ::testing::Test {
protected:
  TTempDatabase db;

  void WriteOldFile()
  {
    TClientDataSet old;
    old.AddFieldDef(kID, TFieldType::ftAutoInc);
    old.AddFieldDef(QStringLiteral("IDSite"), TFieldType::ftInteger);
    old.AddFieldDef(QStringLiteral("Site"), TFieldType::ftString, 30);
    old.AddFieldDef(QStringLiteral("Ancien"), TFieldType::ftString, 10);
    old.AddFieldDef(QStringLiteral("Nb_Module"), TFieldType::ftString, 10);
    old.CreateDataSet();
    old.FieldByName(kID).SetReadOnly(false);
    for (const auto &[id, site, modules] :
         std::vector<std::tuple<int, QString, QString>>{{5, "Toit", "12"}, {9, "Garage", "beaucoup"}}) {
      old.Append();
      old.FieldByName(kID).SetAsInteger(id);
      old.FieldByName(QStringLiteral("IDSite")).SetAsInteger(1);
      old.FieldByName(QStringLiteral("Site")).SetAsString(site);
      old.FieldByName(QStringLiteral("Ancien")).SetAsString(QStringLiteral("x"));
      old.FieldByName(QStringLiteral("Nb_Module")).SetAsString(modules);
      old.Post();
    }
    old.SaveRowsToFile(db.DataFile(QStringLiteral("Data.cds")));
  }
};

TEST_F(Rebuild, ANewVersionRebuildsTheFileKeepingEveryID)
{
  for (const QString &stored : {QStringLiteral("3.3"), QString()}) {
    WriteOldFile();
    db.data.OnVersion = [stored] { return stored; };
    db.data.Open();
    TMyClientDataSet &data = *db.data.cdsData;
    EXPECT_EQ(data.FindField(QStringLiteral("Ancien")), nullptr);
    ASSERT_NE(data.FindField(QStringLiteral("Temp12")), nullptr);
    EXPECT_EQ(data.RecordCount(), 2);
    ASSERT_TRUE(data.Locate(kID, 5));
    EXPECT_EQ(data.FieldByName(QStringLiteral("Site")).AsString(), QStringLiteral("Toit"));
    EXPECT_EQ(data.FieldByName(QStringLiteral("Nb_Module")).AsInteger(), 12);
    ASSERT_TRUE(data.Locate(kID, 9));
    EXPECT_TRUE(data.FieldByName(QStringLiteral("Nb_Module")).IsNull());  // refused value dropped
    EXPECT_EQ(db.AddInstallation({}), 10);
    EXPECT_FALSE(QFile::exists(db.DataFile(QStringLiteral("Data.bak"))));
    EXPECT_TRUE(db.data.cdsCloneData->Active());
    EXPECT_TRUE(db.data.cdsCloneData->IsEmpty());
    db.data.Close();
    QFile::remove(db.DataFile(QStringLiteral("Data.bak")));
  }
}

TEST_F(Rebuild, TheSameVersionOpensTheFileAsItIs)
{
  WriteOldFile();
  db.data.Open();
  EXPECT_NE(db.data.cdsData->FindField(QStringLiteral("Ancien")), nullptr);
}

TEST_F(Rebuild, AnUnreadableFileWithoutBackupStopsTheOpening)
{
  QFile::remove(db.DataFile(QStringLiteral("Data.cds")));
  db.dir.write(QStringLiteral("Data/Data.cds"), QByteArrayLiteral("garbage"));
  db.data.OnVersion = [] { return QString(); };
  ScriptedDialogs dialogs;
  try {
    db.data.Open();
    FAIL() << "the opening should fail";
  } catch (const EDatabaseError &error) {
    EXPECT_EQ(error.Message(), QStringLiteral("Impossible de lire le fichier de donnée <Data.cds>.\r"
                                              "Essayez de faire une restauration des bases ..."));
  }
  EXPECT_FALSE(db.data.cdsData->Active());
  EXPECT_FALSE(db.data.cdsCloneData->Active());
  EXPECT_EQ(db.data.cdsCloneData->FieldCount(), 0);
}

TEST_F(Rebuild, AnUnreadableFileFallsBackToItsBackup)
{
  WriteOldFile();
  QFile::rename(db.DataFile(QStringLiteral("Data.cds")), db.DataFile(QStringLiteral("Data.bak")));
  db.dir.write(QStringLiteral("Data/Data.cds"), QByteArrayLiteral("garbage"));
  db.data.OnVersion = [] { return QStringLiteral("3.3"); };
  ScriptedDialogs dialogs;
  db.data.Open();
  EXPECT_EQ(dialogs.messages, QStringList({QStringLiteral("Erreur lors de la lecture des données.\r"
                                                          "Le programme essaie avec le fichier de sauvegarde ...")}));
  EXPECT_EQ(db.data.cdsData->RecordCount(), 2);
}

}  // namespace
