// Field definitions, life cycle, persistence, events and view notifications.
#include "platform/ClientDataSet.h"

#include "platform/TableFile.h"

#include <QFileInfo>

const QString TClientDataSet::DefaultOrderIndex = QStringLiteral("DEFAULT_ORDER");
const QString TClientDataSet::ChangeIndex = QStringLiteral("CHANGEINDEX");

TClientDataSet::TClientDataSet(QObject *parent) : QObject(parent) {}

TClientDataSet::~TClientDataSet()
{
  if (FMaster)
    FMaster->UnregisterDetail(this);
  // Details stay usable, showing all their rows.
  for (const QPointer<TClientDataSet> &detail : FDetails) {
    if (detail) {
      detail->FMaster = nullptr;
      detail->RefreshKeepingCurrent();
    }
  }
}

QString TClientDataSet::Name() const
{
  if (!FName.isEmpty())
    return FName;
  if (!FFileName.isEmpty())
    return QFileInfo(FFileName).fileName();
  return objectName();
}

// --- field definitions ---

TFieldDef &TClientDataSet::AddFieldDef(const QString &name, TFieldType type, int size)
{
  CheckInactive("définir un champ");
  if (name.trimmed().isEmpty() || FieldIndex(name) >= 0)
    throw EDatabaseError(QStringLiteral("Nom de champ vide ou en double « %1 » dans la table « %2 »")
                             .arg(name, Name()));
  TFieldDef def;
  def.Name = name;
  def.DataType = type;
  def.Size = size;
  // The table hands out auto-increment numbers; a derived table may open the field.
  def.ReadOnly = type == TFieldType::ftAutoInc;
  auto field = std::make_unique<TField>(*this, std::move(def));
  field->FIndex = FieldCount();
  FFields.push_back(std::move(field));
  return FFields.back()->Def();
}

TFieldDef &TClientDataSet::AddLookupField(const QString &name, TFieldType type, int size,
                                          const QString &keyFields,
                                          TClientDataSet *lookupDataSet,
                                          const QString &lookupKeyFields,
                                          const QString &lookupResultField)
{
  TFieldDef &def = AddFieldDef(name, type, size);
  def.FieldKind = TFieldKind::fkLookup;
  def.ReadOnly = true;
  def.KeyFields = keyFields;
  def.LookupDataSet = lookupDataSet;
  def.LookupKeyFields = lookupKeyFields;
  def.LookupResultField = lookupResultField;
  return def;
}

void TClientDataSet::ClearFields()
{
  CheckInactive("effacer les champs");
  FFields.clear();
}

TField &TClientDataSet::Fields(int index) const
{
  if (index < 0 || index >= FieldCount())
    throw EDatabaseError(QStringLiteral("Champ numéro %1 hors limites dans la table « %2 »")
                             .arg(index)
                             .arg(Name()));
  return *FFields[index];
}

int TClientDataSet::FieldIndex(const QString &name) const
{
  for (int i = 0; i < FieldCount(); ++i)
    if (FFields[i]->Def().Name.compare(name, Qt::CaseInsensitive) == 0)
      return i;
  return -1;
}

TField *TClientDataSet::FindField(const QString &name) const
{
  const int index = FieldIndex(name);
  return index < 0 ? nullptr : FFields[index].get();
}

TField &TClientDataSet::FieldByName(const QString &name) const
{
  TField *field = FindField(name);
  if (field == nullptr)
    throw EDatabaseError(
        QStringLiteral("Champ « %1 » introuvable dans la table « %2 »").arg(name, Name()));
  return *field;
}

std::vector<int> TClientDataSet::ResolveFields(const QString &names) const
{
  std::vector<int> indexes;
  for (const QString &name : names.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
    const int index = FieldIndex(name.trimmed());
    if (index < 0)
      throw EDatabaseError(QStringLiteral("Champ « %1 » introuvable dans la table « %2 »")
                               .arg(name.trimmed(), Name()));
    indexes.push_back(index);
  }
  return indexes;
}

void TClientDataSet::CheckActive(const char *operation) const
{
  if (!Active())
    throw EDatabaseError(QStringLiteral("Impossible de %1 : la table « %2 » est fermée")
                             .arg(QString::fromUtf8(operation), Name()));
}

void TClientDataSet::CheckInactive(const char *operation) const
{
  if (Active())
    throw EDatabaseError(QStringLiteral("Impossible de %1 : la table « %2 » est ouverte")
                             .arg(QString::fromUtf8(operation), Name()));
}

// --- life cycle ---

void TClientDataSet::Open()
{
  if (Active())
    return;
  DoBeforeOpen();
  if (FFileName.isEmpty())
    throw EDatabaseError(
        QStringLiteral("Aucune donnée à ouvrir : la table « %1 » n'a pas de fichier").arg(Name()));
  TakeContent(ReadTableFile(FFileName));
}

void TClientDataSet::LoadRowsFromFile(const QString &path)
{
  DoBeforeOpen();
  TTableContent content = ReadTableFile(path);
  // The loaded rows replace the current ones: nothing to save or close first.
  if (Active())
    DiscardRows();
  TakeContent(std::move(content));
}

void TClientDataSet::CreateDataSet()
{
  CheckInactive("créer la table");
  if (FFields.empty())
    throw EDatabaseError(QStringLiteral("Aucun champ défini pour la table « %1 »").arg(Name()));
  DoBeforeOpen();
  BeginReset();
  FState = TDataSetState::dsBrowse;
  FRows.clear();
  FDataChanged = false;
  ResolveFilter(false);
  SetView({}, -1);
  FBof = FEof = true;
  EndReset();
  DoAfterOpen();
  NotifyDetails();
}

void TClientDataSet::TakeContent(TTableContent content)
{
  const std::vector<int> columnOf = MergeFieldDefs(std::move(content.Fields));
  // Columns keep their relative order, so as many columns as fields means the same layout.
  const bool sameLayout = static_cast<int>(columnOf.size()) == FieldCount();
  BeginReset();
  FRows = std::move(content.Rows);
  for (auto &record : FRows) {
    record->Id = FNextRecordId++;
    if (!sameLayout) {
      std::vector<QVariant> values(FieldCount());
      for (std::size_t column = 0; column < columnOf.size(); ++column)
        values[columnOf[column]] = std::move(record->Values[column]);
      record->Values = std::move(values);
    }
  }
  FState = TDataSetState::dsBrowse;
  FModified = false;
  FDataChanged = false;
  ResolveFilter(false);
  std::vector<TRecord *> view = BuildView();
  const int cursor = view.empty() ? -1 : 0;
  SetView(std::move(view), cursor);
  FBof = true;
  FEof = FView.empty();
  EndReset();
  DoAfterOpen();
  if (!FView.empty())
    DoAfterScroll();
  NotifyDetails();
}

std::vector<int> TClientDataSet::MergeFieldDefs(std::vector<TFieldDef> fileFields)
{
  // The file decides which data fields exist and their types. Fields defined in code keep
  // their display options, and those the file lacks (lookups, newer fields) stay in place
  // after the field that precedes them; fields that came from an earlier file follow the
  // new one entirely. Kept fields keep their identity, so references to them stay valid.
  std::vector<std::unique_ptr<TField>> previous = std::move(FFields);
  FFields.clear();
  std::vector<int> columnOf;
  std::vector<int> placedAt(previous.size(), -1);
  for (TFieldDef &fileDef : fileFields) {
    std::unique_ptr<TField> field;
    for (std::size_t j = 0; j < previous.size() && !field; ++j) {
      auto &old = previous[j];
      if (old && old->Def().FieldKind == TFieldKind::fkData &&
          old->Def().Name.compare(fileDef.Name, Qt::CaseInsensitive) == 0) {
        field = std::move(old);
        if (field->FDefinedInCode) {
          field->Def().DataType = fileDef.DataType;
          field->Def().Size = fileDef.Size;
        } else {
          field->Def() = std::move(fileDef);
        }
        placedAt[j] = FieldCount();
      }
    }
    if (!field) {
      field = std::make_unique<TField>(*this, std::move(fileDef));
      field->FDefinedInCode = false;
    }
    columnOf.push_back(FieldCount());
    FFields.push_back(std::move(field));
  }
  int anchor = -1;
  for (std::size_t j = 0; j < previous.size(); ++j) {
    if (!previous[j]) {
      anchor = placedAt[j];
      continue;
    }
    if (!previous[j]->FDefinedInCode)
      continue;
    const int at = anchor + 1;
    for (int &column : columnOf)
      if (column >= at)
        ++column;
    for (int &position : placedAt)
      if (position >= at)
        ++position;
    FFields.insert(FFields.begin() + at, std::move(previous[j]));
    anchor = at;
  }
  for (int i = 0; i < FieldCount(); ++i)
    FFields[i]->FIndex = i;
  return columnOf;
}

void TClientDataSet::DiscardRows()
{
  BeginReset();
  FState = TDataSetState::dsInactive;
  FRows.clear();
  SetView({}, -1);
  FBof = FEof = true;
  FModified = false;
  FDataChanged = false;
  FBuffer = {};
  EndReset();
}

void TClientDataSet::Close()
{
  if (!Active())
    return;
  DoBeforeClose();
  DiscardRows();
  DoAfterClose();
  NotifyDetails();
}

void TClientDataSet::EmptyDataSet()
{
  CheckActive("vider la table");
  if (FState != TDataSetState::dsBrowse)
    Cancel();
  if (FRows.empty())
    return;
  BeginReset();
  FRows.clear();
  SetView({}, -1);
  FBof = FEof = true;
  FDataChanged = true;
  EndReset();
  NotifyDetails();
}

void TClientDataSet::SaveRowsToFile(const QString &path)
{
  CheckActive("enregistrer la table");
  CheckBrowse();
  std::vector<TTableColumn> columns;
  for (const auto &field : FFields)
    if (!field->IsLookup())
      columns.push_back({&field->Def(), field->Index()});
  WriteTableFile(path, columns, FRows);
  FDataChanged = false;
}

// --- events ---

namespace {
void Fire(const TClientDataSet::TDataSetNotifyEvent &event, TClientDataSet &dataSet)
{
  // A copy, so that a handler may detach or replace itself while it runs.
  const TClientDataSet::TDataSetNotifyEvent handler = event;
  if (handler)
    handler(dataSet);
}
}  // namespace

void TClientDataSet::DoBeforeOpen() { Fire(BeforeOpen, *this); }
void TClientDataSet::DoAfterOpen() { Fire(AfterOpen, *this); }
void TClientDataSet::DoBeforeClose() { Fire(BeforeClose, *this); }
void TClientDataSet::DoAfterClose() { Fire(AfterClose, *this); }
void TClientDataSet::DoBeforeInsert() { Fire(BeforeInsert, *this); }
void TClientDataSet::DoAfterInsert() { Fire(AfterInsert, *this); }
void TClientDataSet::DoBeforeEdit() { Fire(BeforeEdit, *this); }
void TClientDataSet::DoAfterEdit() { Fire(AfterEdit, *this); }
void TClientDataSet::DoBeforePost() { Fire(BeforePost, *this); }
void TClientDataSet::DoAfterPost() { Fire(AfterPost, *this); }
void TClientDataSet::DoBeforeCancel() { Fire(BeforeCancel, *this); }
void TClientDataSet::DoAfterCancel() { Fire(AfterCancel, *this); }
void TClientDataSet::DoBeforeDelete() { Fire(BeforeDelete, *this); }
void TClientDataSet::DoAfterDelete() { Fire(AfterDelete, *this); }
void TClientDataSet::DoBeforeScroll() { Fire(BeforeScroll, *this); }
void TClientDataSet::DoAfterScroll() { Fire(AfterScroll, *this); }

// --- view notifications ---

void TClientDataSet::DisableControls()
{
  ++FDisableCount;
}

void TClientDataSet::EnableControls()
{
  if (FDisableCount == 0)
    return;
  if (--FDisableCount > 0)
    return;
  if (FPendingReset) {
    FPendingReset = false;
    FPendingCurrent = true;
    emit aboutToReset();
    emit reset();
  }
  if (FPendingCurrent) {
    FPendingCurrent = false;
    emit currentChanged(FCursor);
  }
  if (FPendingDetails) {
    FPendingDetails = false;
    NotifyDetails();
  }
}

void TClientDataSet::BeginReset()
{
  if (Notifying())
    emit aboutToReset();
  else
    FPendingReset = true;
}

void TClientDataSet::EndReset()
{
  if (Notifying()) {
    emit reset();
    emit currentChanged(FCursor);
  }
}

void TClientDataSet::NotifyRowChanged(int viewRow)
{
  if (Notifying())
    emit rowChanged(viewRow);
  else
    FPendingReset = true;
}

void TClientDataSet::NotifyCursorMoved()
{
  if (Notifying())
    emit currentChanged(FCursor);
  else
    FPendingCurrent = true;
  NotifyDetails();
}

void TClientDataSet::NotifyLayoutChanged()
{
  BeginReset();
  EndReset();
}
