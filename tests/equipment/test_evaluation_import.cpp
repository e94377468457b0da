// The data module's equipment operations: evaluation of a module with an inverter and
// the import of module and inverter files into the catalogues.

#include "WorkedExamples.h"
#include "shell/dmData.h"
#include "support/QtPrinters.h"
#include "support/ScriptedDialogs.h"
#include "support/TempDir.h"

#include <QFont>
#include <QImage>

#include <gtest/gtest.h>

namespace {

class EquipmentData : public ::testing::Test {
protected:
  void SetUp() override
  {
    data.cdsModule->CreateDataSet();
    data.cdsOnduleur->CreateDataSet();
  }
  void AppendModule(double puissance, double uoc = 37.5)
  {
    TMyClientDataSet &t = *data.cdsModule;
    t.Append();
    t.FieldByName(QStringLiteral("Modèle")).SetAsString(QStringLiteral("Worked"));
    t.FieldByName(QStringLiteral("Type Cellule")).SetAsString(QStringLiteral("MONO"));
    t.FieldByName(QStringLiteral("Nombre Cellule")).SetAsInteger(60);
    t.FieldByName(QStringLiteral("Puissance")).SetAsFloat(puissance);
    t.FieldByName(QStringLiteral("Tension MPP")).SetAsFloat(30.5);
    t.FieldByName(QStringLiteral("Courant MPP")).SetAsFloat(8.2);
    t.FieldByName(QStringLiteral("Tension CO")).SetAsFloat(uoc);
    t.FieldByName(QStringLiteral("Courant CC")).SetAsFloat(8.8);
    t.FieldByName(QStringLiteral("Tension Max")).SetAsFloat(1000);
    t.Post();
  }
  void AppendOnduleur(double nominalDC, double maxDC)
  {
    TMyClientDataSet &t = *data.cdsOnduleur;
    t.Append();
    t.FieldByName(QStringLiteral("Modèle")).SetAsString(QStringLiteral("Unit"));
    t.FieldByName(QStringLiteral("Nombre MPP")).SetAsInteger(2);
    t.FieldByName(QStringLiteral("Puissance DC Nom")).SetAsFloat(nominalDC);
    t.FieldByName(QStringLiteral("Puissance DC Max")).SetAsFloat(maxDC);
    t.FieldByName(QStringLiteral("Tension MPP min")).SetAsFloat(125);
    t.FieldByName(QStringLiteral("Tension MPP max")).SetAsFloat(440);
    t.FieldByName(QStringLiteral("Tension DC Max")).SetAsFloat(500);
    t.FieldByName(QStringLiteral("Courant DC Max")).SetAsFloat(18);
    t.Post();
  }
  bool Evaluate(QString &text)
  {
    image = QImage(683, 136, QImage::Format_RGB32);
    return data.EvaluateModule(image, QFont(), 2, 10, text);
  }

  TdtmData data;
  QImage image;
  ScriptedDialogs dialogs;
};

}  // namespace

TEST_F(EquipmentData, EvaluationGivesThePowerRatioAndDrawsTheDiagram)
{
  // A record of 249.6 W counts as 250 W.
  for (const double puissance : {250.0, 249.6}) {
    SCOPED_TRACE(puissance);
    data.cdsModule->EmptyDataSet();
    data.cdsOnduleur->EmptyDataSet();
    AppendModule(puissance);
    AppendOnduleur(5, 5.5);
    QString text = QStringLiteral("old");
    ASSERT_TRUE(Evaluate(text));
    EXPECT_EQ(text, QStringLiteral(
                        "Rapport de puissance DC du PV sur l'onduleur : 100% du nominal, 91% du max."));
    EXPECT_EQ(image.size(), QSize(683, 136));
    // 10 modules in series stay within the MPP window: some of it shows in yellow.
    int yellow = 0;
    for (int x = 0; x < image.width(); ++x)
      yellow += image.pixelColor(x, image.height() / 3) == QColor(255, 255, 0);
    EXPECT_GT(yellow, 100);
  }
}

TEST_F(EquipmentData, EvaluationFailsWithoutUsableRecords)
{
  QString text = QStringLiteral("old");
  EXPECT_FALSE(Evaluate(text));  // no module
  EXPECT_TRUE(text.isEmpty());
  AppendModule(250);
  text = QStringLiteral("old");
  EXPECT_FALSE(Evaluate(text));  // no inverter
  EXPECT_TRUE(text.isEmpty());
  data.cdsModule->EmptyDataSet();
  AppendModule(250, 3000);  // a module that cannot be fitted
  AppendOnduleur(5, 5.5);
  EXPECT_FALSE(Evaluate(text));
  EXPECT_TRUE(text.isEmpty());
  EXPECT_TRUE(dialogs.messages.isEmpty());
}

TEST_F(EquipmentData, ImportModuleNamesTheRecordAfterTheFile)
{
  TempDir dir;
  const QString file = dir.write(QStringLiteral("Panel-250.B.mpv"),
                                 "Amorphe=NON\r\nTypeSI=Mono\r\nNbCell=60\r\nPmpp(W)=0\r\n"
                                 "Umpp(V)=30.5\r\nImpp(A)=8.2\r\nUco(V)=37.5\r\nIcc(A)=8.8\r\n"
                                 "TempUco(%)=-0.33\r\nTempIcc(%)=0.06\r\nTempPmpp(%)=-0.43\r\n");
  ASSERT_TRUE(data.ImportModule(file));
  ASSERT_TRUE(data.ImportModule(file));  // nothing checks for duplicates
  TMyClientDataSet &t = *data.cdsModule;
  EXPECT_EQ(t.RecordCount(), 2);
  EXPECT_EQ(t.FieldByName(QStringLiteral("Modèle")).AsString(), QStringLiteral("Panel-250.B"));
  EXPECT_EQ(t.FieldByName(QStringLiteral("Type Module")).AsString(), QStringLiteral("Mono"));
  EXPECT_EQ(t.FieldByName(QStringLiteral("Nombre Cellule")).AsInteger(), 60);
  EXPECT_DOUBLE_EQ(t.FieldByName(QStringLiteral("Puissance")).AsFloat(), 30.5 * 8.2);
  EXPECT_DOUBLE_EQ(t.FieldByName(QStringLiteral("Chute Tension (%)")).AsFloat(), -0.33);
  EXPECT_EQ(t.FieldByName(QStringLiteral("NOCT")).AsFloat(), 48);
  EXPECT_EQ(t.FieldByName(QStringLiteral("Résistance Shunt")).AsFloat(), 300);
  EXPECT_TRUE(t.FieldByName(QStringLiteral("Type Cellule")).IsNull());
  EXPECT_TRUE(t.FieldByName(QStringLiteral("Tension Max")).IsNull());
}

TEST_F(EquipmentData, ImportOnduleurCompletesThePowers)
{
  TempDir dir;
  const QByteArray bytes = QStringLiteral("Transfo=0\r\nNb_mpp=1\r\nUMin_mpp=125\r\nUMax_mpp=440\r\n"
                                          "UNominale=0\r\nUMax=500\r\nIMax=18\r\nPMax_DC=0\r\n"
                                          "PNominal_DC=0\r\nPMax_AC=0\r\nPNominal_AC=3\r\nRendement=0\r\n")
                               .toLatin1();
  struct Case {
    const char *file;
    const char *model;
  };
  for (const Case c : {Case{"Unit.B.ond", "Unit"}, Case{"Unit", "Unit"}, Case{"Onduleur 3kW.ond", "Onduleur 3kW"}}) {
    SCOPED_TRACE(c.file);
    ASSERT_TRUE(data.ImportOnduleur(dir.write(QString::fromLatin1(c.file), bytes)));
    TMyClientDataSet &t = *data.cdsOnduleur;
    EXPECT_EQ(t.FieldByName(QStringLiteral("Modèle")).AsString(), QString::fromLatin1(c.model));
    EXPECT_DOUBLE_EQ(t.FieldByName(QStringLiteral("Puissance DC Nom")).AsFloat(), 3 / 0.95);
    EXPECT_DOUBLE_EQ(t.FieldByName(QStringLiteral("Puissance DC Max")).AsFloat(), 3 / 0.95 / 0.85);
    EXPECT_DOUBLE_EQ(t.FieldByName(QStringLiteral("Puissance AC Max")).AsFloat(), 3 / 0.85);
    EXPECT_EQ(t.FieldByName(QStringLiteral("Tension MPP max")).AsFloat(), 440);
    EXPECT_FALSE(t.FieldByName(QStringLiteral("Transfo")).AsBoolean());
  }
}

TEST_F(EquipmentData, UnreadableFilesAddNoRecord)
{
  TempDir dir;
  EXPECT_FALSE(data.ImportModule(dir.write(QStringLiteral("bad.mpv"), "\x01\x02garbage")));
  EXPECT_FALSE(data.ImportOnduleur(dir.write(QStringLiteral("bad.ond"), "Transfo=1\r\n")));
  EXPECT_FALSE(data.ImportModule(dir.file(QStringLiteral("none.mpv"))));
  EXPECT_FALSE(data.ImportOnduleur(dir.file(QStringLiteral("none.ond"))));
  EXPECT_EQ(dialogs.messages, (QStringList{QStringLiteral("Erreur lors de la lecture du fichier module"),
                                           QStringLiteral("Erreur lors de la lecture du fichier"),
                                           QStringLiteral("Le fichier module est introuvable"),
                                           QStringLiteral("Le fichier est introuvable")}));
  EXPECT_EQ(data.cdsModule->RecordCount(), 0);
  EXPECT_EQ(data.cdsOnduleur->RecordCount(), 0);
}
