// Display texts of table fields: Delphi float formats and the other types.
#include "platform/ClientDataSet.h"
#include "platform/FloatFormat.h"

#include "support/QtPrinters.h"

#include <QLocale>

#include <gtest/gtest.h>

namespace {
QString Dec(const char *dotted)
{
  return QString::fromUtf8(dotted).replace(QLatin1Char('.'), QLocale().decimalPoint());
}
}  // namespace

TEST(FormatFloat, FollowsTheDelphiPlaceholders)
{
  struct Case {
    const char *format;
    double value;
    const char *expected;  // "." stands for the user's decimal separator
  } cases[] = {
      {"#0.00", 0.5, "0.50"},      {"#0.00", 1.0 / 3, "0.33"},  {"#0.00", -0.4375, "-0.44"},
      {"#0.00", 1234.5, "1234.50"}, {"#0.00", 0, "0.00"},       {"#0.00", -0.001, "0.00"},
      {"#.00", 0.5, ".50"},        {"#.00", -0.25, "-.25"},     {"#.00", 12.345, "12.35"},
      {"#.00", 0, ".00"},          {"#.0", 97.25, "97.3"},      {"#.0", 98.96, "99.0"},
      {"#.0", 0.04, ".0"},         {"0.###", 2.5, "2.5"},       {"0.###", 2, "2"},
      {"000", 7, "007"},           {"#0.00 W", 3, "3.00 W"},    {"#0.00;(#0.00)", 1, "1.00"},
  };
  for (const Case &c : cases)
    EXPECT_EQ(FormatFloat(c.format, c.value), Dec(c.expected)) << c.format << " " << c.value;
}

TEST(FormatFloat, GroupsThousandsWithTheLocaleSeparator)
{
  const QString group = QLocale().groupSeparator();
  EXPECT_EQ(FormatFloat("#,##0", 1234567), "1" + group + "234" + group + "567");
  EXPECT_EQ(FormatFloat("#,##0.0", -999.96), Dec("-1") + group + Dec("000.0"));
}

TEST(FieldDisplayText, ShowsEachTypeAsTheUserReadsIt)
{
  TClientDataSet table;
  table.AddFieldDef("Réel", TFieldType::ftFloat);
  table.AddFieldDef("Arrondi", TFieldType::ftFloat).Precision = 4;
  table.AddFieldDef("Format", TFieldType::ftFloat).DisplayFormat = "#.0";
  table.AddFieldDef("Entier", TFieldType::ftInteger);
  table.AddFieldDef("Oui", TFieldType::ftBoolean);
  table.AddFieldDef("Jour", TFieldType::ftDateTime);
  table.AddFieldDef("Heure", TFieldType::ftTime);
  table.CreateDataSet();
  table.Append();
  table.FieldByName("Réel").SetAsFloat(12345.678);
  table.FieldByName("Arrondi").SetAsFloat(3.14159);
  table.FieldByName("Format").SetAsFloat(97.25);
  table.FieldByName("Entier").SetAsInteger(-1234567);
  table.FieldByName("Oui").SetAsBoolean(true);
  table.FieldByName("Jour").SetAsDateTime(EncodeDate(2024, 3, 1));
  table.FieldByName("Heure").SetAsDateTime(EncodeTime(7, 5, 9));
  table.Post();

  EXPECT_EQ(table.FieldByName("Réel").DisplayText(), Dec("12345.678"));  // no grouping
  EXPECT_EQ(table.FieldByName("Réel").AsString(), Dec("12345.678"));
  EXPECT_EQ(table.FieldByName("Arrondi").DisplayText(), Dec("3.142"));
  EXPECT_EQ(table.FieldByName("Format").DisplayText(), Dec("97.3"));
  EXPECT_EQ(table.FieldByName("Entier").DisplayText(), "-1234567");
  EXPECT_EQ(table.FieldByName("Oui").DisplayText(), "Oui");
  EXPECT_EQ(table.FieldByName("Oui").AsString(), "True");
  EXPECT_EQ(table.FieldByName("Jour").DisplayText(),
            QLocale().toString(QDate(2024, 3, 1), QLocale::ShortFormat));
  EXPECT_EQ(table.FieldByName("Heure").DisplayText(), "07:05:09");
  table.Edit();
  table.FieldByName("Jour").SetAsDateTime(EncodeDateTime(2024, 3, 1, 14, 30, 0));
  EXPECT_EQ(table.FieldByName("Jour").DisplayText(),
            QLocale().toString(QDate(2024, 3, 1), QLocale::ShortFormat) + " 14:30:00");
  table.Post();
  EXPECT_EQ(table.DisplayTextAt(0, table.FieldIndex("Format")), Dec("97.3"));
}
