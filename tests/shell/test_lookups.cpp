// Equipment figures of the current installation read from the inverter catalogue,
// whose values may be text typed with a decimal comma.

#include "shell/DataModuleFixture.h"
#include "shell/dmDataLookups.h"
#include "support/QtPrinters.h"

#include <QFile>

#include <gtest/gtest.h>

namespace {

struct InverterCase {
  const char *name;
  QVariant rendement;  // "Rendement Euro-eta"
  QVariant acMax;      // "Puissance AC Max"
  QVariant acNom;      // "Puissance AC Nom"
  int nbOnduleur;
  bool knownInverter;
  double expectedRendement;
  double expectedACMax;
};

// An inverter catalogue whose figures are text, as a hand-edited catalogue may hold.
void WriteTextCatalogue(const QString &path, const InverterCase &c)
{
  TClientDataSet catalogue;
  catalogue.AddFieldDef(QStringLiteral("ID"), TFieldType::ftAutoInc);
  catalogue.AddFieldDef(QStringLiteral("Modèle"), TFieldType::ftString, 50);
  for (const char *field : {"Rendement Euro-eta", "Puissance AC Max", "Puissance AC Nom"})
    catalogue.AddFieldDef(QString::fromUtf8(field), TFieldType::ftString, 10);
  catalogue.CreateDataSet();
  catalogue.FieldByName(QStringLiteral("ID")).SetReadOnly(false);
  catalogue.Append();
  catalogue.FieldByName(QStringLiteral("ID")).SetAsInteger(1);
  catalogue.FieldByName(QStringLiteral("Rendement Euro-eta")).SetAsVariant(c.rendement);
  catalogue.FieldByName(QStringLiteral("Puissance AC Max")).SetAsVariant(c.acMax);
  catalogue.FieldByName(QStringLiteral("Puissance AC Nom")).SetAsVariant(c.acNom);
  catalogue.Post();
  catalogue.SaveRowsToFile(path);
}

class InverterLookups : public ::testing::TestWithParam<InverterCase> {};

TEST_P(InverterLookups, ReadTheCatalogueWithEitherDecimalSeparator)
{
  const InverterCase &c = GetParam();
  TTempDatabase db;
  const QString catalogue = db.DataFile(QStringLiteral("Onduleur.cds"));
  QFile::remove(catalogue);
  WriteTextCatalogue(catalogue, c);
  db.data.Open();
  db.AddInstallation({{QStringLiteral("ID_Onduleur"), c.knownInverter ? 1 : 7},
                      {QStringLiteral("Nb_Onduleur"), c.nbOnduleur}});
  EXPECT_DOUBLE_EQ(db.data.GetRendementOnduleur(), c.expectedRendement);
  EXPECT_DOUBLE_EQ(db.data.GetPOnduleurACMax(), c.expectedACMax);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, InverterLookups,
    ::testing::Values(
        InverterCase{"DecimalComma", "96,5", "", "4,6", 2, true, 96.5, 9200.0},
        InverterCase{"TrailingSpace", "96,5 ", "5", "4,6", 1, true, 96.5, 5000.0},
        InverterCase{"DecimalPoint", "97.1", "3.68", "", 1, true, 97.1, 3680.0},
        InverterCase{"InnerSpaces", "9 6,5", " 1 2", "", 1, true, 96.5, 12000.0},
        InverterCase{"EmptyValues", "", "", "", 1, true, 94.0, 0.0},
        InverterCase{"NotANumber", "n/a", "n/a", "4,6", 2, true, 94.0, 9200.0},
        InverterCase{"UnknownInverter", "96,5", "5", "4,6", 2, false, 94.0, 0.0}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(InverterLookupsCatalogue, RealFiguresOfTheProgramsOwnCatalogue)
{
  TTempDatabase db;
  db.data.Open();
  TTempDatabase::AddRow(*db.data.cdsOnduleur, {{QStringLiteral("Modèle"), QStringLiteral("O0")}});
  const int inverter = TTempDatabase::AddRow(*db.data.cdsOnduleur, {{QStringLiteral("Modèle"), QStringLiteral("O1")},
                                                                     {QStringLiteral("Rendement Euro-eta"), 96.5},
                                                                     {QStringLiteral("Puissance AC Nom"), 4.6}});
  db.AddInstallation({{QStringLiteral("ID_Onduleur"), inverter}, {QStringLiteral("Nb_Onduleur"), 2}});
  EXPECT_DOUBLE_EQ(db.data.GetRendementOnduleur(), 96.5);
  EXPECT_DOUBLE_EQ(db.data.GetPOnduleurACMax(), 9200.0);
  EXPECT_EQ(db.data.cdsData->FieldByName(QStringLiteral("Onduleur")).AsString(), QStringLiteral("O1"));
}

TEST(InstalledPower, IsZeroWithoutInstallation)
{
  TTempDatabase db;
  EXPECT_DOUBLE_EQ(db.data.Puissance(), 0.0);
  db.data.Open();
  EXPECT_DOUBLE_EQ(db.data.Puissance(), 0.0);
  EXPECT_DOUBLE_EQ(db.data.GetRendementOnduleur(), 94.0);
  EXPECT_DOUBLE_EQ(db.data.GetPOnduleurACMax(), 0.0);
}

TEST(CatalogueNumbers, OnlyTheFirstCommaIsADecimalSeparator)
{
  EXPECT_DOUBLE_EQ(CatalogueNumber(QStringLiteral("1,5")), 1.5);
  EXPECT_DOUBLE_EQ(CatalogueNumber(QStringLiteral("1,5,0")), 0.0);
  EXPECT_DOUBLE_EQ(CatalogueNumber(QVariant()), 0.0);
}

}  // namespace
