#pragma once
// The table store: an in-memory table kept in one file. It numbers new rows itself,
// saves itself on closing when its rows changed, keeps the previous file as ".bak" and
// falls back to that backup when an explicit load fails.

#include "platform/ClientDataSet.h"

#include <QString>
#include <QStringList>

// The table file has a single, binary format.
enum class TDataPacketFormat { dfBinary };

class TMyClientDataSet : public TClientDataSet {
public:
  explicit TMyClientDataSet(QObject *parent = nullptr);

  // The table numbers new rows itself in its auto-increment field.
  bool AutoInc() const { return FAutoInc; }
  void SetAutoInc(bool value) { FAutoInc = value; }
  // Number given to the first row of an empty table.
  int AutoIncMin() const { return FAutoIncMin; }
  void SetAutoIncMin(int value) { FAutoIncMin = value; }
  // Fold pending changes into the rows before every save.
  bool AutoMergeChange() const { return FAutoMergeChange; }
  void SetAutoMergeChange(bool value) { FAutoMergeChange = value; }
  // Keep the previous file as ".bak" when saving.
  bool Backup() const { return FBackup; }
  void SetBackup(bool value) { FBackup = value; }

  TDataSetNotifyEvent BeforeLoadFromFile, AfterLoadFromFile;
  TDataSetNotifyEvent BeforeSaveToFile, AfterSaveToFile;
  TDataSetNotifyEvent BeforeDuplicate, AfterDuplicate;

  // Loads the rows of FileName (the table's own file when empty); when that fails, the
  // ".bak" replaces the file and is loaded. Fails with a message for the user when
  // neither can be read. With ControlEnabled false, view notifications stay suspended.
  void LoadFromFile(bool ControlEnabled, const QString &FileName = {});
  // Writes all rows to FileName (the table's own file when empty) when they changed,
  // keeping the previous file as ".bak". The file is replaced in one step, so a failed
  // write leaves the previous file whole; the failure goes to the caller.
  void SaveToFile(const QString &FileName = {}, TDataPacketFormat Format = TDataPacketFormat::dfBinary,
                  bool aKeepRecord = true);
  // Copies the current row into a new row (appended, or inserted before the current one).
  void Duplicate(bool aPost, bool aAppend);

  void AddIndexOnField(const QString &aField, bool aSetIndex);
  void AddIndexOnField(const QStringList &aFields);
  void AddIndexTable(const QString &aMasterField);
  QString AddIndexAutoInc();
  QString GetAutoIncField() const;
  void ClearIndexDataSet();

  // The name with its extension replaced by aExtension ("Data.cds" → "Data.bak").
  static QString ChangeFileExt(const QString &aFileName, const QString &aExtension);

protected:
  void DoAfterOpen() override;
  void DoAfterInsert() override;
  void DoBeforeCancel() override;
  void DoBeforeClose() override;

private:
  void FindAutoIncValue();
  void KeepBackup(const QString &aTarget) const;
  void AddFieldIndex(const QString &aIndexField, const QString &aKeyFields);
  bool HasAutoNumbering() const { return FAutoInc && FAutoIndex != -1; }

  bool FAutoInc = true;
  int FAutoIncMin = 0;
  bool FAutoMergeChange = false;
  bool FBackup = true;
  int FAutoValue = 0;
  int FAutoIndex = -1;
};
