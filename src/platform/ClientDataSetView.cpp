// The rows shown: filter, master link, ordering, named indexes and the key search cache.
#include "platform/ClientDataSet.h"

#include <QHash>
#include <QRegularExpression>

#include <algorithm>
#include <map>

namespace {
QString KeyText(const QVariant &value, bool caseInsensitive)
{
  switch (value.typeId()) {
  case QMetaType::Int:
    return QString::number(value.toInt());
  case QMetaType::Double:
    return QString::number(value.toDouble(), 'g', 17);
  case QMetaType::Bool:
    return value.toBool() ? QStringLiteral("1") : QStringLiteral("0");
  default:
    return caseInsensitive ? value.toString().toCaseFolded() : value.toString();
  }
}

QStringList SplitNames(const QString &names)
{
  QStringList result;
  for (const QString &name : names.split(QLatin1Char(';'), Qt::SkipEmptyParts))
    result << name.trimmed();
  return result;
}
}  // namespace

const TRecord *TClientDataSet::CurrentRecord() const
{
  return RecordAt(FCursor);
}

void TClientDataSet::InvalidateKeyCache() const
{
  FKeyCache.reset();
}

void TClientDataSet::SetView(std::vector<TRecord *> view, int cursor)
{
  FView = std::move(view);
  FCursor = FView.empty() ? -1 : std::clamp(cursor, 0, RecordCount() - 1);
  InvalidateKeyCache();
}

int TClientDataSet::FindRow(const std::vector<int> &keys, const QVariantList &values,
                            bool caseInsensitive) const
{
  if (static_cast<int>(keys.size()) != values.size())
    throw EDatabaseError(QStringLiteral("Recherche dans la table « %1 » : %2 champs pour %3 valeurs")
                             .arg(Name())
                             .arg(keys.size())
                             .arg(values.size()));
  std::vector<QVariant> wanted;
  for (std::size_t i = 0; i < keys.size(); ++i) {
    const TField &field = *FFields[keys[i]];
    if (field.DataType() == TFieldType::ftString) {
      wanted.push_back(values[i].isNull() ? QVariant() : QVariant(values[i].toString()));
      continue;
    }
    try {
      wanted.push_back(field.Convert(values[i]));
    } catch (const EDatabaseError &) {
      return -1;  // a value that cannot be of the field's type matches nothing
    }
  }
  if (keys.size() == 1 && !FFields[keys[0]]->IsLookup() && !wanted[0].isNull()) {
    const int field = keys[0];
    if (!FKeyCache)
      FKeyCache = std::make_unique<TKeyCache>();
    auto [entry, created] = FKeyCache->Maps.try_emplace({field, caseInsensitive});
    QHash<QString, int> &rows = entry->second;
    if (created) {
      rows.reserve(RecordCount());
      for (int row = 0; row < RecordCount(); ++row) {
        const QVariant &value = FView[row]->Values[field];
        if (value.isNull())
          continue;
        const QString key = KeyText(value, caseInsensitive);
        if (!rows.contains(key))  // searches want the first row of a key
          rows.insert(key, row);
      }
    }
    return rows.value(KeyText(wanted[0], caseInsensitive), -1);
  }
  for (int row = 0; row < RecordCount(); ++row) {
    bool match = true;
    for (std::size_t i = 0; i < keys.size() && match; ++i)
      match = CompareFieldValues(FieldValue(FView[row]->Values, keys[i]), wanted[i],
                                 caseInsensitive) == 0;
    if (match)
      return row;
  }
  return -1;
}

// --- building the shown rows ---

std::vector<std::pair<int, QVariant>> TClientDataSet::MasterKey() const
{
  std::vector<std::pair<int, QVariant>> key;
  if (!FMaster || !FMaster->Active())
    return key;
  const QStringList masterNames = SplitNames(FMasterFields);
  const QStringList detailNames = SplitNames(FDetailFields);
  for (int i = 0; i < masterNames.size() && i < detailNames.size(); ++i) {
    const int masterField = FMaster->FieldIndex(masterNames[i]);
    const int detailField = FieldIndex(detailNames[i]);
    if (masterField < 0 || detailField < 0)
      continue;
    QVariant value;
    try {
      value = FFields[detailField]->Convert(FMaster->CurrentValue(masterField));
    } catch (const EDatabaseError &) {
      value = QVariant();
    }
    key.emplace_back(detailField, value);
  }
  return key;
}

TClientDataSet::TOrderKey TClientDataSet::CurrentOrder() const
{
  TOrderKey order;
  QString names = FIndexFieldNames;
  if (!FIndexName.isEmpty()) {
    for (const TIndexDef &index : FIndexes) {
      if (index.Name.compare(FIndexName, Qt::CaseInsensitive) == 0) {
        names = index.Fields;
        order.CaseInsensitive = index.CaseInsensitive;
      }
    }
  }
  for (const QString &name : SplitNames(names)) {
    const int field = FieldIndex(name);
    if (field >= 0)
      order.Fields.push_back(field);
  }
  return order;
}

bool TClientDataSet::PassesFilter(const TRecord &record) const
{
  for (const TCondition &condition : FConditions) {
    if (condition.Field < 0)
      return false;
    const QVariant value = FieldValue(record.Values, condition.Field);
    if (value.isNull() || CompareFieldValues(value, QVariant(condition.Value)) != 0)
      return false;
  }
  return true;
}

std::vector<TRecord *> TClientDataSet::BuildView() const
{
  const bool linked = FMaster && FMaster->Active();
  const std::vector<std::pair<int, QVariant>> masterKey = MasterKey();
  std::vector<TRecord *> view;
  view.reserve(FRows.size());
  for (const auto &record : FRows) {
    if (FFiltered && !PassesFilter(*record))
      continue;
    if (linked) {
      bool match = !masterKey.empty();
      for (const auto &[field, value] : masterKey)
        match = match && !value.isNull() &&
                CompareFieldValues(record->Values[field], value) == 0;
      if (!match)
        continue;
    }
    view.push_back(record.get());
  }
  const TOrderKey order = CurrentOrder();
  if (!order.Fields.empty()) {
    std::stable_sort(view.begin(), view.end(), [&](const TRecord *a, const TRecord *b) {
      for (int field : order.Fields) {
        const int c = CompareFieldValues(FieldValue(a->Values, field),
                                         FieldValue(b->Values, field), order.CaseInsensitive);
        if (c != 0)
          return c < 0;
      }
      return false;
    });
  }
  return view;
}

void TClientDataSet::RefreshKeepingCurrent()
{
  if (!Active())
    return;
  const TRecord *current = CurrentRecord();
  std::vector<TRecord *> view = BuildView();
  const auto found = std::find(view.begin(), view.end(), current);
  const int cursor = found != view.end() ? static_cast<int>(found - view.begin()) : 0;
  BeginReset();
  SetView(std::move(view), cursor);
  EndReset();
  if (CurrentRecord() != current)
    NotifyDetails();
}

void TClientDataSet::RefreshToFirst()
{
  if (!Active())
    return;
  DoBeforeScroll();
  std::vector<TRecord *> view = BuildView();
  BeginReset();
  SetView(std::move(view), 0);
  FBof = true;
  FEof = IsEmpty();
  EndReset();
  NotifyDetails();
  DoAfterScroll();
}

// --- orderings ---

void TClientDataSet::SetIndexFieldNames(const QString &fields)
{
  // While closed the fields may still come from the file: checked when shown.
  if (Active()) {
    ResolveFields(fields);
    CheckBrowse();
  }
  FIndexFieldNames = fields;
  FIndexName.clear();
  RefreshKeepingCurrent();
}

bool TClientDataSet::IsBuiltInIndex(const QString &name)
{
  return name.compare(DefaultOrderIndex, Qt::CaseInsensitive) == 0 ||
         name.compare(ChangeIndex, Qt::CaseInsensitive) == 0;
}

void TClientDataSet::AddIndex(const QString &name, const QString &fields, bool caseInsensitive)
{
  if (name.trimmed().isEmpty() || IsBuiltInIndex(name) || IndexNames().contains(name, Qt::CaseInsensitive))
    throw EDatabaseError(
        QStringLiteral("Nom d'index vide ou en double « %1 » dans la table « %2 »").arg(name, Name()));
  if (SplitNames(fields).isEmpty())
    throw EDatabaseError(QStringLiteral("L'index « %1 » n'a pas de champ").arg(name));
  if (Active())
    ResolveFields(fields);
  FIndexes.push_back({name, fields, caseInsensitive});
}

void TClientDataSet::DeleteIndex(const QString &name)
{
  if (IsBuiltInIndex(name))
    throw EDatabaseError(QStringLiteral("L'index « %1 » ne peut pas être supprimé").arg(name));
  const auto found = std::find_if(FIndexes.begin(), FIndexes.end(), [&](const TIndexDef &index) {
    return index.Name.compare(name, Qt::CaseInsensitive) == 0;
  });
  if (found == FIndexes.end())
    throw EDatabaseError(
        QStringLiteral("Index « %1 » introuvable dans la table « %2 »").arg(name, Name()));
  FIndexes.erase(found);
  if (FIndexName.compare(name, Qt::CaseInsensitive) == 0) {
    FIndexName.clear();
    RefreshKeepingCurrent();
  }
}

QStringList TClientDataSet::IndexNames() const
{
  QStringList names{DefaultOrderIndex, ChangeIndex};
  for (const TIndexDef &index : FIndexes)
    names << index.Name;
  return names;
}

void TClientDataSet::SetIndexName(const QString &name)
{
  const bool builtIn = name.isEmpty() || IsBuiltInIndex(name);
  if (!builtIn && !IndexNames().contains(name, Qt::CaseInsensitive))
    throw EDatabaseError(
        QStringLiteral("Index « %1 » introuvable dans la table « %2 »").arg(name, Name()));
  if (Active())
    CheckBrowse();
  FIndexName = builtIn ? QString() : name;
  FIndexFieldNames.clear();
  RefreshKeepingCurrent();
}

// --- filter ---

std::vector<TClientDataSet::TCondition> TClientDataSet::ParseFilter(const QString &filter)
{
  static const QRegularExpression andSeparator(QStringLiteral("\\s+and\\s+"),
                                               QRegularExpression::CaseInsensitiveOption);
  static const QRegularExpression comparison(
      QStringLiteral("^\\s*(?:\\[([^\\]]+)\\]|([^\\s=\\[\\]]+))\\s*=\\s*([+-]?\\d{1,18})\\s*$"));
  std::vector<TCondition> conditions;
  if (filter.trimmed().isEmpty())
    return conditions;
  for (const QString &part : filter.split(andSeparator)) {
    const QRegularExpressionMatch match = comparison.match(part);
    if (!match.hasMatch())
      throw EDatabaseError(QStringLiteral("Expression de filtre incorrecte : « %1 »").arg(filter));
    TCondition condition;
    condition.FieldName = match.captured(1).isEmpty() ? match.captured(2) : match.captured(1);
    condition.Value = match.captured(3).toLongLong();
    conditions.push_back(condition);
  }
  return conditions;
}

void TClientDataSet::ResolveFilter(bool strict)
{
  for (TCondition &condition : FConditions) {
    condition.Field = FieldIndex(condition.FieldName);
    if (condition.Field < 0 && strict)
      throw EDatabaseError(QStringLiteral("Filtre : champ « %1 » introuvable dans la table « %2 »")
                               .arg(condition.FieldName, Name()));
  }
}

void TClientDataSet::SetFilter(const QString &filter)
{
  std::vector<TCondition> conditions = ParseFilter(filter);
  if (Active() && FFiltered) {
    for (TCondition &condition : conditions)
      if (FieldIndex(condition.FieldName) < 0)
        throw EDatabaseError(QStringLiteral("Filtre : champ « %1 » introuvable dans la table « %2 »")
                                 .arg(condition.FieldName, Name()));
    CheckBrowse();
  }
  FFilterText = filter;
  FConditions = std::move(conditions);
  ResolveFilter(false);
  if (FFiltered)
    RefreshToFirst();
}

void TClientDataSet::SetFiltered(bool filtered)
{
  if (filtered == FFiltered)
    return;
  if (Active()) {
    if (filtered)
      ResolveFilter(true);
    CheckBrowse();
  }
  FFiltered = filtered;
  RefreshToFirst();
}

// --- master link ---

void TClientDataSet::SetMasterSource(TClientDataSet *master, const QString &masterFields,
                                     const QString &detailFields)
{
  if (master == this)
    throw EDatabaseError(QStringLiteral("La table « %1 » ne peut pas être son propre maître").arg(Name()));
  if (master == nullptr) {
    ClearMasterSource();
    return;
  }
  if (SplitNames(masterFields).isEmpty() ||
      SplitNames(masterFields).size() != SplitNames(detailFields).size())
    throw EDatabaseError(
        QStringLiteral("Lien maître-détail incorrect pour la table « %1 » : « %2 » / « %3 »")
            .arg(Name(), masterFields, detailFields));
  if (Active())
    ResolveFields(detailFields);
  if (master->Active())
    master->ResolveFields(masterFields);
  if (FMaster)
    FMaster->UnregisterDetail(this);
  FMaster = master;
  FMasterFields = masterFields;
  FDetailFields = detailFields;
  master->RegisterDetail(this);
  if (Active()) {
    CheckBrowse();
    RefreshToFirst();
  }
}

void TClientDataSet::ClearMasterSource()
{
  if (!FMaster)
    return;
  FMaster->UnregisterDetail(this);
  FMaster = nullptr;
  FMasterFields.clear();
  FDetailFields.clear();
  if (Active()) {
    CheckBrowse();
    RefreshKeepingCurrent();
  }
}

void TClientDataSet::RegisterDetail(TClientDataSet *detail)
{
  FDetails.emplace_back(detail);
}

void TClientDataSet::UnregisterDetail(TClientDataSet *detail)
{
  std::erase_if(FDetails, [&](const QPointer<TClientDataSet> &d) { return !d || d == detail; });
}

void TClientDataSet::NotifyDetails()
{
  if (ControlsDisabled()) {
    // Like attached views, details catch up when notifications resume.
    FPendingDetails = true;
    return;
  }
  const std::vector<QPointer<TClientDataSet>> details = FDetails;
  for (const QPointer<TClientDataSet> &detail : details)
    if (detail)
      detail->MasterScrolled();
}

void TClientDataSet::MasterScrolled()
{
  if (!Active())
    return;
  CheckBrowse();
  RefreshToFirst();
}
