#include "shell/unFileLoader.h"

#include "support/QtPrinters.h"
#include "support/ScriptedDialogs.h"
#include "support/TempDir.h"

#include <QFile>

#include <gtest/gtest.h>

TEST(ColumnIndex, CountsLettersLikeASpreadsheet)
{
  struct Case {
    const char *column;
    int expected;
  } cases[] = {{"A", 1}, {"I", 9}, {"c", 3}, {"E", 5}, {"Z", 26}, {"AA", 27}, {"AB", 28}, {"BA", 53},
               {"abc", 28}};
  for (const Case &c : cases)
    EXPECT_EQ(ColumnIndex(QString::fromLatin1(c.column)), c.expected) << c.column;
}

TEST(TCSVLoader, TabLineWithBlanksGivesTrimmedCellsAndTrailingEmptiesDropped)
{
  TCSVLoader loader;
  loader.LoadFromStringList({QStringLiteral("a\t 2,5 \t\t")}, QLatin1Char('\t'));
  ASSERT_EQ(loader.RowCount(), 1);
  EXPECT_EQ(loader.GetCell(QStringLiteral("A"), 1), QVariant(QStringLiteral("a")));
  EXPECT_EQ(loader.GetCell(QStringLiteral("B"), 1), QVariant(QStringLiteral("2,5")));
  EXPECT_TRUE(loader.GetCell(QStringLiteral("C"), 1).isNull());
  EXPECT_DOUBLE_EQ(loader.GetAsDouble(QStringLiteral("B"), 1), 2.5);
  EXPECT_EQ(loader.GetAsInteger(QStringLiteral("B"), 1), 2);
  EXPECT_EQ(loader.GetLine(1), QStringLiteral("a\t2,5"));
}

TEST(TCSVLoader, CellsOutsideTheTableReadAsNullAndZero)
{
  TCSVLoader loader;
  loader.LoadFromStringList({QStringLiteral("1;2"), QStringLiteral("x;3.5;12.5;13.5")}, QLatin1Char(';'));
  EXPECT_TRUE(loader.GetCell(QStringLiteral("C"), 1).isNull());
  EXPECT_TRUE(loader.GetCell(QStringLiteral("A"), 3).isNull());
  EXPECT_TRUE(loader.GetCell(QString(), 1).isNull());
  EXPECT_EQ(loader.GetAsDouble(QStringLiteral("C"), 1), 0.0);
  EXPECT_EQ(loader.GetAsInteger(QStringLiteral("A"), 9), 0);
  EXPECT_EQ(loader.GetAsDouble(QStringLiteral("A"), 2), 0.0);  // not a number
  EXPECT_EQ(loader.GetAsInteger(QStringLiteral("C"), 2), 12);  // halves to even
  EXPECT_EQ(loader.GetAsInteger(QStringLiteral("D"), 2), 14);
  EXPECT_EQ(loader.GetLine(3), QString());
}

TEST(TCSVLoader, QuoteCharacterKeepsDelimitersInsideACell)
{
  TCSVLoader loader;
  loader.SetQuoteChar(QLatin1Char('"'));
  loader.LoadFromStringList({QStringLiteral("\"a;b\";c")}, QLatin1Char(';'));
  EXPECT_EQ(loader.GetCell(QStringLiteral("A"), 1), QVariant(QStringLiteral("a;b")));
  EXPECT_EQ(loader.GetCell(QStringLiteral("B"), 1), QVariant(QStringLiteral("c")));
  EXPECT_EQ(loader.GetLine(1), QStringLiteral("\"a;b\";c"));
}

TEST(TCSVLoader, SetCellExtendsTheRowAndRewritesItsLine)
{
  TCSVLoader loader;
  loader.LoadFromStringList({QStringLiteral("a;b")}, QLatin1Char(';'));
  loader.SetCell(QStringLiteral("D"), 1, 7);
  EXPECT_EQ(loader.GetLine(1), QStringLiteral("a;b;;7"));
  loader.SetCell(QStringLiteral("A"), 2, 1);  // beyond the table: nothing
  EXPECT_EQ(loader.RowCount(), 1);
}

TEST(TCSVLoader, LoadFileDataFollowsTheMapping)
{
  TCSVLoader loader;
  loader.LoadFromStringList({QStringLiteral("10;x;20"), QStringLiteral(";y;30")}, QLatin1Char(';'));
  const TMapping mapping{QStringLiteral("A"), QStringLiteral("-"), QStringLiteral("C")};
  TDataValue data{QVariant(), QStringLiteral("kept"), QVariant()};
  EXPECT_EQ(loader.LoadFileData(1, mapping, data, QChar()), TErrorLoading::elOK);
  EXPECT_EQ(data, (TDataValue{QStringLiteral("10"), QStringLiteral("kept"), QStringLiteral("20")}));
  EXPECT_EQ(loader.LoadFileData(2, mapping, data, QChar()), TErrorLoading::elZero);
  TDataValue tooShort{QVariant()};
  EXPECT_EQ(loader.LoadFileData(1, mapping, tooShort, QChar()), TErrorLoading::elData);
}

TEST(TCSVLoader, OpenFileReadsDelimitersAndReportsAMissingFile)
{
  const TempDir dir;
  // Records end with a carriage return; a line feed inside a record is a blank.
  const QString path = dir.write(QStringLiteral("t.txt"), "a\tb\r-c\td\re\nf\tg\r");
  TCSVLoader loader;
  ASSERT_TRUE(loader.OpenFile(path, QStringLiteral("#9")));
  ASSERT_EQ(loader.RowCount(), 3);
  EXPECT_EQ(loader.GetLine(2), QStringLiteral("c\td"));   // "-" starts a record
  EXPECT_EQ(loader.GetLine(3), QStringLiteral("e f\tg"));

  const QString unixLines = dir.write(QStringLiteral("u.txt"), "1;2\n3;4\n");
  ASSERT_TRUE(loader.OpenFile(unixLines, QString()));
  EXPECT_EQ(loader.RowCount(), 2);
  EXPECT_EQ(loader.GetAsInteger(QStringLiteral("B"), 2), 4);

  ScriptedDialogs dialogs;
  EXPECT_FALSE(loader.OpenFile(dir.file(QStringLiteral("missing.txt")), QString()));
  EXPECT_EQ(dialogs.messages, QStringList{QStringLiteral("Fichier inexistant ! ...")});
}

TEST(TCSVLoader, CloseFileSavesTheEditedLines)
{
  const TempDir dir;
  const QString path = dir.write(QStringLiteral("t.csv"), "a;b\r");
  TCSVLoader loader;
  ASSERT_TRUE(loader.OpenFile(path, QStringLiteral(";")));
  loader.SetCell(QStringLiteral("C"), 1, QStringLiteral("c"));
  loader.CloseFile(QString(), true);
  EXPECT_EQ(loader.RowCount(), 0);
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(file.readAll(), QByteArray("a;b;c\r\n"));
}
