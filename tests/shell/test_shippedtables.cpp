// The table files supplied with the program, made from the project's CSV sources.

#include "shell/MyClientDataSet.h"
#include "shell/ShippedTables.h"
#include "shell/dmData.h"
#include "support/QtPrinters.h"
#include "support/TempDir.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace {

class ShippedTables : public ::testing::Test {
protected:
  static void SetUpTestSuite()
  {
    dir = new TempDir;
    created = MakeShippedTables(QStringLiteral(QUELTA_SOURCE_DATA), DataFolder());
  }
  static void TearDownTestSuite()
  {
    delete dir;
    dir = nullptr;
  }
  static QString DataFolder() { return dir->file(QStringLiteral("Data")); }
  static QString DataFile(const QString &name) { return QDir(DataFolder()).filePath(name); }

  static TempDir *dir;
  static QStringList created;
};

TempDir *ShippedTables::dir = nullptr;
QStringList ShippedTables::created;

TEST_F(ShippedTables, EveryTableIsMadeWithItsRows)
{
  EXPECT_EQ(created, QStringList({"CalSolClim.cds", "Module.cds", "Onduleur.cds", "Data.cds", "Production.cds"}));
  const std::vector<std::pair<QString, int>> expected{{"Module.cds", 16830},    {"Onduleur.cds", 1321},
                                                      {"CalSolClim.cds", 4959}, {"Data.cds", 0},
                                                      {"Production.cds", 0}};
  for (const auto &[file, rows] : expected) {
    TMyClientDataSet table;
    table.SetFileName(DataFile(file));
    table.Open();
    EXPECT_EQ(table.RecordCount(), rows) << file.toStdString();
  }
}

TEST_F(ShippedTables, CataloguesAreNumberedByTheStoreSoTheDefaultsExist)
{
  for (const auto &[file, id] : std::vector<std::pair<QString, int>>{{"Module.cds", 25}, {"Onduleur.cds", 1}}) {
    TMyClientDataSet table;
    table.SetFileName(DataFile(file));
    table.Open();
    EXPECT_TRUE(table.Locate(QStringLiteral("ID"), id)) << file.toStdString();
    EXPECT_FALSE(table.FieldByName(QStringLiteral("Modèle")).AsString().isEmpty());
  }
}

TEST_F(ShippedTables, ColumnsAreMappedByNameAndLongTextIsCut)
{
  TMyClientDataSet modules;
  modules.SetFileName(DataFile(QStringLiteral("Module.cds")));
  modules.Open();
  ASSERT_TRUE(modules.Locate(QStringLiteral("Modèle"), QStringLiteral("6MN6A270")));
  EXPECT_EQ(modules.FieldByName(QStringLiteral("Fabricant")).AsString(), QStringLiteral("Ablytek"));
  EXPECT_DOUBLE_EQ(modules.FieldByName(QStringLiteral("Tension MPP")).AsFloat(), 30.72);
  EXPECT_DOUBLE_EQ(modules.FieldByName(QStringLiteral("Chute Puissance (%)")).AsFloat(), -0.4509);
  EXPECT_EQ(modules.FieldByName(QStringLiteral("Nombre Cellule")).AsInteger(), 60);
  EXPECT_EQ(modules.FindField(QStringLiteral("Bifacial")), nullptr);
  // The longest maker's name (73 characters) is cut to the field's 20.
  ASSERT_TRUE(modules.Locate(QStringLiteral("Fabricant"), QStringLiteral("MAR SOLAR PANEL IMAL")));
  int longest = 0;
  for (modules.First(); !modules.Eof(); modules.Next())
    longest = std::max(longest, static_cast<int>(modules.FieldByName(QStringLiteral("Fabricant")).AsString().size()));
  EXPECT_EQ(longest, 20);

  TMyClientDataSet inverters;
  inverters.SetFileName(DataFile(QStringLiteral("Onduleur.cds")));
  inverters.Open();
  ASSERT_TRUE(inverters.Locate(QStringLiteral("Modèle"), QStringLiteral("PVI-3.0-OUTD-S-US-A [208V]")));
  EXPECT_EQ(inverters.FieldByName(QStringLiteral("Fabricant")).AsString(), QStringLiteral("ABB"));
  EXPECT_DOUBLE_EQ(inverters.FieldByName(QStringLiteral("Puissance AC Nom")).AsFloat(), 3.0);
  EXPECT_TRUE(inverters.FieldByName(QStringLiteral("Puissance AC Max")).IsNull());
  EXPECT_EQ(inverters.FindField(QStringLiteral("Tension AC")), nullptr);
}

TEST_F(ShippedTables, ClimateTableKeepsTheSourceColumnsAndHumidityText)
{
  TMyClientDataSet climate;
  climate.SetFileName(DataFile(QStringLiteral("CalSolClim.cds")));
  climate.Open();
  ASSERT_TRUE(climate.Locate(QStringLiteral("ID"), 2));
  EXPECT_EQ(climate.FieldByName(QStringLiteral("Nom")).AsString(), QStringLiteral("SHARJAH INTL"));
  EXPECT_EQ(climate.FieldByName(QStringLiteral("Pays")).AsString(), QStringLiteral("AE"));
  EXPECT_DOUBLE_EQ(climate.FieldByName(QStringLiteral("Latitude")).AsFloat(), 25.329);
  EXPECT_DOUBLE_EQ(climate.FieldByName(QStringLiteral("Longitude")).AsFloat(), -55.517);
  EXPECT_EQ(climate.FieldByName(QStringLiteral("Altitude")).AsInteger(), 34);
  EXPECT_EQ(climate.FieldByName(QStringLiteral("HR01")).AsString(), QStringLiteral("67.5"));
  EXPECT_EQ(climate.FieldByName(QStringLiteral("HR12")).AsString(), QStringLiteral("67.2"));
}

TEST_F(ShippedTables, ExistingFilesAreNeverOverwritten)
{
  TMyClientDataSet data;
  data.SetFileName(DataFile(QStringLiteral("Data.cds")));
  data.Open();
  data.Append();
  data.FieldByName(QStringLiteral("Site")).SetAsString(QStringLiteral("Mon toit"));
  data.Post();
  data.Close();
  QFile::remove(DataFile(QStringLiteral("Production.cds")));

  EXPECT_EQ(MakeShippedTables(QStringLiteral(QUELTA_SOURCE_DATA), DataFolder()),
            QStringList({QStringLiteral("Production.cds")}));
  data.Open();
  EXPECT_EQ(data.RecordCount(), 1);
}

TEST(ShippedTablesOpened, ANewInstallationFindsItsDefaultEquipment)
{
  TempDir dir;
  MakeShippedTables(QStringLiteral(QUELTA_SOURCE_DATA), dir.file(QStringLiteral("Data")));
  TdtmData data;
  data.SetApplicationPath(dir.path() + QLatin1Char('/'));
  data.OnVersion = [] { return ProgramFileVersion(); };
  data.Open();
  data.cdsData->Append();
  data.cdsData->FieldByName(QStringLiteral("Nb_Module")).SetAsInteger(10);
  data.cdsData->Post();
  ASSERT_TRUE(data.cdsModule->Locate(QStringLiteral("ID"), 25));
  const double modulePower = data.cdsModule->FieldByName(QStringLiteral("Puissance")).AsFloat();
  EXPECT_EQ(data.cdsData->FieldByName(QStringLiteral("Module")).AsString(),
            data.cdsModule->FieldByName(QStringLiteral("Modèle")).AsString());
  EXPECT_NEAR(data.Puissance(), modulePower * 10, 0.5);
  EXPECT_FALSE(data.cdsData->FieldByName(QStringLiteral("Onduleur")).AsString().isEmpty());
  // The shipped inverters give no European efficiency: the default applies.
  EXPECT_DOUBLE_EQ(data.GetRendementOnduleur(), 94.0);
  ASSERT_TRUE(data.cdsOnduleur->Locate(QStringLiteral("ID"), 1));
  EXPECT_DOUBLE_EQ(data.GetPOnduleurACMax(),
                   data.cdsOnduleur->FieldByName(QStringLiteral("Puissance AC Nom")).AsFloat() * 1000.0);
}

TEST(ShippedTablesSources, AnUnreadableSourceFails)
{
  TempDir dir;
  EXPECT_THROW(MakeShippedTables(dir.path(), dir.file(QStringLiteral("Data"))), EDatabaseError);
  dir.write(QStringLiteral("modules.csv"), QByteArrayLiteral("Fabricant,Puissance\nX,beaucoup\n"));
  dir.write(QStringLiteral("climate_stations.csv"), QByteArrayLiteral("ID,Nom\n1,A\n"));
  EXPECT_THROW(MakeShippedTables(dir.path(), dir.file(QStringLiteral("Data"))), EDatabaseError);
}

}  // namespace
