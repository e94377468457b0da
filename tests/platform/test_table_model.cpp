// The grid model over a table: headers, display texts and alignment from the fields,
// edits through the table, and a model that stays consistent (checked by Qt's model
// tester) while the table changes under it.
#include "TableBuilders.h"

#include "platform/TableModel.h"

#include "support/QtPrinters.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>

#include <gtest/gtest.h>

namespace {
QString Dec(const char *dotted)
{
  return QString::fromLatin1(dotted).replace(QLatin1Char('.'), QLocale().decimalPoint());
}

// Fails the running test on any warning, which is how the model tester reports.
class TWarningsAreFailures {
public:
  TWarningsAreFailures() { FPrevious = qInstallMessageHandler(&Handler); }
  ~TWarningsAreFailures() { qInstallMessageHandler(FPrevious); }
  TWarningsAreFailures(const TWarningsAreFailures &) = delete;
  TWarningsAreFailures &operator=(const TWarningsAreFailures &) = delete;

private:
  static void Handler(QtMsgType type, const QMessageLogContext &, const QString &message)
  {
    if (type != QtDebugMsg && type != QtInfoMsg)
      ADD_FAILURE() << message.toStdString();
  }
  QtMessageHandler FPrevious = nullptr;
};

// The model shows exactly the table's rows and texts.
void ExpectMirrors(const TTableModel &model, TClientDataSet &table)
{
  ASSERT_EQ(model.rowCount(), table.RecordCount());
  for (int row = 0; row < model.rowCount(); ++row)
    for (int column = 0; column < model.columnCount(); ++column)
      ASSERT_EQ(model.data(model.index(row, column)).toString(),
                table.DisplayTextAt(row, model.FieldOfColumn(column)))
          << row << "," << column;
}
}  // namespace

TEST(TableModel, ShowsLabelsFormatsAndAlignmentOfVisibleFields)
{
  auto table = MakeSites({{{"ID", 1}, {"IDSite", 3}, {"Site", "Toit"}, {"Production", 0.5}},
                          {{"ID", 2}, {"Production", 1234.567}},
                          {{"ID", 3}}});
  table->FieldByName("Site").SetAlignment(Qt::AlignCenter);
  TTableModel model(*table);
  ASSERT_EQ(model.columnCount(), 4);
  EXPECT_EQ(model.headerData(1, Qt::Horizontal).toString(), "Numéro du Site");
  EXPECT_EQ(model.headerData(1, Qt::Horizontal, Qt::ToolTipRole).toString(), "Numéro du Site");
  EXPECT_EQ(model.headerData(0, Qt::Horizontal).toString(), "ID");
  EXPECT_EQ(model.data(model.index(0, 3)).toString(), Dec("0.50"));
  EXPECT_EQ(model.data(model.index(1, 3)).toString(), Dec("1234.57"));
  EXPECT_EQ(model.data(model.index(2, 3)).toString(), "");
  EXPECT_EQ(model.data(model.index(0, 3), Qt::EditRole), QVariant(0.5));
  EXPECT_EQ(qvariant_cast<Qt::Alignment>(model.data(model.index(0, 2), Qt::TextAlignmentRole)),
            Qt::AlignCenter);

  table->FieldByName("IDSite").SetVisible(false);
  ASSERT_EQ(model.columnCount(), 3);
  EXPECT_EQ(model.headerData(1, Qt::Horizontal).toString(), "Site");
  EXPECT_EQ(model.ColumnOfField("Production"), 2);
  EXPECT_EQ(model.ColumnOfField("IDSite"), -1);

  // Auto-increment and lookup fields are not editable in the grid.
  EXPECT_TRUE(model.flags(model.index(0, 1)) & Qt::ItemIsEditable);
  table->FieldByName("ID").SetReadOnly(true);
  EXPECT_FALSE(model.flags(model.index(0, 0)) & Qt::ItemIsEditable);
}

TEST(TableModel, EditsGoThroughTheTableAndRefusedValuesChangeNothing)
{
  auto table = MakeSites({{{"ID", 1}, {"Production", 2.0}}, {{"ID", 2}}});
  TTableModel model(*table);
  TWarningsAreFailures strict;
  QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Warning);
  QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);

  EXPECT_TRUE(model.setData(model.index(1, 3), Dec("3.25")));
  EXPECT_EQ(table->State(), TDataSetState::dsBrowse);
  EXPECT_EQ(table->RecNo(), 2);
  EXPECT_DOUBLE_EQ(table->FieldByName("Production").AsFloat(), 3.25);
  EXPECT_GE(changed.count(), 1);
  EXPECT_TRUE(table->DataChanged());

  EXPECT_FALSE(model.setData(model.index(0, 3), "beaucoup"));
  EXPECT_EQ(table->State(), TDataSetState::dsBrowse);
  table->First();
  EXPECT_DOUBLE_EQ(table->FieldByName("Production").AsFloat(), 2.0);
  ExpectMirrors(model, *table);
}

TEST(TableModel, EditsDatesAndTimesAsSuch)
{
  TClientDataSet table;
  table.AddFieldDef("Jour", TFieldType::ftDate);
  table.AddFieldDef("Heure", TFieldType::ftTime);
  table.AddFieldDef("Date", TFieldType::ftDateTime);
  table.CreateDataSet();
  AddRow(table, {{"Jour", EncodeDate(2024, 6, 21)}});
  TTableModel model(table);
  EXPECT_EQ(model.data(model.index(0, 0), Qt::EditRole), QVariant(QDate(2024, 6, 21)));
  EXPECT_TRUE(model.data(model.index(0, 1), Qt::EditRole).isNull());

  EXPECT_TRUE(model.setData(model.index(0, 1), QTime(6, 30)));
  EXPECT_TRUE(model.setData(model.index(0, 2), QDateTime(QDate(2025, 1, 2), QTime(3, 4, 5))));
  EXPECT_DOUBLE_EQ(table.FieldByName("Heure").AsDateTime(), EncodeTime(6, 30, 0));
  EXPECT_NEAR(table.FieldByName("Date").AsDateTime(), EncodeDateTime(2025, 1, 2, 3, 4, 5), 1e-9);
  EXPECT_EQ(model.data(model.index(0, 1), Qt::EditRole), QVariant(QTime(6, 30)));
}

TEST(TableModel, StaysConsistentWhileTheTableChanges)
{
  auto table = MakeSites();
  TTableModel model(*table);
  TWarningsAreFailures strict;
  QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Warning);
  QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
  QSignalSpy removed(&model, &QAbstractItemModel::rowsRemoved);

  for (int id = 1; id <= 6; ++id)
    AddRow(*table, {{"ID", id}, {"IDSite", id % 3}, {"Site", QString("S%1").arg(id)}});
  EXPECT_EQ(inserted.count(), 6);  // row by row, not as resets
  ExpectMirrors(model, *table);

  table->SetIndexFieldNames("IDSite;ID");
  ExpectMirrors(model, *table);
  AddRow(*table, {{"ID", 7}, {"IDSite", 0}});  // lands in the middle
  EXPECT_EQ(inserted.count(), 7);
  ExpectMirrors(model, *table);
  table->SetRecNo(2);
  table->Insert();
  table->FieldByName("ID").SetAsInteger(8);
  table->Post();
  ExpectMirrors(model, *table);

  table->Locate("ID", 4);
  table->Edit();
  table->FieldByName("Site").SetAsString("Edited");
  ExpectMirrors(model, *table);  // the row being edited shows its new text
  table->Post();
  table->Edit();
  table->FieldByName("IDSite").SetAsInteger(9);  // moves to the end
  table->Post();
  ExpectMirrors(model, *table);

  table->First();
  table->Delete();
  table->Last();
  table->Delete();
  table->SetRecNo(3);
  table->Delete();
  EXPECT_EQ(removed.count(), 3);
  ExpectMirrors(model, *table);

  table->SetFilter("IDSite=1");
  table->SetFiltered(true);
  ExpectMirrors(model, *table);
  table->SetFilter("IDSite=2");
  ExpectMirrors(model, *table);
  table->SetFiltered(false);
  ExpectMirrors(model, *table);

  table->DisableControls();
  for (int id = 20; id < 30; ++id)
    AddRow(*table, {{"ID", id}, {"IDSite", 5}});
  table->First();
  table->Delete();
  EXPECT_NE(model.rowCount(), table->RecordCount());  // held back
  table->EnableControls();
  ExpectMirrors(model, *table);

  table->FieldByName("Site").SetVisible(false);
  ExpectMirrors(model, *table);
  table->EmptyDataSet();
  ExpectMirrors(model, *table);
  table->Close();
  EXPECT_EQ(model.rowCount(), 0);
  table->CreateDataSet();
  AddRow(*table, {{"ID", 1}});
  ExpectMirrors(model, *table);
}

TEST(TableModel, DetailModelFollowsTheMaster)
{
  auto sites = MakeSites({{{"ID", 1}}, {{"ID", 2}}, {{"ID", 3}}});
  TClientDataSet prod;
  prod.AddFieldDef("ID_Producteur", TFieldType::ftWord);
  prod.AddFieldDef("Total", TFieldType::ftInteger);
  prod.CreateDataSet();
  for (int producer : {1, 1, 2, 3, 3, 3})
    AddRow(prod, {{"ID_Producteur", producer}, {"Total", producer * 100}});
  prod.SetMasterSource(sites.get(), "ID", "ID_Producteur");
  TTableModel model(prod);
  TWarningsAreFailures strict;
  QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Warning);

  for (int id : {1, 3, 2})
    for (int round = 0; round < 2; ++round) {
      sites->Locate("ID", id);
      ExpectMirrors(model, prod);
    }
  sites->Locate("ID", 3);
  EXPECT_EQ(model.rowCount(), 3);
  sites->Delete();
  ExpectMirrors(model, prod);
  sites->Close();
  ExpectMirrors(model, prod);
  EXPECT_EQ(model.rowCount(), 6);  // a closed master links nothing
}
