// The inverter data file (.ond) and the inverter catalogue record.

#include "CatalogueTables.h"
#include "WorkedExamples.h"
#include "equipment/KeyValueFile.h"
#include "support/QtPrinters.h"
#include "support/ScriptedDialogs.h"
#include "support/TempDir.h"

#include <QFile>
#include <QLocale>

#include <gtest/gtest.h>

namespace {

const QString ReadError = QStringLiteral("Erreur lors de la lecture du fichier");

// The lines of a file; numbers written with the given decimal separator.
QByteArray OnduleurFile(const QString &separator, const QString &replacedKey = {},
                        const QString &line = {})
{
  const QStringList lines = {
    QStringLiteral("Transfo=1"), QStringLiteral("Nb_mpp=2"), QStringLiteral("UMin_mpp=125"),
    QStringLiteral("UMax_mpp=440"), QStringLiteral("UNominale=300"), QStringLiteral("UMax=500"),
    QStringLiteral("IMax=18.5"), QStringLiteral("PMax_DC=3.3"), QStringLiteral("PNominal_DC=3"),
    QStringLiteral("PMax_AC=3"), QStringLiteral("PNominal_AC=2.8"), QStringLiteral("Rendement=95.5")};
  QString text;
  for (QString l : lines) {
    if (!replacedKey.isEmpty() && l.startsWith(replacedKey + QLatin1Char('='))) {
      if (!line.isEmpty())
        text += line + QStringLiteral("\r\n");
      continue;
    }
    text += l.replace(QLatin1Char('.'), separator) + QStringLiteral("\r\n");
  }
  return text.toLatin1();
}

QString UserSeparator() { return QLocale().decimalPoint(); }
QString OtherSeparator() { return UserSeparator() == QLatin1String(".") ? QStringLiteral(",") : QStringLiteral("."); }

}  // namespace

TEST(OnduleurFile, SavesTheCompletedPowersAndReadsThemBack)
{
  TempDir dir;
  TOnduleur written;
  TOnduleurData o = WorkedOnduleurData();
  o.Transfo = true;
  o.Rendement = 96.5;
  written.SetOnduleur(o);
  written.SaveToFile(dir.file(QStringLiteral("w.ond")));
  QFile file(dir.file(QStringLiteral("w.ond")));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QString text = QString::fromLatin1(file.readAll());
  const QString s = UserSeparator();
  EXPECT_TRUE(text.startsWith(QStringLiteral("Transfo=1\r\nNb_mpp=1\r\nUMin_mpp=125\r\n")));
  const auto local = [&s](QString t) { return t.replace(QLatin1Char('.'), s); };
  EXPECT_TRUE(text.contains(local(QStringLiteral("\r\nPMax_DC=3.3\r\nPNominal_DC=2.805\r\n"))));
  EXPECT_TRUE(text.endsWith(local(QStringLiteral("\r\nRendement=96.5\r\n\r\n"))));

  TOnduleur read;
  ASSERT_TRUE(read.LoadFromFile(dir.file(QStringLiteral("w.ond"))));
  const TOnduleurData &r = read.Onduleur();
  EXPECT_TRUE(r.Transfo);
  EXPECT_EQ(r.Nb_MPPT, 1);
  EXPECT_EQ(r.UMax_MPP, 440);
  EXPECT_DOUBLE_EQ(r.PNominal_DC, 3.3 * 0.85);
  EXPECT_NEAR(r.PMax_AC, 3.3 * 0.965, 1e-5);
  // The completed powers were saved: nothing is derived any more.
  EXPECT_FALSE(r.PCalculated);
}

TEST(OnduleurFile, ReadingRules)
{
  struct Case {
    const char *name;
    QByteArray bytes;
    bool transfo;
    double iMax;
  };
  const QString s = UserSeparator();
  const Case cases[] = {
    {"complete", OnduleurFile(s), true, 18.5},
    {"Transfo true is no transformer", OnduleurFile(s, QStringLiteral("Transfo"), QStringLiteral("Transfo=true")), false, 18.5},
    {"keys in any case", OnduleurFile(s, QStringLiteral("IMax"), QStringLiteral("imax=20")), true, 20},
    {"UTF-8 with BOM", "\xEF\xBB\xBF" + OnduleurFile(s), true, 18.5},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    ScriptedDialogs dialogs;
    TOnduleur onduleur;
    ASSERT_TRUE(onduleur.LoadFromFile(dir.write(QStringLiteral("o.ond"), c.bytes)));
    EXPECT_TRUE(dialogs.messages.isEmpty());
    EXPECT_EQ(onduleur.Onduleur().Transfo, c.transfo);
    EXPECT_DOUBLE_EQ(onduleur.Onduleur().IMax, c.iMax);
    EXPECT_EQ(onduleur.Onduleur().Nb_MPPT, 2);
    EXPECT_DOUBLE_EQ(onduleur.Onduleur().Rendement, 95.5);
  }
}

TEST(OnduleurFile, BadFilesGiveTheMessageAndKeepTheRecord)
{
  struct Case {
    const char *name;
    QByteArray bytes;
  };
  const QString s = UserSeparator();
  const Case cases[] = {
    {"empty file", ""},
    {"binary garbage", QByteArray("\x89PNG\r\n\x1A\n\x00\x00=\xFF\xFE", 14)},
    {"missing key", OnduleurFile(s, QStringLiteral("PMax_AC"))},
    {"empty value", OnduleurFile(s, QStringLiteral("UMax"), QStringLiteral("UMax="))},
    {"non-numeric", OnduleurFile(s, QStringLiteral("UMax"), QStringLiteral("UMax=cinq cents"))},
    {"other decimal separator", OnduleurFile(OtherSeparator())},
    {"huge number", OnduleurFile(s, QStringLiteral("IMax"), QStringLiteral("IMax=1e999"))},
    {"Nb_mpp not an integer", OnduleurFile(s, QStringLiteral("Nb_mpp"), QStringLiteral("Nb_mpp=2") + s + QStringLiteral("5"))},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    ScriptedDialogs dialogs;
    TOnduleur onduleur;
    onduleur.SetOnduleur(WorkedOnduleurData());
    EXPECT_FALSE(onduleur.LoadFromFile(dir.write(QStringLiteral("o.ond"), c.bytes)));
    EXPECT_EQ(dialogs.messages, QStringList{ReadError});
    EXPECT_EQ(onduleur.Onduleur().UMax, 500);
  }
  ScriptedDialogs dialogs;
  TOnduleur onduleur;
  EXPECT_FALSE(onduleur.LoadFromFile(QStringLiteral("no-such-folder/none.ond")));
  EXPECT_EQ(dialogs.messages, QStringList{QStringLiteral("Le fichier est introuvable")});
}

TEST(OnduleurRecord, ReadsTheCatalogueFieldsAndCompletesThePowers)
{
  ScriptedDialogs dialogs;
  auto table = MakeOnduleurTable();
  TOnduleur onduleur;
  EXPECT_FALSE(onduleur.LoadFromDB(*table));
  AppendRecord(*table, {{QStringLiteral("Modèle"), QStringLiteral("Unit")},
                        {QStringLiteral("Transfo"), true},
                        {QStringLiteral("Nombre MPP"), 2},
                        {QStringLiteral("Puissance AC Nom"), 3.0},
                        {QStringLiteral("Tension MPP min"), 125.0},
                        {QStringLiteral("Tension MPP max"), 440.0},
                        {QStringLiteral("Tension DC Nom"), 300.0},
                        {QStringLiteral("Tension DC Max"), 500.0},
                        {QStringLiteral("Courant DC Max"), 18.0}});
  ASSERT_TRUE(onduleur.LoadFromDB(*table));
  const TOnduleurData &o = onduleur.Onduleur();
  EXPECT_TRUE(o.Transfo);
  EXPECT_EQ(o.Nb_MPPT, 2);
  EXPECT_EQ(o.UNominale, 300);
  EXPECT_EQ(o.IMax, 18);
  EXPECT_DOUBLE_EQ(o.PNominal_DC, 3 / 0.95);
  EXPECT_TRUE(o.PCalculated);
  EXPECT_TRUE(dialogs.messages.isEmpty());

  TClientDataSet lacking;
  lacking.AddFieldDef(QStringLiteral("Modèle"), TFieldType::ftString, 40);
  lacking.CreateDataSet();
  AppendRecord(lacking, {{QStringLiteral("Modèle"), QStringLiteral("x")}});
  EXPECT_FALSE(onduleur.LoadFromDB(lacking));
  EXPECT_EQ(dialogs.messages, QStringList{QStringLiteral("Erreur lors de la lecture de la base")});
}
