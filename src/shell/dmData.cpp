#include "shell/dmData.h"

#include "platform/DelphiFormat.h"
#include "shell/DataSetGuards.h"
#include "shell/dmDataTables.h"

#include <algorithm>
#include <exception>

namespace {

const QString kID = QStringLiteral("ID");

std::unique_ptr<TMyClientDataSet> NewTable(const QString &name)
{
  auto table = std::make_unique<TMyClientDataSet>();
  table->SetName(name);
  table->SetAutoMergeChange(true);
  return table;
}

}  // namespace

TdtmData::TdtmData()
    : cdsData(NewTable(QStringLiteral("cdsData"))),
      cdsProd(NewTable(QStringLiteral("cdsProd"))),
      cdsModule(NewTable(QStringLiteral("cdsModule"))),
      cdsOnduleur(NewTable(QStringLiteral("cdsOnduleur"))),
      cdsCalSolClim(NewTable(QStringLiteral("cdsCalSolClim"))),
      cdsOnduleurAnalytic(NewTable(QStringLiteral("cdsOnduleurAnalytic"))),
      cdsCloneData(NewTable(QStringLiteral("cdsCloneData")))
{
  DefineModuleFields(*cdsModule);
  cdsModule->SetIndexFieldNames(QStringLiteral("Modèle"));
  DefineOnduleurFields(*cdsOnduleur);
  cdsOnduleur->SetIndexFieldNames(QStringLiteral("Modèle"));
  DefineDataFields(*cdsData, cdsModule.get(), cdsOnduleur.get());
  cdsData->SetIndexFieldNames(QStringLiteral("IDSite;ID"));
  DefineProdFields(*cdsProd);
  cdsProd->AddIndex(QStringLiteral("cdsBDPVDataIndex1"), QStringLiteral("ID_Producteur;ID_Source"));
  cdsProd->SetIndexName(QStringLiteral("cdsBDPVDataIndex1"));
  cdsProd->SetMasterSource(cdsData.get(), kID, QStringLiteral("ID_Producteur"));
  // The climate table takes its layout from its file and is never written.
  cdsCalSolClim->SetAutoInc(false);
  cdsCalSolClim->SetBackup(false);
  cdsCloneData->SetBackup(false);
  cdsOnduleurAnalytic->SetBackup(false);
  DefineAnalyticFields(*cdsOnduleurAnalytic);
  cdsOnduleurAnalytic->CreateDataSet();
  AttachDataHandlers();
}

TdtmData::~TdtmData() = default;

void TdtmData::AttachDataHandlers()
{
  cdsData->BeforeOpen = [this](TClientDataSet &) { cdsDataBeforeOpen(); };
  cdsData->AfterOpen = [this](TClientDataSet &) { cdsDataAfterOpen(); };
  cdsData->AfterInsert = [this](TClientDataSet &) { cdsDataAfterInsert(); };
  cdsData->BeforePost = [this](TClientDataSet &) { cdsDataBeforePost(); };
  cdsData->AfterPost = [this](TClientDataSet &) { cdsDataAfterPost(); };
  cdsData->AfterScroll = [this](TClientDataSet &) { cdsDataAfterScroll(); };
}

void TdtmData::UpdateData(bool aScroll)
{
  if (OnUpdateData)
    OnUpdateData(aScroll);
}

void TdtmData::Open()
{
  const QString folder = FApplicationPath + QStringLiteral("Data/");
  cdsData->SetFileName(folder + QStringLiteral("Data.cds"));
  cdsProd->SetFileName(folder + QStringLiteral("Production.cds"));
  cdsModule->SetFileName(folder + QStringLiteral("Module.cds"));
  cdsOnduleur->SetFileName(folder + QStringLiteral("Onduleur.cds"));
  cdsCalSolClim->SetFileName(folder + QStringLiteral("CalSolClim.cds"));
  {
    // The start-up window lives only while the tables open, also when one fails.
    std::unique_ptr<IOpenBaseProgress> progress = OnCreateOpenBase ? OnCreateOpenBase() : nullptr;
    if (progress) {
      progress->SetLogo(QStringLiteral("Logo"));
      progress->SetStep(5);
      progress->SetTiming(200);
      progress->Show();
    }
    // Catalogues first: the installations' lookups and site models read them; the
    // productions last, as the detail of the installations.
    for (TMyClientDataSet *table :
         {cdsCalSolClim.get(), cdsModule.get(), cdsOnduleur.get(), cdsData.get(), cdsProd.get()}) {
      table->Open();
      if (progress)
        progress->Progress();
    }
    cdsData->AddIndexOnField(QStringList{kID});
    cdsOnduleur->AddIndexOnField(QStringList{kID});
  }
  if (!cdsCloneData->Active()) {
    if (cdsCloneData->FieldCount() == 0)
      DefineDataFields(*cdsCloneData, cdsModule.get(), cdsOnduleur.get());
    cdsCloneData->CreateDataSet();
  }
}

void TdtmData::Close()
{
  // A table that cannot be saved must not keep the others from saving their rows: the
  // tables are not saved again when the module goes. The first failure is reported.
  std::exception_ptr failure;
  for (TMyClientDataSet *table :
       {cdsData.get(), cdsProd.get(), cdsModule.get(), cdsOnduleur.get(), cdsCalSolClim.get()}) {
    try {
      table->Close();
    } catch (...) {
      if (!failure)
        failure = std::current_exception();
    }
  }
  if (failure)
    std::rethrow_exception(failure);
}

void TdtmData::Save()
{
  for (TMyClientDataSet *table : {cdsData.get(), cdsProd.get(), cdsModule.get(), cdsOnduleur.get()})
    table->SaveToFile(QString(), TDataPacketFormat::dfBinary, true);
}

void TdtmData::cdsDataBeforeOpen()
{
  const QString stored = OnVersion ? OnVersion() : QString();
  if (ProgramFileVersion() != stored)
    RebuildDataFile();
}

void TdtmData::RebuildDataFile()
{
  TMyClientDataSet old;
  // Empties and forgets the clone on every way out.
  struct TCloneCleanup {
    TMyClientDataSet &clone;
    ~TCloneCleanup()
    {
      try {
        if (clone.Active())
          clone.EmptyDataSet();
        clone.Close();
        clone.ClearFields();
      } catch (const std::exception &) {
        // The clone holds nothing of value; a failed clean-up must not hide the cause.
      }
    }
  } cleanup{*cdsCloneData};

  old.SetFileName(cdsData->FileName());
  old.LoadFromFile(false);
  if (cdsCloneData->Active())
    cdsCloneData->Close();
  cdsCloneData->ClearFields();
  DefineDataFields(*cdsCloneData, cdsModule.get(), cdsOnduleur.get());
  cdsCloneData->CreateDataSet();
  for (old.First(); !old.Eof(); old.Next()) {
    cdsCloneData->Append();
    // Every field is carried over by name, the ID included: productions and the last
    // installation of the settings refer to installations by ID.
    for (int i = 0; i < old.FieldCount(); ++i) {
      const TField &source = old.Fields(i);
      TField *target = cdsCloneData->FindField(source.FieldName());
      if (source.IsLookup() || target == nullptr || target->IsLookup())
        continue;
      try {
        target->SetAsVariant(source.AsVariant());
      } catch (const EDatabaseError &) {
        // A value the current layout refuses is dropped.
      }
    }
    cdsCloneData->Post();
  }
  // Always written, even without rows, so that the file takes the current layout.
  cdsCloneData->SaveRowsToFile(cdsData->FileName());
}

void TdtmData::cdsDataAfterOpen()
{
  if (cdsData->IsEmpty())
    return;
  const TDetachedEvent detached(cdsData->AfterScroll);
  for (cdsData->First(); !cdsData->Eof(); cdsData->Next())
    if (FListPVSite)
      FListPVSite->LoadSite(cdsData->FieldByName(kID).AsInteger(), *this);
  FProdYearPVGis = cdsData->FieldByName(QStringLiteral("Production")).AsFloat();
}

void TdtmData::cdsDataAfterInsert()
{
  cdsData->FieldByName(QStringLiteral("ID_Module")).SetAsInteger(25);
  cdsData->FieldByName(QStringLiteral("ID_Onduleur")).SetAsInteger(1);
  cdsData->FieldByName(QStringLiteral("Nb_Module")).SetAsInteger(1);
  cdsData->FieldByName(QStringLiteral("Nb_Onduleur")).SetAsInteger(1);
  cdsData->FieldByName(QStringLiteral("Orientation")).SetAsInteger(0);
  cdsData->FieldByName(QStringLiteral("Inclinaison")).SetAsInteger(20);
  cdsData->FieldByName(QStringLiteral("Prix_kWh")).SetAsFloat(0.144);
}

void TdtmData::cdsDataBeforePost()
{
  TField &puissance = cdsData->FieldByName(QStringLiteral("Puissance"));
  const QVariant modulePower =
      cdsModule->Active() ? cdsModule->Lookup(kID, cdsData->FieldByName(QStringLiteral("ID_Module")).AsVariant(),
                                              QStringLiteral("Puissance"))
                          : QVariant();
  if (modulePower.isNull())
    puissance.Clear();
  else
    // Rounded by the field, which refuses a power beyond its range.
    puissance.SetAsFloat(modulePower.toDouble() * cdsData->FieldByName(QStringLiteral("Nb_Module")).AsInteger());
}

void TdtmData::cdsDataAfterPost()
{
  if (FListPVSite)
    FListPVSite->LoadSite(cdsData->FieldByName(kID).AsInteger(), *this);
  UpdateData(false);
}

void TdtmData::cdsDataAfterScroll()
{
  if (cdsData->State() != TDataSetState::dsBrowse)
    return;
  const TField &production = cdsData->FieldByName(QStringLiteral("Production"));
  FProdYearPVGis = SumOverSite([&production] { return production.AsFloat(); });
  UpdateData(true);
}

double TdtmData::SumOverSite(const std::function<double()> &aValue)
{
  if (!cdsData->Filtered())
    return aValue();
  const int id = cdsData->FieldByName(kID).AsInteger();
  double sum = 0.0;
  {
    const TControlsGuard controls(*cdsData);
    const TDetachedEvent detached(cdsData->AfterScroll);
    struct TLocateBack {
      TClientDataSet &table;
      int id;
      ~TLocateBack()
      {
        try {
          table.Locate(kID, id);
        } catch (const std::exception &) {
          // Nothing better to do than to stay where the walk ended.
        }
      }
    } back{*cdsData, id};
    for (cdsData->First(); !cdsData->Eof(); cdsData->Next())
      sum += aValue();
  }
  return sum;
}

int TdtmData::GetLastIDSite()
{
  // Over all installations, filtered or not, so that a new site number never takes the
  // number of an existing site.
  const TControlsGuard controls(*cdsData);
  const TDetachedEvent detached(cdsData->AfterScroll);
  const bool filtered = cdsData->Filtered();
  const int id = cdsData->IsEmpty() ? -1 : cdsData->FieldByName(kID).AsInteger();
  if (filtered)
    cdsData->SetFiltered(false);
  const int siteField = cdsData->FieldIndex(QStringLiteral("IDSite"));
  int lastSite = cdsData->IsEmpty() ? 0 : cdsData->ValueAt(0, siteField).toInt();
  for (int row = 1; row < cdsData->RecordCount(); ++row)
    lastSite = std::max(lastSite, cdsData->ValueAt(row, siteField).toInt());
  if (filtered)
    cdsData->SetFiltered(true);
  if (id != -1)
    cdsData->Locate(kID, id);
  return lastSite;
}

void TdtmData::SetFilter(bool aFilter)
{
  if (cdsData->IsEmpty())
    return;
  const int id = cdsData->FieldByName(kID).AsInteger();
  const TControlsGuard controls(*cdsData);
  if (aFilter)
    cdsData->SetFilter(FormatArgs(QStringLiteral("IDSite=%d"), cdsData->FieldByName(QStringLiteral("IDSite")).AsInteger()));
  cdsData->SetFiltered(aFilter);
  cdsData->Locate(kID, id);
}
