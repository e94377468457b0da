// The module data file (.mpv) and the module catalogue record.

#include "CatalogueTables.h"
#include "WorkedExamples.h"
#include "equipment/KeyValueFile.h"
#include "support/QtPrinters.h"
#include "support/ScriptedDialogs.h"
#include "support/TempDir.h"

#include <QFile>
#include <QLocale>
#include <QStringEncoder>

#include <gtest/gtest.h>

namespace {

const QString ReadError = QStringLiteral("Erreur lors de la lecture du fichier module");

QByteArray ReadBytes(const QString &path)
{
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString Decimal(const char *number)
{
  return QString::fromLatin1(number).replace(QLatin1Char('.'), QLocale().decimalPoint());
}

// A complete file in Windows-1252 with one line replaced or removed.
QByteArray ModuleFile(const QString &replacedKey = {}, const QByteArray &line = {})
{
  const QList<QByteArray> lines = {
    "Amorphe=NON", "TypeSI=MONO", "NbCell=60", "Pmpp(W)=250.1", "Umpp(V)=30.5",
    "Impp(A)=8.2", "Uco(V)=37.5", "Icc(A)=8.8", "TempUco(%)=-0.33", "TempIcc(%)=0.06",
    "TempPmpp(%)=-0.43", "RShunt(ohm)=0", "NOCT(\xB0" "C)=45", "Longueur(mm)=1650",
    "Largeur(mm)=992", "Epaisseur(mm)=40", "Poids(kg)=18.5"};
  QByteArray bytes;
  for (const QByteArray &l : lines) {
    if (!replacedKey.isEmpty() && l.startsWith(replacedKey.toLatin1() + '=')) {
      if (!line.isEmpty())
        bytes += line + "\r\n";
      continue;
    }
    bytes += l + "\r\n";
  }
  return bytes;
}

}  // namespace

TEST(ModuleFile, WritesWindows1252WithTheUsersDecimalSeparator)
{
  TempDir dir;
  TModule module(true);
  module.SetData(WorkedModuleData());
  module.SaveToFile(dir.file(QStringLiteral("m.mpv")), false);
  const QByteArray bytes = ReadBytes(dir.file(QStringLiteral("m.mpv")));
  const QByteArray expected = EncodeEquipmentText(
      Decimal("Amorphe=NON\r\nTypeSI=MONO\r\nNbCell=60\r\nPmpp(W)=250.1\r\nUmpp(V)=30.5\r\n"
              "Impp(A)=8.2\r\nUco(V)=37.5\r\nIcc(A)=8.8\r\nTempUco(%)=-0.33\r\n"
              "TempIcc(%)=0.06\r\nTempPmpp(%)=-0.43\r\nRShunt(ohm)=300\r\n"
              "NOCT(\xB0" "C)=45\r\nLongueur(mm)=0\r\nLargeur(mm)=0\r\nEpaisseur(mm)=0\r\n"
              "Poids(kg)=0\r\n"));
  EXPECT_EQ(bytes, expected);
  EXPECT_TRUE(bytes.contains("NOCT(\xB0" "C)=45"));
}

TEST(ModuleFile, RoundTripAndFit)
{
  TempDir dir;
  TModule written(true);
  TModuleData d = WorkedModuleData();
  d.Longueur = 1650.5;
  d.TypeSI = QStringLiteral("Monocristallin à haut rendement");
  written.SetData(d);
  written.SaveToFile(dir.file(QStringLiteral("m.mpv")), false);

  TModule read(true);
  ASSERT_TRUE(read.LoadFromFile(dir.file(QStringLiteral("m.mpv")), true));
  const TModuleData &r = read.Data();
  EXPECT_EQ(r.TypeSI, d.TypeSI);
  EXPECT_EQ(r.NbCell, 60);
  EXPECT_DOUBLE_EQ(r.U_CO, 37.5);
  EXPECT_DOUBLE_EQ(r.T_U_CO, -0.33 * 37.5 / 100);
  EXPECT_DOUBLE_EQ(r.Longueur, 1650.5);
  EXPECT_EQ(r.R_Shunt, 300);
  EXPECT_EQ(r.UMax, 0);  // the file has no such key
  EXPECT_TRUE(r.T_Real);
  EXPECT_NEAR(read.GetPmpp(1000, 25), 250.1, 1e-3);
}

TEST(ModuleFile, ReadingRules)
{
  struct Case {
    const char *name;
    QByteArray bytes;
    bool amorphe;
    double puissance;
    int noct;
  };
  const double p = 30.5 * 8.2;
  const Case cases[] = {
    {"complete", ModuleFile(), false, 250.1, 45},
    {"power zero", ModuleFile(QStringLiteral("Pmpp(W)"), "Pmpp(W)=0"), false, p, 45},
    {"power absent", ModuleFile(QStringLiteral("Pmpp(W)")), false, p, 45},
    {"no NOCT", ModuleFile(QStringLiteral("NOCT(°C)")), false, 250.1, 48},
    {"NOCT rounded", ModuleFile(QStringLiteral("NOCT(°C)"), "noct(\xB0" "c)=46,6"), false, 250.1, 47},
    {"amorphous", ModuleFile(QStringLiteral("Amorphe"), "Amorphe=OUI"), true, 250.1, 45},
    {"oui in lower case", ModuleFile(QStringLiteral("Amorphe"), "Amorphe=oui"), false, 250.1, 45},
    {"empty TypeSI", ModuleFile(QStringLiteral("TypeSI"), "TypeSI="), false, 250.1, 45},
    {"first key wins", "pmpp(w)=240\n" + ModuleFile(), false, 240, 45},
    {"comma decimals", ModuleFile(QStringLiteral("Pmpp(W)"), "Pmpp(W)=250,1"), false, 250.1, 45},
    {"UTF-8 with BOM", "\xEF\xBB\xBF" + QString::fromLatin1(ModuleFile()).toUtf8(), false, 250.1, 45},
    {"UTF-16 with BOM",
     QByteArray("\xFF\xFE", 2) + QStringEncoder(QStringConverter::Utf16LE)(QString::fromLatin1(ModuleFile())),
     false, 250.1, 45},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    ScriptedDialogs dialogs;
    TModule module(true);
    ASSERT_TRUE(module.LoadFromFile(dir.write(QStringLiteral("m.mpv"), c.bytes), false));
    EXPECT_TRUE(dialogs.messages.isEmpty());
    EXPECT_EQ(module.Amorphe(), c.amorphe);
    EXPECT_DOUBLE_EQ(module.Puissance(), c.puissance);
    EXPECT_EQ(module.Data().NOCT, c.noct);
    EXPECT_DOUBLE_EQ(module.Uoc_Ref(), 37.5);
  }
}

TEST(ModuleFile, BadFilesGiveTheMessageAndKeepTheData)
{
  struct Case {
    const char *name;
    QByteArray bytes;
  };
  const Case cases[] = {
    {"empty file", ""},
    {"binary garbage", QByteArray("\x00\xFF\x13=\x80\x81\x9D\n\x01\x02=\xFE", 13)},
    {"NbCell empty", ModuleFile(QStringLiteral("NbCell"), "NbCell=")},
    {"NbCell missing", ModuleFile(QStringLiteral("NbCell"))},
    {"NbCell not an integer", ModuleFile(QStringLiteral("NbCell"), "NbCell=60.5")},
    {"NbCell too large", ModuleFile(QStringLiteral("NbCell"), "NbCell=99999999999")},
    {"non-numeric voltage", ModuleFile(QStringLiteral("Uco(V)"), "Uco(V)=trente")},
    {"huge number", ModuleFile(QStringLiteral("Uco(V)"), "Uco(V)=1e999")},
    {"huge NOCT", ModuleFile(QStringLiteral("NOCT(°C)"), "NOCT(\xB0" "C)=1e300")},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    ScriptedDialogs dialogs;
    TModule module(true);
    module.SetData(WorkedModuleData());
    EXPECT_FALSE(module.LoadFromFile(dir.write(QStringLiteral("m.mpv"), c.bytes), true));
    EXPECT_EQ(dialogs.messages, QStringList{ReadError});
    EXPECT_EQ(module.Data().NOCT, 45);
    EXPECT_EQ(module.Uoc_Ref(), 37.5);
  }
  ScriptedDialogs dialogs;
  TModule module(true);
  EXPECT_FALSE(module.LoadFromFile(QStringLiteral("no-such-folder/none.mpv"), false));
  TempDir dir;
  EXPECT_FALSE(module.LoadFromFile(dir.path(), false));  // a folder, not a file
  EXPECT_EQ(dialogs.messages,
            (QStringList{QStringLiteral("Le fichier module est introuvable"), ReadError}));
}

TEST(ModuleFile, CleanedNameKeepsTheFolder)
{
  TempDir dir;
  TModule module(true);
  module.SetData(WorkedModuleData());
  module.SaveToFile(dir.file(QStringLiteral("Pan:el*250?.mpv")), true);
  EXPECT_TRUE(QFile::exists(dir.file(QStringLiteral("Pan_el_250_.mpv"))));
  EXPECT_THROW(module.SaveToFile(dir.file(QStringLiteral("missing/m.mpv")), false),
               EKeyValueFileError);
}

TEST(ModuleRecord, DefaultCoefficientsByCellType)
{
  struct Case {
    const char *type;
    bool amorphe;
    double u, i, p;
  };
  const Case cases[] = {
    {"mono", false, -0.36, 0.03, -0.47},
    {"Poly", false, -0.33, 0.07, -0.42},
    {"HIT", false, -0.32, 0.25, -0.25},
    {"CdTe", true, -0.32, 0.25, -0.25},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.type);
    auto table = MakeModuleTable();
    TFieldValues record = WorkedModuleRecord();
    for (auto &[name, value] : record) {
      if (name == QLatin1String("Type Cellule"))
        value = QString::fromLatin1(c.type);
      if (name.startsWith(QLatin1String("Chute")))
        value = 0.0;
    }
    AppendRecord(*table, record);
    TModule module(true);
    ASSERT_TRUE(module.LoadFromDB(*table, false));
    const TModuleData &d = module.Data();
    EXPECT_EQ(d.Amorphe, c.amorphe);
    EXPECT_FALSE(d.T_Real);
    EXPECT_DOUBLE_EQ(d.T_U_CO_P, c.u);
    EXPECT_DOUBLE_EQ(d.T_I_CC_P, c.i);
    EXPECT_DOUBLE_EQ(d.T_P_P, c.p);
    EXPECT_DOUBLE_EQ(d.T_U_CO, c.u * 37.5 / 100);
    EXPECT_DOUBLE_EQ(d.T_P, c.p * 30.5 * 8.2 / 100);
    EXPECT_EQ(d.NOCT, 48);
    EXPECT_EQ(d.UMax, 1000);
  }
}

TEST(ModuleRecord, WorkedRecordFitsAndKeepsItsCoefficients)
{
  auto table = MakeModuleTable();
  AppendRecord(*table, WorkedModuleRecord());
  TModule module(true);
  ASSERT_TRUE(module.LoadFromDB(*table, true));
  EXPECT_TRUE(module.T_Real());
  EXPECT_NEAR(module.GetPmpp(1000, 25), 250.1, 1e-3);
}

TEST(ModuleRecord, CellCountEstimate)
{
  struct Case {
    double uoc;
    const char *type;
    int cells;
  };
  const Case cases[] = {{37.2, "MONO", 62}, {36.6, "POLY", 60}, {43.2, "MONO", 72},
                        {21.6, "MONO", 36}, {60.0, "ASI", 0}};
  for (const Case &c : cases) {
    SCOPED_TRACE(c.uoc);
    auto table = MakeModuleTable();
    TFieldValues record = WorkedModuleRecord();
    for (auto &[name, value] : record) {
      if (name == QLatin1String("Nombre Cellule"))
        value = 0;
      if (name == QLatin1String("Tension CO"))
        value = c.uoc;
      if (name == QLatin1String("Type Cellule"))
        value = QString::fromLatin1(c.type);
    }
    AppendRecord(*table, record);
    TModule module(true);
    ASSERT_TRUE(module.LoadFromDB(*table, false));
    EXPECT_EQ(module.Data().NbCell, c.cells);
  }
}

TEST(ModuleRecord, NoRecordOrUnreadableTable)
{
  ScriptedDialogs dialogs;
  auto table = MakeModuleTable();
  TModule module(true);
  EXPECT_FALSE(module.LoadFromDB(*table, true));
  EXPECT_TRUE(dialogs.messages.isEmpty());

  TClientDataSet lacking;
  lacking.AddFieldDef(QStringLiteral("Modèle"), TFieldType::ftString, 40);
  lacking.CreateDataSet();
  AppendRecord(lacking, {{QStringLiteral("Modèle"), QStringLiteral("x")}});
  EXPECT_FALSE(module.LoadFromDB(lacking, true));
  EXPECT_EQ(dialogs.messages, QStringList{QStringLiteral("Erreur lors de la lecture de la base")});
}
