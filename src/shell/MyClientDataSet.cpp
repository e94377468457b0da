#include "shell/MyClientDataSet.h"

#include "platform/DelphiFormat.h"
#include "platform/UserDialogs.h"
#include "shell/DataSetGuards.h"

#include <QFile>
#include <QFileInfo>

namespace {

const QString kIndexPrefix = QStringLiteral("IX");

QString ReadFailureMessage(const QString &fileName)
{
  return FormatArgs(QStringLiteral("Impossible de lire le fichier de donnée <%s>.\r"
                                   "Essayez de faire une restauration des bases ..."),
                    QFileInfo(fileName).fileName());
}

bool IsIndexable(TFieldType type)
{
  switch (type) {
  case TFieldType::ftString:
  case TFieldType::ftSmallint:
  case TFieldType::ftInteger:
  case TFieldType::ftWord:
  case TFieldType::ftByte:
  case TFieldType::ftBoolean:
  case TFieldType::ftFloat:
  case TFieldType::ftDate:
  case TFieldType::ftTime:
    return true;
  case TFieldType::ftAutoInc:
  case TFieldType::ftDateTime:
    return false;
  }
  return false;
}

}  // namespace

TMyClientDataSet::TMyClientDataSet(QObject *parent) : TClientDataSet(parent) {}

QString TMyClientDataSet::ChangeFileExt(const QString &aFileName, const QString &aExtension)
{
  const qsizetype dot = aFileName.lastIndexOf(QLatin1Char('.'));
  const qsizetype separator =
      std::max(aFileName.lastIndexOf(QLatin1Char('/')), aFileName.lastIndexOf(QLatin1Char('\\')));
  if (dot > separator)
    return aFileName.left(dot) + aExtension;
  return aFileName + aExtension;
}

void TMyClientDataSet::DoAfterOpen()
{
  if (FAutoInc)
    FindAutoIncValue();
  TClientDataSet::DoAfterOpen();
}

void TMyClientDataSet::FindAutoIncValue()
{
  FAutoIndex = -1;
  for (int i = 0; i < FieldCount(); ++i)
    if (Fields(i).DataType() == TFieldType::ftAutoInc && !Fields(i).IsLookup()) {
      FAutoIndex = i;
      break;
    }
  if (FAutoIndex == -1)
    return;
  FAutoValue = FAutoIncMin - 1;
  // Every stored row counts, whatever filter or master link hides some of them, so that
  // a number is never handed out twice. Reading the stored values does not move the
  // cursor, so no scroll handler runs.
  for (int row = 0; row < StoredRecordCount(); ++row) {
    const QVariant value = StoredValueAt(row, FAutoIndex);
    if (!value.isNull() && value.toInt() > FAutoValue)
      FAutoValue = value.toInt();
  }
  Fields(FAutoIndex).SetReadOnly(false);
}

void TMyClientDataSet::DoAfterInsert()
{
  if (HasAutoNumbering()) {
    ++FAutoValue;
    Fields(FAutoIndex).SetAsInteger(FAutoValue);
  }
  TClientDataSet::DoAfterInsert();
}

void TMyClientDataSet::DoBeforeCancel()
{
  if (State() == TDataSetState::dsInsert && HasAutoNumbering())
    --FAutoValue;
  TClientDataSet::DoBeforeCancel();
}

void TMyClientDataSet::DoBeforeClose()
{
  if (FAutoMergeChange)
    MergeChangeLog();
  SaveToFile();
  TClientDataSet::DoBeforeClose();
}

void TMyClientDataSet::KeepBackup(const QString &aTarget) const
{
  // The previous file is copied, not moved: the target stays in place until the new
  // rows replace it in one step. A failure here is not reported.
  if (!QFile::exists(aTarget))
    return;
  const QString backup = ChangeFileExt(aTarget, QStringLiteral(".bak"));
  QFile::remove(backup);
  QFile::copy(aTarget, backup);
}

void TMyClientDataSet::SaveToFile(const QString &FileName, TDataPacketFormat, bool aKeepRecord)
{
  if (BeforeSaveToFile)
    BeforeSaveToFile(*this);
  {
    const TControlsGuard controls(*this);
    const TKeepRecord record(*this, aKeepRecord);
    if (FAutoMergeChange)
      MergeChangeLog();
    if (DataChanged()) {
      const QString target = FileName.isEmpty() ? this->FileName() : FileName;
      if (!target.isEmpty()) {
        if (FBackup)
          KeepBackup(target);
        SaveRowsToFile(target);
      }
    }
  }
  if (AfterSaveToFile)
    AfterSaveToFile(*this);
}

void TMyClientDataSet::LoadFromFile(bool ControlEnabled, const QString &FileName)
{
  if (BeforeLoadFromFile)
    BeforeLoadFromFile(*this);
  const QString name = FileName.isEmpty() ? this->FileName() : FileName;
  if (!ControlEnabled)
    DisableControls();
  try {
    LoadRowsFromFile(name);
  } catch (const std::exception &) {
    const QString backup = ChangeFileExt(name, QStringLiteral(".bak"));
    if (!QFile::exists(backup))
      throw EDatabaseError(ReadFailureMessage(name));
    UserDialogs().ShowMessage(QStringLiteral("Erreur lors de la lecture des données.\r"
                                             "Le programme essaie avec le fichier de sauvegarde ..."));
    QFile::remove(name);
    QFile::rename(backup, name);
    try {
      LoadRowsFromFile(name);
    } catch (const std::exception &) {
      throw EDatabaseError(ReadFailureMessage(name));
    }
  }
  if (AfterLoadFromFile)
    AfterLoadFromFile(*this);
}

void TMyClientDataSet::Duplicate(bool aPost, bool aAppend)
{
  if (BeforeDuplicate)
    BeforeDuplicate(*this);
  if (State() == TDataSetState::dsEdit || State() == TDataSetState::dsInsert)
    Post();
  QVariantList values;
  for (int i = 0; i < FieldCount(); ++i)
    values.append(Fields(i).AsVariant());
  if (aAppend)
    Append();
  else
    Insert();
  for (int i = 0; i < FieldCount(); ++i) {
    TField &field = Fields(i);
    if (field.DataType() != TFieldType::ftAutoInc && !field.IsLookup())
      field.SetAsVariant(values.at(i));
  }
  if (aPost)
    Post();
  if (AfterDuplicate)
    AfterDuplicate(*this);
}

void TMyClientDataSet::AddFieldIndex(const QString &aIndexField, const QString &aKeyFields)
{
  const QString name = kIndexPrefix + aIndexField;
  if (!IndexNames().contains(name))
    AddIndex(name, aKeyFields, true);
}

void TMyClientDataSet::AddIndexOnField(const QString &aField, bool aSetIndex)
{
  if (aField.isEmpty() || !FindField(aField))
    return;
  AddFieldIndex(aField, aField);
  if (aSetIndex)
    SetIndexName(kIndexPrefix + aField);
}

void TMyClientDataSet::AddIndexOnField(const QStringList &aFields)
{
  for (const QString &name : aFields)
    if (!name.isEmpty() && FindField(name))
      AddFieldIndex(name, name);
}

void TMyClientDataSet::AddIndexTable(const QString &aMasterField)
{
  for (int i = 1; i < FieldCount(); ++i) {
    const TField &field = Fields(i);
    if (field.IsLookup())
      continue;
    const QString name = field.FieldName();
    if (!aMasterField.isEmpty() && name == aMasterField)
      AddFieldIndex(name, name);
    else if (IsIndexable(field.DataType()))
      AddFieldIndex(name, aMasterField.isEmpty() ? name : name + QLatin1Char(';') + aMasterField);
  }
}

QString TMyClientDataSet::GetAutoIncField() const
{
  for (int i = 0; i < FieldCount(); ++i)
    if (Fields(i).DataType() == TFieldType::ftAutoInc && !Fields(i).IsLookup())
      return Fields(i).FieldName();
  return {};
}

QString TMyClientDataSet::AddIndexAutoInc()
{
  const QString name = GetAutoIncField();
  if (!name.isEmpty())
    AddFieldIndex(name, name);
  return name;
}

void TMyClientDataSet::ClearIndexDataSet()
{
  for (const QString &name : IndexNames())
    if (name != DefaultOrderIndex && name != ChangeIndex)
      DeleteIndex(name);
  Close();
}
