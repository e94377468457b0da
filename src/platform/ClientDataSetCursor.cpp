// The cursor: navigation, searching, editing, bookmarks and value access.
#include "platform/ClientDataSet.h"

#include <algorithm>

// --- value access ---

const TRecord *TClientDataSet::RecordAt(int viewRow) const
{
  if (viewRow < 0 || viewRow >= RecordCount())
    return nullptr;
  return FView[viewRow];
}

QVariant TClientDataSet::FieldValue(const std::vector<QVariant> &values, int field) const
{
  const TField &f = *FFields[field];
  if (!f.IsLookup())
    return values[field];
  const TFieldDef &def = f.Def();
  TClientDataSet *source = def.LookupDataSet;
  if (source == nullptr || !source->Active())
    return {};
  QVariantList keys;
  for (const QString &name : def.KeyFields.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
    const int index = FieldIndex(name.trimmed());
    if (index < 0 || FFields[index]->IsLookup() || values[index].isNull())
      return {};
    keys << values[index];
  }
  if (keys.isEmpty())
    return {};
  return source->Lookup(def.LookupKeyFields, keys.size() == 1 ? keys.front() : QVariant(keys),
                        def.LookupResultField);
}

bool TClientDataSet::EditingCurrent() const
{
  return FState == TDataSetState::dsEdit || FState == TDataSetState::dsInsert;
}

QVariant TClientDataSet::CurrentValue(int field) const
{
  Fields(field);  // range check
  if (EditingCurrent())
    return FieldValue(FBuffer.Values, field);
  const TRecord *record = RecordAt(FCursor);
  return record == nullptr ? QVariant() : FieldValue(record->Values, field);
}

void TClientDataSet::SetCurrentValue(int field, const QVariant &value)
{
  if (!EditingCurrent())
    throw EDatabaseError(
        QStringLiteral("La table « %1 » n'est pas en mode édition ou insertion").arg(Name()));
  if (Fields(field).IsLookup())
    throw EDatabaseError(QStringLiteral("Le champ « %1 » ne peut pas être modifié")
                             .arg(Fields(field).FieldName()));
  FBuffer.Values[field] = value;
  FModified = true;
  if (FState == TDataSetState::dsEdit)
    NotifyRowChanged(FCursor);
}

QVariant TClientDataSet::ValueAt(int viewRow, int field) const
{
  if (field < 0 || field >= FieldCount())
    return {};
  if (FState == TDataSetState::dsEdit && viewRow == FCursor)
    return FieldValue(FBuffer.Values, field);
  const TRecord *record = RecordAt(viewRow);
  return record == nullptr ? QVariant() : FieldValue(record->Values, field);
}

QVariant TClientDataSet::StoredValueAt(int storedRow, int field) const
{
  if (storedRow < 0 || storedRow >= StoredRecordCount() || field < 0 || field >= FieldCount())
    return {};
  return FieldValue(FRows[storedRow]->Values, field);
}

QString TClientDataSet::DisplayTextAt(int viewRow, int field) const
{
  if (field < 0 || field >= FieldCount())
    return {};
  return FFields[field]->FormatValue(ValueAt(viewRow, field));
}

// --- navigation ---

void TClientDataSet::CheckBrowse()
{
  if (!EditingCurrent())
    return;
  if (FModified)
    Post();
  else
    Cancel();
}

void TClientDataSet::MoveTo(int viewRow)
{
  FCursor = viewRow;
  NotifyCursorMoved();
  DoAfterScroll();
}

void TClientDataSet::First()
{
  CheckActive("aller au début");
  CheckBrowse();
  DoBeforeScroll();
  FBof = true;
  FEof = IsEmpty();
  MoveTo(IsEmpty() ? -1 : 0);
}

void TClientDataSet::Last()
{
  CheckActive("aller à la fin");
  CheckBrowse();
  DoBeforeScroll();
  FEof = true;
  FBof = IsEmpty();
  MoveTo(RecordCount() - 1);
}

void TClientDataSet::Next()
{
  CheckActive("avancer");
  CheckBrowse();
  if (FEof)
    return;
  DoBeforeScroll();
  FBof = false;
  if (FCursor + 1 >= RecordCount()) {
    FEof = true;
    DoAfterScroll();
    return;
  }
  MoveTo(FCursor + 1);
}

void TClientDataSet::Prior()
{
  CheckActive("reculer");
  CheckBrowse();
  if (FBof)
    return;
  DoBeforeScroll();
  FEof = false;
  if (FCursor <= 0) {
    FBof = true;
    DoAfterScroll();
    return;
  }
  MoveTo(FCursor - 1);
}

int TClientDataSet::RecNo() const
{
  return Active() ? FCursor + 1 : 0;
}

void TClientDataSet::SetRecNo(int recNo)
{
  CheckActive("changer de ligne");
  CheckBrowse();
  if (recNo < 1 || recNo > RecordCount() || recNo == FCursor + 1)
    return;
  DoBeforeScroll();
  FBof = FEof = false;
  MoveTo(recNo - 1);
}

// --- searching ---

bool TClientDataSet::Locate(const QString &keyFields, const QVariantList &values,
                            bool caseInsensitive)
{
  CheckActive("chercher");
  CheckBrowse();
  const int row = FindRow(ResolveFields(keyFields), values, caseInsensitive);
  if (row < 0)
    return false;
  DoBeforeScroll();
  FBof = FEof = false;
  MoveTo(row);
  return true;
}

bool TClientDataSet::Locate(const QString &field, const QVariant &value)
{
  return Locate(field, QVariantList{value});
}

QVariant TClientDataSet::Lookup(const QString &keyFields, const QVariant &keyValue,
                                const QString &resultField) const
{
  if (!Active())
    return {};
  const std::vector<int> keys = ResolveFields(keyFields);
  const int result = FieldByName(resultField).Index();
  const QVariantList values =
      keyValue.typeId() == QMetaType::QVariantList ? keyValue.toList() : QVariantList{keyValue};
  const TRecord *record = RecordAt(FindRow(keys, values, false));
  return record == nullptr ? QVariant() : FieldValue(record->Values, result);
}

// --- editing ---

void TClientDataSet::StartInsert(bool append)
{
  CheckActive(append ? "ajouter une ligne" : "insérer une ligne");
  CheckBrowse();
  DoBeforeInsert();
  DoBeforeScroll();
  FBuffer.Id = 0;
  FBuffer.Values.assign(FieldCount(), QVariant());
  for (const auto &[detailField, value] : MasterKey())
    FBuffer.Values[detailField] = value;
  FInsertBefore = append ? 0 : (CurrentRecord() != nullptr ? CurrentRecord()->Id : 0);
  FState = TDataSetState::dsInsert;
  FModified = false;
  FBof = FEof = false;
  DoAfterInsert();
  NotifyDetails();
  DoAfterScroll();
}

void TClientDataSet::Append()
{
  StartInsert(true);
}

void TClientDataSet::Insert()
{
  StartInsert(false);
}

void TClientDataSet::Edit()
{
  CheckActive("modifier");
  if (EditingCurrent())
    return;
  if (IsEmpty()) {
    Insert();
    return;
  }
  DoBeforeEdit();
  FBuffer = *CurrentRecord();
  FState = TDataSetState::dsEdit;
  FModified = false;
  DoAfterEdit();
}

void TClientDataSet::Post()
{
  CheckActive("enregistrer la ligne");
  if (!EditingCurrent())
    return;
  DoBeforePost();
  if (!EditingCurrent())
    return;  // the handler cancelled
  for (int i = 0; i < FieldCount(); ++i)
    if (FFields[i]->IsLookup())
      FBuffer.Values[i] = QVariant();
  if (FState == TDataSetState::dsEdit)
    PostEdit();
  else
    PostInsert();
  FDataChanged = true;
  DoAfterPost();
  NotifyDetails();
}

void TClientDataSet::PostEdit()
{
  TRecord *record = FView[FCursor];
  record->Values = std::move(FBuffer.Values);
  FBuffer = {};
  FState = TDataSetState::dsBrowse;
  FModified = false;
  InvalidateKeyCache();
  std::vector<TRecord *> view = BuildView();
  if (view == FView) {
    NotifyRowChanged(FCursor);
    return;
  }
  const auto found = std::find(view.begin(), view.end(), record);
  const int cursor = found != view.end() ? static_cast<int>(found - view.begin())
                                         : std::min(FCursor, static_cast<int>(view.size()) - 1);
  BeginReset();
  SetView(std::move(view), cursor);
  EndReset();
}

void TClientDataSet::PostInsert()
{
  auto record = std::make_unique<TRecord>();
  record->Id = FNextRecordId++;
  record->Values = std::move(FBuffer.Values);
  FBuffer = {};
  TRecord *added = record.get();
  auto at = FRows.end();
  if (FInsertBefore != 0)
    at = std::find_if(FRows.begin(), FRows.end(),
                      [&](const auto &row) { return row->Id == FInsertBefore; });
  FRows.insert(at, std::move(record));
  FState = TDataSetState::dsBrowse;
  FModified = false;

  std::vector<TRecord *> view = BuildView();
  const auto found = std::find(view.begin(), view.end(), added);
  const int row = found != view.end() ? static_cast<int>(found - view.begin()) : -1;
  std::vector<TRecord *> without = view;
  if (row >= 0)
    without.erase(without.begin() + row);
  if (row >= 0 && without == FView) {
    if (Notifying())
      emit rowAboutToBeInserted(row);
    else
      FPendingReset = true;
    SetView(std::move(view), row);
    if (Notifying())
      emit rowInserted(row);
    NotifyCursorMoved();
    return;
  }
  const int cursor = row >= 0 ? row : std::min(FCursor, static_cast<int>(view.size()) - 1);
  BeginReset();
  SetView(std::move(view), cursor);
  EndReset();
}

void TClientDataSet::Cancel()
{
  CheckActive("annuler");
  if (!EditingCurrent())
    return;
  DoBeforeCancel();
  const bool wasInsert = FState == TDataSetState::dsInsert;
  FState = TDataSetState::dsBrowse;
  FModified = false;
  FBuffer = {};
  FBof = FEof = IsEmpty();
  if (!wasInsert)
    NotifyRowChanged(FCursor);
  DoAfterCancel();
  if (wasInsert) {
    NotifyDetails();
    DoAfterScroll();
  }
}

void TClientDataSet::Delete()
{
  CheckActive("supprimer");
  if (FState == TDataSetState::dsInsert) {
    Cancel();
    return;
  }
  if (IsEmpty())
    throw EDatabaseError(
        QStringLiteral("Impossible de supprimer : la table « %1 » est vide").arg(Name()));
  DoBeforeDelete();
  DoBeforeScroll();
  // An edit in progress goes with the row.
  FState = TDataSetState::dsBrowse;
  FModified = false;
  FBuffer = {};
  const int row = FCursor;
  const TRecord *doomed = FView[row];
  if (Notifying())
    emit rowAboutToBeRemoved(row);
  else
    FPendingReset = true;
  std::vector<TRecord *> view = FView;
  view.erase(view.begin() + row);
  const int cursor = std::min(row, static_cast<int>(view.size()) - 1);
  SetView(std::move(view), cursor);
  FRows.erase(std::find_if(FRows.begin(), FRows.end(),
                           [&](const auto &record) { return record.get() == doomed; }));
  FDataChanged = true;
  FBof = FEof = IsEmpty();
  if (Notifying())
    emit rowRemoved(row);
  NotifyCursorMoved();
  DoAfterDelete();
  DoAfterScroll();
}

// --- bookmarks ---

TBookmark TClientDataSet::GetBookmark() const
{
  const TRecord *record = CurrentRecord();
  return record == nullptr ? TBookmark{} : TBookmark{record->Id};
}

int TClientDataSet::RowOfBookmark(const TBookmark &bookmark) const
{
  if (bookmark.IsNull())
    return -1;
  const auto found = std::find_if(FView.begin(), FView.end(), [&](const TRecord *record) {
    return record->Id == bookmark.RecordId;
  });
  return found == FView.end() ? -1 : static_cast<int>(found - FView.begin());
}

bool TClientDataSet::BookmarkValid(const TBookmark &bookmark) const
{
  return Active() && RowOfBookmark(bookmark) >= 0;
}

void TClientDataSet::GotoBookmark(const TBookmark &bookmark)
{
  CheckActive("revenir au signet");
  CheckBrowse();
  const int row = RowOfBookmark(bookmark);
  if (row < 0)
    throw EDatabaseError(
        QStringLiteral("Ligne introuvable dans la table « %1 » (signet périmé)").arg(Name()));
  DoBeforeScroll();
  FBof = FEof = false;
  MoveTo(row);
}
