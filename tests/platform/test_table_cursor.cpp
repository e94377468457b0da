// The table's cursor, editing, typed fields, events, bookmarks, view notifications and
// change flag.
#include "TableBuilders.h"

#include "support/QtPrinters.h"
#include "support/TempDir.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

#include <functional>

namespace {
std::unique_ptr<TClientDataSet> ThreeSites()
{
  return MakeSites({{{"ID", 1}, {"IDSite", 1}, {"Site", "Alpha"}},
                    {{"ID", 2}, {"IDSite", 1}, {"Site", "Beta"}},
                    {{"ID", 3}, {"IDSite", 2}, {"Site", "Gamma"}}});
}
}  // namespace

TEST(TableCursor, MovesOverTheRowsAndFlagsBothEnds)
{
  auto table = ThreeSites();
  table->First();
  EXPECT_TRUE(table->Bof());
  EXPECT_FALSE(table->Eof());
  EXPECT_EQ(table->RecNo(), 1);
  table->Prior();
  EXPECT_EQ(table->RecNo(), 1);
  table->Next();
  table->Next();
  EXPECT_EQ(table->FieldByName("Site").AsString(), "Gamma");
  EXPECT_FALSE(table->Eof());
  table->Next();  // past the last row: the cursor stays, Eof turns true
  EXPECT_TRUE(table->Eof());
  EXPECT_EQ(table->RecNo(), 3);
  table->Last();
  EXPECT_TRUE(table->Eof());
  EXPECT_EQ(table->FieldByName("ID").AsInteger(), 3);
  table->SetRecNo(2);
  EXPECT_EQ(table->FieldByName("Site").AsString(), "Beta");
  EXPECT_FALSE(table->Eof());
  EXPECT_FALSE(table->Bof());
  EXPECT_EQ(table->RecordCount(), 3);
  EXPECT_EQ(ShownIds(*table), (std::vector<int>{1, 2, 3}));

  TClientDataSet closed;
  EXPECT_THROW(closed.First(), EDatabaseError);
  EXPECT_FALSE(closed.Active());
}

TEST(TableCursor, EditPostCancelInsertAndDelete)
{
  auto table = ThreeSites();
  table->SetRecNo(2);
  table->Edit();
  EXPECT_EQ(table->State(), TDataSetState::dsEdit);
  table->FieldByName("Site").SetAsString("Changed");
  EXPECT_TRUE(table->Modified());
  EXPECT_EQ(table->FieldByName("Site").AsString(), "Changed");
  table->Cancel();
  EXPECT_EQ(table->State(), TDataSetState::dsBrowse);
  EXPECT_EQ(table->FieldByName("Site").AsString(), "Beta");

  table->Edit();
  table->FieldByName("Site").SetAsString("Posted");
  table->Post();
  EXPECT_EQ(table->FieldByName("Site").AsString(), "Posted");
  EXPECT_EQ(table->RecNo(), 2);

  // Insert goes before the current row; Append at the end.
  table->Insert();
  EXPECT_EQ(table->State(), TDataSetState::dsInsert);
  table->FieldByName("ID").SetAsInteger(10);
  table->Post();
  EXPECT_EQ(table->RecNo(), 2);
  table->Append();
  table->FieldByName("ID").SetAsInteger(11);
  table->Post();
  EXPECT_EQ(table->RecNo(), 5);
  EXPECT_EQ(ShownIds(*table), (std::vector<int>{1, 10, 2, 3, 11}));

  // A cancelled insert leaves no row.
  table->Append();
  table->FieldByName("ID").SetAsInteger(12);
  table->Cancel();
  EXPECT_EQ(table->RecordCount(), 5);

  // Deleting moves to the following row, or to the new last one.
  table->SetRecNo(2);
  table->Delete();
  EXPECT_EQ(table->FieldByName("ID").AsInteger(), 2);
  table->Last();
  table->Delete();
  EXPECT_EQ(table->FieldByName("ID").AsInteger(), 3);
  EXPECT_EQ(ShownIds(*table), (std::vector<int>{1, 2, 3}));

  table->EmptyDataSet();
  EXPECT_TRUE(table->IsEmpty());
  EXPECT_TRUE(table->Eof() && table->Bof());
  EXPECT_THROW(table->Delete(), EDatabaseError);
  // Editing an empty table starts a new row.
  table->Edit();
  EXPECT_EQ(table->State(), TDataSetState::dsInsert);
}

TEST(TableCursor, MovingAwayPostsAModifiedRowAndDropsAnUntouchedOne)
{
  auto table = ThreeSites();
  table->First();
  table->Edit();
  table->FieldByName("Site").SetAsString("Kept");
  table->Next();
  EXPECT_EQ(table->State(), TDataSetState::dsBrowse);
  table->First();
  EXPECT_EQ(table->FieldByName("Site").AsString(), "Kept");

  table->Append();
  table->Last();
  EXPECT_EQ(table->RecordCount(), 3);
}

TEST(TableFields, ReadNullsAsZeroAndRefuseWhatDoesNotFit)
{
  TClientDataSet table;
  table.SetName("Types");
  table.AddFieldDef("Entier", TFieldType::ftInteger);
  table.AddFieldDef("Mot", TFieldType::ftWord);
  table.AddFieldDef("Réel", TFieldType::ftFloat);
  table.AddFieldDef("Texte", TFieldType::ftString, 5);
  table.AddFieldDef("Booléen", TFieldType::ftBoolean);
  table.AddFieldDef("Date", TFieldType::ftDateTime);
  table.CreateDataSet();
  table.Append();

  TField &entier = table.FieldByName("entier");  // names match whatever the case
  EXPECT_TRUE(entier.IsNull());
  EXPECT_EQ(entier.AsInteger(), 0);
  EXPECT_EQ(table.FieldByName("Réel").AsFloat(), 0.0);
  EXPECT_EQ(table.FieldByName("Texte").AsString(), "");
  EXPECT_FALSE(table.FieldByName("Booléen").AsBoolean());

  struct Refused {
    const char *field;
    QVariant value;
  } refused[] = {{"Entier", "abc"},     {"Entier", "1.5x"},  {"Mot", 70000},
                 {"Mot", -1},           {"Réel", "douze"},   {"Booléen", "peut-être"},
                 {"Date", "pas une date"}};
  for (const Refused &r : refused) {
    EXPECT_THROW(table.FieldByName(r.field).SetAsVariant(r.value), EDatabaseError)
        << r.field << " " << r.value.toString().toStdString();
    EXPECT_TRUE(table.FieldByName(r.field).IsNull()) << r.field;
  }

  entier.SetAsVariant("  42 ");
  EXPECT_EQ(entier.AsInteger(), 42);
  entier.SetAsFloat(2.5);  // rounds half to even, like the platform's variants
  EXPECT_EQ(entier.AsInteger(), 2);
  table.FieldByName("Mot").SetAsInteger(65535);
  EXPECT_EQ(table.FieldByName("Mot").AsInteger(), 65535);
  table.FieldByName("Réel").SetAsString("1,5");
  EXPECT_DOUBLE_EQ(table.FieldByName("Réel").AsFloat(), 1.5);
  table.FieldByName("Réel").SetAsString("2.25");
  EXPECT_DOUBLE_EQ(table.FieldByName("Réel").AsFloat(), 2.25);
  table.FieldByName("Texte").SetAsString("Modèles");
  EXPECT_EQ(table.FieldByName("Texte").AsString(), "Modèl");
  table.FieldByName("Booléen").SetAsVariant("Vrai");
  EXPECT_TRUE(table.FieldByName("Booléen").AsBoolean());
  table.FieldByName("Date").SetAsDateTime(EncodeDateTime(2024, 6, 21, 12, 30, 0));
  EXPECT_DOUBLE_EQ(table.FieldByName("Date").AsDateTime(), EncodeDateTime(2024, 6, 21, 12, 30, 0));
  entier.Clear();
  EXPECT_TRUE(entier.IsNull());
  table.Post();
  EXPECT_EQ(table.FieldByName("Texte").AsString(), "Modèl");

  // Writing outside edit or insert, a missing field, a read-only field.
  EXPECT_THROW(entier.SetAsInteger(1), EDatabaseError);
  try {
    table.FieldByName("Absent");
    FAIL() << "no error for a missing field";
  } catch (const EDatabaseError &error) {
    EXPECT_TRUE(error.Message().contains("Absent")) << error.Message().toStdString();
    EXPECT_TRUE(error.Message().contains("Types")) << error.Message().toStdString();
  }
  EXPECT_EQ(table.FindField("Absent"), nullptr);
  table.Edit();
  entier.SetReadOnly(true);
  EXPECT_THROW(entier.SetAsInteger(1), EDatabaseError);
}

TEST(TableFields, AutoIncrementFieldsAreReadOnlyUntilOpened)
{
  TClientDataSet table;
  table.AddFieldDef("ID", TFieldType::ftAutoInc);
  table.CreateDataSet();
  table.Append();
  EXPECT_THROW(table.FieldByName("ID").SetAsInteger(5), EDatabaseError);
  table.FieldByName("ID").SetReadOnly(false);
  table.FieldByName("ID").SetAsInteger(5);
  table.Post();
  EXPECT_EQ(table.FieldByName("ID").AsInteger(), 5);
}

TEST(TableEvents, FireInOrderAndMayBeDetachedAndReattached)
{
  auto table = ThreeSites();
  std::vector<std::string> log;
  const auto record = [&log](const char *name) {
    return [&log, name](TClientDataSet &) { log.emplace_back(name); };
  };
  table->BeforeInsert = record("BeforeInsert");
  table->AfterInsert = record("AfterInsert");
  table->BeforePost = record("BeforePost");
  table->AfterPost = record("AfterPost");
  table->BeforeCancel = record("BeforeCancel");
  table->AfterCancel = record("AfterCancel");
  table->BeforeDelete = record("BeforeDelete");
  table->AfterDelete = record("AfterDelete");
  table->AfterScroll = record("AfterScroll");
  table->BeforeClose = record("BeforeClose");
  table->AfterClose = record("AfterClose");

  table->Append();
  table->FieldByName("ID").SetAsInteger(4);
  table->Post();
  EXPECT_EQ(log, (std::vector<std::string>{"BeforeInsert", "AfterInsert", "AfterScroll",
                                           "BeforePost", "AfterPost"}));
  log.clear();
  table->Append();
  table->Cancel();
  EXPECT_EQ(log, (std::vector<std::string>{"BeforeInsert", "AfterInsert", "AfterScroll",
                                           "BeforeCancel", "AfterCancel", "AfterScroll"}));
  log.clear();
  table->First();
  table->Next();
  table->Delete();
  EXPECT_EQ(log, (std::vector<std::string>{"AfterScroll", "AfterScroll", "BeforeDelete",
                                           "AfterDelete", "AfterScroll"}));

  // A handler that detaches itself while it walks the rows, then re-attaches itself.
  log.clear();
  int walks = 0;
  table->AfterScroll = [&](TClientDataSet &t) {
    ++walks;
    const auto self = t.AfterScroll;
    t.AfterScroll = {};
    for (t.First(); !t.Eof(); t.Next()) {
    }
    t.AfterScroll = self;
  };
  table->First();
  EXPECT_EQ(walks, 1);
  table->Last();
  EXPECT_EQ(walks, 2);

  table->AfterScroll = {};
  table->Close();
  EXPECT_EQ(log, (std::vector<std::string>{"BeforeClose", "AfterClose"}));
  EXPECT_FALSE(table->Active());
}

TEST(TableEvents, AfterOpenSeesTheRowsAndAfterScrollFollowsWhenThereAreAny)
{
  TClientDataSet table;
  table.AddFieldDef("ID", TFieldType::ftInteger);
  int rowsSeen = -1;
  int scrolls = 0;
  table.AfterOpen = [&](TClientDataSet &t) { rowsSeen = t.RecordCount(); };
  table.AfterScroll = [&](TClientDataSet &) { ++scrolls; };
  table.CreateDataSet();
  EXPECT_EQ(rowsSeen, 0);
  EXPECT_EQ(scrolls, 0);

  AddRow(table, {{"ID", 1}});
  AddRow(table, {{"ID", 2}});
  TempDir dir;
  table.SaveRowsToFile(dir.file("t.cds"));
  table.Close();
  table.SetFileName(dir.file("t.cds"));
  std::vector<std::string> order;
  table.AfterOpen = [&](TClientDataSet &t) {
    order.emplace_back("AfterOpen");
    rowsSeen = t.RecordCount();
  };
  table.AfterScroll = [&](TClientDataSet &t) {
    order.emplace_back("AfterScroll");
    EXPECT_EQ(t.RecNo(), 1);
  };
  table.Open();
  EXPECT_EQ(rowsSeen, 2);
  EXPECT_EQ(order, (std::vector<std::string>{"AfterOpen", "AfterScroll"}));
}

TEST(TableBookmarks, SurviveReorderingAndFilteringAndExpireWithTheirRow)
{
  auto table = MakeSites({{{"ID", 1}, {"IDSite", 3}},
                          {{"ID", 2}, {"IDSite", 1}},
                          {{"ID", 3}, {"IDSite", 2}}});
  table->SetRecNo(1);
  TBookmark bookmark = table->GetBookmark();
  EXPECT_FALSE(bookmark.IsNull());

  table->SetIndexFieldNames("IDSite");
  table->First();
  EXPECT_EQ(table->FieldByName("ID").AsInteger(), 2);
  ASSERT_TRUE(table->BookmarkValid(bookmark));
  table->GotoBookmark(bookmark);
  EXPECT_EQ(table->FieldByName("ID").AsInteger(), 1);
  EXPECT_EQ(table->RecNo(), 3);

  table->SetFilter("IDSite=1");
  table->SetFiltered(true);
  EXPECT_FALSE(table->BookmarkValid(bookmark));
  EXPECT_THROW(table->GotoBookmark(bookmark), EDatabaseError);
  table->SetFiltered(false);
  table->GotoBookmark(bookmark);
  table->Delete();
  EXPECT_FALSE(table->BookmarkValid(bookmark));
  table->FreeBookmark(bookmark);
  EXPECT_TRUE(bookmark.IsNull());
}

TEST(TableNotifications, AreHeldBackUntilTheLastEnableAndThenResetOnce)
{
  auto table = ThreeSites();
  QSignalSpy resets(table.get(), &TClientDataSet::reset);
  QSignalSpy inserted(table.get(), &TClientDataSet::rowInserted);
  QSignalSpy changed(table.get(), &TClientDataSet::rowChanged);
  QSignalSpy moved(table.get(), &TClientDataSet::currentChanged);

  table->DisableControls();
  table->DisableControls();
  EXPECT_TRUE(table->ControlsDisabled());
  AddRow(*table, {{"ID", 4}});
  table->First();
  table->Edit();
  table->FieldByName("Site").SetAsString("x");
  table->Post();
  table->SetIndexFieldNames("Site");
  table->EnableControls();
  EXPECT_TRUE(table->ControlsDisabled());
  EXPECT_EQ(resets.count() + inserted.count() + changed.count() + moved.count(), 0);
  table->EnableControls();
  EXPECT_FALSE(table->ControlsDisabled());
  EXPECT_EQ(resets.count(), 1);
  EXPECT_EQ(inserted.count() + changed.count(), 0);
  ASSERT_GE(moved.count(), 1);
  EXPECT_EQ(moved.last().at(0).toInt(), table->RecNo() - 1);

  // A spare EnableControls does not go below zero.
  table->EnableControls();
  table->DisableControls();
  EXPECT_TRUE(table->ControlsDisabled());
  table->EnableControls();
  EXPECT_EQ(resets.count(), 1);  // nothing happened meanwhile

  AddRow(*table, {{"ID", 5}});
  EXPECT_EQ(inserted.count(), 1);
}

TEST(TableChangeFlag, TracksChangesSinceLoadOrSave)
{
  TempDir dir;
  const QString file = dir.file("Sites.cds");
  auto table = MakeSites();
  EXPECT_FALSE(table->DataChanged());
  AddRow(*table, {{"ID", 1}, {"Site", "Alpha"}});
  EXPECT_TRUE(table->DataChanged());
  table->SaveRowsToFile(file);
  EXPECT_FALSE(table->DataChanged());

  table->Edit();
  table->FieldByName("Site").SetAsString("Beta");
  table->Cancel();
  table->Append();
  table->Cancel();
  table->First();
  EXPECT_FALSE(table->DataChanged());

  const auto changes = [&](const std::function<void()> &change) {
    table->SaveRowsToFile(file);
    change();
    return table->DataChanged();
  };
  EXPECT_TRUE(changes([&] {
    table->Edit();
    table->FieldByName("Site").SetAsString("Gamma");
    table->Post();
  }));
  EXPECT_TRUE(changes([&] { AddRow(*table, {{"ID", 2}}); }));
  EXPECT_TRUE(changes([&] { table->Delete(); }));
  EXPECT_TRUE(changes([&] { table->EmptyDataSet(); }));

  table->LoadRowsFromFile(file);
  EXPECT_FALSE(table->DataChanged());
  EXPECT_EQ(table->RecordCount(), 1);
  EXPECT_THROW(table->SaveRowsToFile(dir.file("missing/folder/Sites.cds")), EDatabaseError);
}
