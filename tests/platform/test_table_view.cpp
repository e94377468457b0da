// The rows a table shows and finds: orderings, named indexes, filters, searches,
// lookup fields and the master link.
#include "TableBuilders.h"

#include "support/QtPrinters.h"

#include <gtest/gtest.h>

namespace {
// Installations appended out of order: (ID, IDSite).
std::unique_ptr<TClientDataSet> ScrambledSites()
{
  return MakeSites({{{"ID", 4}, {"IDSite", 2}, {"Site", "delta"}},
                    {{"ID", 1}, {"IDSite", 1}, {"Site", "alpha"}},
                    {{"ID", 5}, {"IDSite", 1}, {"Site", "Echo"}},
                    {{"ID", 2}, {"IDSite", 2}, {"Site", "Bravo"}},
                    {{"ID", 3}, {"IDSite", 0}, {"Site", "charlie"}}});
}

// The module catalogue and installations whose Module is looked up in it.
struct TCatalogueAndSites {
  TClientDataSet modules;
  TClientDataSet sites;
  TCatalogueAndSites()
  {
    modules.SetName("Module");
    modules.AddFieldDef("ID", TFieldType::ftInteger);
    modules.AddFieldDef("Modèle", TFieldType::ftString, 40);
    modules.AddFieldDef("Puissance", TFieldType::ftFloat);
    modules.CreateDataSet();
    for (int id = 1; id <= 500; ++id)
      AddRow(modules, {{"ID", id}, {"Modèle", QString("M-%1").arg(id)}, {"Puissance", 100 + id}});
    sites.SetName("Data");
    sites.AddFieldDef("ID", TFieldType::ftInteger);
    sites.AddFieldDef("ID_Module", TFieldType::ftInteger);
    sites.AddLookupField("Module", TFieldType::ftString, 40, "ID_Module", &modules, "ID", "Modèle");
    sites.CreateDataSet();
  }
};
}  // namespace

TEST(TableOrder, FollowsTheIndexFieldNamesAndKeepsTheCurrentRow)
{
  auto table = ScrambledSites();
  EXPECT_EQ(ShownIds(*table), (std::vector<int>{4, 1, 5, 2, 3}));
  table->Locate("ID", 5);
  table->SetIndexFieldNames("IDSite;ID");
  EXPECT_EQ(table->FieldByName("ID").AsInteger(), 5);
  EXPECT_EQ(table->RecNo(), 3);
  EXPECT_EQ(ShownIds(*table), (std::vector<int>{3, 1, 5, 2, 4}));

  // New and edited rows take their place in the ordering.
  AddRow(*table, {{"ID", 0}, {"IDSite", 1}});
  EXPECT_EQ(table->RecNo(), 2);
  table->Locate("ID", 3);
  table->Edit();
  table->FieldByName("IDSite").SetAsInteger(9);
  table->Post();
  EXPECT_EQ(table->RecNo(), 6);
  EXPECT_EQ(ShownIds(*table), (std::vector<int>{0, 1, 5, 2, 4, 3}));

  // Names are checked; case-sensitive text comes capitals first.
  EXPECT_THROW(table->SetIndexFieldNames("IDSite;Absent"), EDatabaseError);
  table->SetIndexFieldNames("Site");
  EXPECT_EQ(ShownIds(*table), (std::vector<int>{0, 2, 5, 1, 3, 4}));  // null first
  table->SetIndexFieldNames("");
  EXPECT_EQ(ShownIds(*table), (std::vector<int>{4, 1, 5, 2, 3, 0}));
}

TEST(TableOrder, NamedIndexesIgnoreCaseWhenAskedAndBuiltInsStay)
{
  auto table = ScrambledSites();
  table->AddIndex("IXSite", "Site", true);
  table->AddIndex("IXSiteCase", "Site", false);
  EXPECT_EQ(table->IndexNames(),
            (QStringList{"DEFAULT_ORDER", "CHANGEINDEX", "IXSite", "IXSiteCase"}));
  EXPECT_THROW(table->AddIndex("ixsite", "ID"), EDatabaseError);
  EXPECT_THROW(table->AddIndex("IXAbsent", "Absent"), EDatabaseError);

  table->SetIndexName("IXSite");
  EXPECT_EQ(table->IndexName(), "IXSite");
  EXPECT_EQ(ShownIds(*table), (std::vector<int>{1, 2, 3, 4, 5}));
  table->SetIndexName("IXSiteCase");
  EXPECT_EQ(ShownIds(*table), (std::vector<int>{2, 5, 1, 3, 4}));
  EXPECT_THROW(table->SetIndexName("IXAbsent"), EDatabaseError);

  for (const QString builtIn : {"DEFAULT_ORDER", "CHANGEINDEX"})
    EXPECT_THROW(table->DeleteIndex(builtIn), EDatabaseError) << builtIn.toStdString();
  EXPECT_THROW(table->DeleteIndex("IXAbsent"), EDatabaseError);
  // Deleting the index in use falls back to the storage order.
  table->DeleteIndex("IXSiteCase");
  EXPECT_EQ(table->IndexName(), "");
  EXPECT_EQ(ShownIds(*table), (std::vector<int>{4, 1, 5, 2, 3}));
  table->SetIndexName("DEFAULT_ORDER");
  EXPECT_EQ(ShownIds(*table), (std::vector<int>{4, 1, 5, 2, 3}));
  // Setting field names drops the named index and the other way round.
  table->SetIndexName("IXSite");
  table->SetIndexFieldNames("ID");
  EXPECT_EQ(table->IndexName(), "");
  table->SetIndexName("IXSite");
  EXPECT_EQ(table->IndexFieldNames(), "");
}

TEST(TableFilter, ShowsOnlyMatchingRowsOfTheFormsTheProgramUses)
{
  auto table = ScrambledSites();
  table->SetIndexFieldNames("IDSite;ID");
  table->SetFilter("IDSite=2");
  EXPECT_EQ(table->RecordCount(), 5);  // not applied until switched on
  table->SetFiltered(true);
  EXPECT_EQ(table->RecordCount(), 2);
  EXPECT_EQ(ShownIds(*table), (std::vector<int>{2, 4}));

  table->SetFilter("ID=5 AND IDSite=1");
  EXPECT_EQ(ShownIds(*table), (std::vector<int>{5}));
  table->SetFilter("ID = 5 and IDSite = 2");
  EXPECT_TRUE(table->IsEmpty());
  EXPECT_TRUE(table->Eof());
  table->SetFilter("[IDSite]=1");
  EXPECT_EQ(ShownIds(*table), (std::vector<int>{1, 5}));

  // A row edited out of the filter leaves the rows shown.
  table->First();
  table->Edit();
  table->FieldByName("IDSite").SetAsInteger(7);
  table->Post();
  EXPECT_EQ(ShownIds(*table), (std::vector<int>{5}));

  for (const char *bad : {"IDSite", "IDSite=", "IDSite=abc", "IDSite=1 or ID=2", "IDSite>1",
                          "IDSite=1 and", "Absent=1"})
    EXPECT_THROW(table->SetFilter(bad), EDatabaseError) << bad;
  EXPECT_EQ(table->Filter(), "[IDSite]=1");  // a refused expression changes nothing
  EXPECT_EQ(ShownIds(*table), (std::vector<int>{5}));

  table->SetFiltered(false);
  EXPECT_EQ(table->RecordCount(), 5);
  EXPECT_EQ(table->Filter(), "[IDSite]=1");
  table->SetFilter("Absent=1");  // not applied: accepted for now, refused when switched on
  EXPECT_THROW(table->SetFiltered(true), EDatabaseError);
  EXPECT_FALSE(table->Filtered());
}

TEST(TableSearch, LocateMovesToTheFirstMatchAndLookupLeavesTheCursor)
{
  auto table = ScrambledSites();
  table->SetRecNo(2);
  EXPECT_TRUE(table->Locate("IDSite", 2));
  EXPECT_EQ(table->FieldByName("ID").AsInteger(), 4);
  EXPECT_TRUE(table->Locate("IDSite;ID", QVariantList{2, 2}));
  EXPECT_EQ(table->FieldByName("ID").AsInteger(), 2);
  EXPECT_FALSE(table->Locate("IDSite;ID", QVariantList{2, 5}));
  EXPECT_EQ(table->FieldByName("ID").AsInteger(), 2);  // a failed search stays put
  EXPECT_FALSE(table->Locate("Site", "ECHO"));
  EXPECT_TRUE(table->Locate("Site", QVariantList{"ECHO"}, true));
  EXPECT_EQ(table->FieldByName("ID").AsInteger(), 5);
  EXPECT_TRUE(table->Locate("ID", "3"));  // a value of another type is converted
  EXPECT_FALSE(table->Locate("ID", "trois"));
  EXPECT_THROW(table->Locate("Absent", 1), EDatabaseError);

  table->First();
  EXPECT_EQ(table->Lookup("ID", 5, "Site"), QVariant("Echo"));
  EXPECT_EQ(table->Lookup("IDSite;ID", QVariantList{1, 1}, "Site"), QVariant("alpha"));
  EXPECT_TRUE(table->Lookup("ID", 99, "Site").isNull());
  EXPECT_EQ(table->RecNo(), 1);

  // Searches see edits, additions and deletions at once.
  table->Locate("ID", 5);
  table->Edit();
  table->FieldByName("ID").SetAsInteger(50);
  table->Post();
  EXPECT_TRUE(table->Lookup("ID", 5, "Site").isNull());
  EXPECT_EQ(table->Lookup("ID", 50, "Site"), QVariant("Echo"));
  AddRow(*table, {{"ID", 5}, {"Site", "new"}});
  EXPECT_EQ(table->Lookup("ID", 5, "Site"), QVariant("new"));
  table->Delete();
  EXPECT_TRUE(table->Lookup("ID", 5, "Site").isNull());
}

TEST(TableLookupFields, ShowTheOtherTablesValueAndFollowTheKey)
{
  TCatalogueAndSites data;
  AddRow(data.sites, {{"ID", 1}, {"ID_Module", 25}});
  TField &module = data.sites.FieldByName("Module");
  EXPECT_EQ(module.FieldKind(), TFieldKind::fkLookup);
  EXPECT_EQ(module.AsString(), "M-25");
  EXPECT_TRUE(module.ReadOnly());

  data.sites.Edit();
  data.sites.FieldByName("ID_Module").SetAsInteger(499);
  EXPECT_EQ(module.AsString(), "M-499");  // already while editing
  EXPECT_THROW(module.SetAsString("autre"), EDatabaseError);
  data.sites.Post();
  EXPECT_EQ(data.sites.DisplayTextAt(0, module.Index()), "M-499");

  data.sites.Edit();
  data.sites.FieldByName("ID_Module").SetAsInteger(9999);
  data.sites.Post();
  EXPECT_TRUE(module.IsNull());
  data.sites.Edit();
  data.sites.FieldByName("ID_Module").Clear();
  data.sites.Post();
  EXPECT_TRUE(module.IsNull());

  // The catalogue's order and cursor do not matter.
  data.modules.SetIndexFieldNames("Puissance");
  data.modules.Last();
  data.sites.Edit();
  data.sites.FieldByName("ID_Module").SetAsInteger(3);
  data.sites.Post();
  EXPECT_EQ(module.AsString(), "M-3");
  EXPECT_EQ(data.modules.FieldByName("ID").AsInteger(), 500);
  data.modules.Close();
  EXPECT_TRUE(module.IsNull());
}

namespace {
// Production rows as the detail of installations.
struct TMasterDetail {
  std::unique_ptr<TClientDataSet> sites = ScrambledSites();
  TClientDataSet prod;
  TMasterDetail()
  {
    prod.SetName("Production");
    prod.AddFieldDef("ID", TFieldType::ftInteger);
    prod.AddFieldDef("ID_Producteur", TFieldType::ftWord);
    prod.AddFieldDef("ID_Source", TFieldType::ftWord);
    prod.CreateDataSet();
    prod.AddIndex("cdsBDPVDataIndex1", "ID_Producteur;ID_Source");
    prod.SetIndexName("cdsBDPVDataIndex1");
    int id = 0;
    for (int producer : {1, 2, 1, 4, 1})
      AddRow(prod, {{"ID", ++id}, {"ID_Producteur", producer}, {"ID_Source", 10 - id}});
  }
};
}  // namespace

TEST(TableMasterDetail, DetailShowsTheMastersRowsAndFollowsItsScrolling)
{
  TMasterDetail data;
  data.sites->First();  // ID 4
  data.prod.SetMasterSource(data.sites.get(), "ID", "ID_Producteur");
  EXPECT_EQ(ShownIds(data.prod), (std::vector<int>{4}));

  int detailScrolls = 0;
  data.prod.AfterScroll = [&](TClientDataSet &) { ++detailScrolls; };
  data.sites->Next();  // ID 1
  EXPECT_EQ(detailScrolls, 1);
  EXPECT_EQ(data.prod.RecNo(), 1);
  EXPECT_EQ(ShownIds(data.prod), (std::vector<int>{5, 3, 1}));  // ordered by source
  data.prod.AfterScroll = {};

  // A new detail row takes the master's key.
  data.prod.Append();
  EXPECT_EQ(data.prod.FieldByName("ID_Producteur").AsInteger(), 1);
  data.prod.FieldByName("ID").SetAsInteger(6);
  data.prod.FieldByName("ID_Source").SetAsInteger(1);
  data.prod.Post();
  EXPECT_EQ(ShownIds(data.prod), (std::vector<int>{6, 5, 3, 1}));

  data.sites->Locate("ID", 3);
  EXPECT_TRUE(data.prod.IsEmpty());
  // The whole table stays reachable, in storage order, for scans over every row.
  ASSERT_EQ(data.prod.StoredRecordCount(), 6);
  EXPECT_EQ(data.prod.StoredValueAt(5, 0), QVariant(6));
  EXPECT_EQ(data.prod.StoredValueAt(0, 1), QVariant(1));
  EXPECT_TRUE(data.prod.StoredValueAt(6, 0).isNull());
  // A master with a new row shows no detail rows until it has a matching key.
  data.sites->Locate("ID", 2);
  EXPECT_EQ(ShownIds(data.prod), (std::vector<int>{2}));
  data.sites->Append();
  EXPECT_TRUE(data.prod.IsEmpty());
  data.sites->FieldByName("ID").SetAsInteger(4);
  data.sites->Post();
  EXPECT_EQ(ShownIds(data.prod), (std::vector<int>{4}));

  // While the master holds its notifications back, the detail waits for the resume.
  data.sites->DisableControls();
  data.sites->Locate("ID", 1);
  EXPECT_EQ(ShownIds(data.prod), (std::vector<int>{4}));
  data.sites->EnableControls();
  EXPECT_EQ(ShownIds(data.prod), (std::vector<int>{6, 5, 3, 1}));

  data.prod.ClearMasterSource();
  EXPECT_EQ(data.prod.RecordCount(), 6);
  EXPECT_THROW(data.prod.SetMasterSource(&data.prod, "ID", "ID"), EDatabaseError);
  EXPECT_THROW(data.prod.SetMasterSource(data.sites.get(), "ID", "ID_Producteur;ID_Source"),
               EDatabaseError);
}

TEST(TableMasterDetail, SurvivesTheMastersDestruction)
{
  TMasterDetail data;
  data.prod.SetMasterSource(data.sites.get(), "ID", "ID_Producteur");
  data.sites.reset();
  EXPECT_EQ(data.prod.MasterSource(), nullptr);
  EXPECT_EQ(ShownIds(data.prod), (std::vector<int>{5, 3, 1, 2, 4}));
}
