#pragma once
// The in-memory table: typed rows with a cursor, orderings, a filter, a master link,
// lookup fields, data events, bookmarks and persistence to a table file.

#include "platform/Field.h"
#include "platform/TableRecord.h"

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantList>

#include <cstdint>
#include <functional>
#include <memory>
#include <map>
#include <utility>
#include <vector>

struct TTableContent;

enum class TDataSetState { dsInactive, dsBrowse, dsEdit, dsInsert };

// Identity of a row, stable across reordering and filtering.
struct TBookmark {
  std::uint64_t RecordId = 0;
  bool IsNull() const { return RecordId == 0; }
  bool operator==(const TBookmark &) const = default;
};

// A named ordering.
struct TIndexDef {
  QString Name;
  QString Fields;  // "A;B"
  bool CaseInsensitive = false;
};

class TClientDataSet : public QObject {
  Q_OBJECT

public:
  using TDataSetNotifyEvent = std::function<void(TClientDataSet &)>;

  // The two built-in orders (storage order); they cannot be deleted.
  static const QString DefaultOrderIndex;  // "DEFAULT_ORDER"
  static const QString ChangeIndex;        // "CHANGEINDEX"

  explicit TClientDataSet(QObject *parent = nullptr);
  ~TClientDataSet() override;
  TClientDataSet(const TClientDataSet &) = delete;
  TClientDataSet &operator=(const TClientDataSet &) = delete;

  // Name used in messages (defaults to the file's base name).
  QString Name() const;
  void SetName(const QString &name) { FName = name; }

  // --- field definitions (only while closed) ---
  TFieldDef &AddFieldDef(const QString &name, TFieldType type, int size = 0);
  TFieldDef &AddLookupField(const QString &name, TFieldType type, int size,
                            const QString &keyFields, TClientDataSet *lookupDataSet,
                            const QString &lookupKeyFields, const QString &lookupResultField);
  void ClearFields();
  int FieldDefCount() const { return FieldCount(); }

  // --- fields ---
  int FieldCount() const { return static_cast<int>(FFields.size()); }
  TField &Fields(int index) const;
  TField *FindField(const QString &name) const;
  TField &FieldByName(const QString &name) const;  // throws when absent
  int FieldIndex(const QString &name) const;        // -1 when absent

  // --- life cycle ---
  QString FileName() const { return FFileName; }
  void SetFileName(const QString &fileName) { FFileName = fileName; }
  bool Active() const { return FState != TDataSetState::dsInactive; }
  TDataSetState State() const { return FState; }
  // Loads field definitions and rows from FileName; throws when there is no table.
  // Open, CreateDataSet and LoadRowsFromFile run BeforeOpen, then AfterOpen (and
  // AfterScroll when there are rows).
  void Open();
  void Close();
  // Opens empty with the defined fields.
  void CreateDataSet();
  void EmptyDataSet();

  // --- navigation (over the rows shown: filtered, ordered, master-linked) ---
  // Moving or searching while a row is edited posts it when modified and drops it
  // otherwise. Every move runs AfterScroll; Next at the last row only sets Eof, and
  // Last sets Eof too.
  void First();
  void Next();
  void Prior();
  void Last();
  bool Eof() const { return FEof; }
  bool Bof() const { return FBof; }
  bool IsEmpty() const { return FView.empty(); }
  int RecordCount() const { return static_cast<int>(FView.size()); }
  int RecNo() const;  // 1-based, 0 when there is no current row
  void SetRecNo(int recNo);

  bool Locate(const QString &keyFields, const QVariantList &values, bool caseInsensitive = false);
  bool Locate(const QString &field, const QVariant &value);
  // Value of resultField in the first shown row whose key fields equal keyValue (a
  // QVariantList for several key fields); null when none. The cursor does not move.
  // Searches on one stored field use a hash of the shown rows, rebuilt after changes.
  QVariant Lookup(const QString &keyFields, const QVariant &keyValue,
                  const QString &resultField) const;

  // --- editing ---
  // Append and Insert (before the current row) start a new row, pre-filled with the
  // master's key in a detail table, and run AfterInsert then AfterScroll. Edit on an
  // empty table starts a new row. Delete while inserting cancels.
  void Append();
  void Insert();
  void Edit();
  void Post();
  void Cancel();
  void Delete();
  bool Modified() const { return FModified; }

  // --- orderings ---
  void SetIndexFieldNames(const QString &fields);
  QString IndexFieldNames() const { return FIndexFieldNames; }
  void AddIndex(const QString &name, const QString &fields, bool caseInsensitive = false);
  void DeleteIndex(const QString &name);
  QStringList IndexNames() const;
  std::vector<TIndexDef> IndexDefs() const { return FIndexes; }
  void SetIndexName(const QString &name);
  QString IndexName() const { return FIndexName; }

  // --- filter: "Field=123" joined by "and" ---
  void SetFilter(const QString &filter);
  QString Filter() const { return FFilterText; }
  void SetFiltered(bool filtered);
  bool Filtered() const { return FFiltered; }

  // --- master link: only rows whose detail fields equal the master's current values.
  // The detail goes to its first row whenever the master moves or posts; while the
  // master's view notifications are suspended, the detail waits for their resumption.
  // A closed master links nothing (all rows shown). ---
  void SetMasterSource(TClientDataSet *master, const QString &masterFields,
                       const QString &detailFields);
  void ClearMasterSource();
  TClientDataSet *MasterSource() const { return FMaster.data(); }

  // --- events; a handler may be detached by assigning {} and re-attached ---
  TDataSetNotifyEvent BeforeOpen, AfterOpen, BeforeClose, AfterClose;
  TDataSetNotifyEvent BeforeInsert, AfterInsert, BeforeEdit, AfterEdit;
  TDataSetNotifyEvent BeforePost, AfterPost, BeforeCancel, AfterCancel;
  TDataSetNotifyEvent BeforeDelete, AfterDelete, BeforeScroll, AfterScroll;

  // --- bookmarks ---
  TBookmark GetBookmark() const;
  void GotoBookmark(const TBookmark &bookmark);
  bool BookmarkValid(const TBookmark &bookmark) const;
  void FreeBookmark(TBookmark &bookmark) const { bookmark = {}; }

  // --- view notifications, suspended while the count is above zero ---
  void DisableControls();
  void EnableControls();
  bool ControlsDisabled() const { return FDisableCount > 0; }

  // --- change flag ---
  bool DataChanged() const { return FDataChanged; }
  // Pending changes are applied to the rows at once, so there is nothing to fold.
  void MergeChangeLog() {}

  // --- persistence: all rows, whatever filter, ordering or master link ---
  void SaveRowsToFile(const QString &path);
  // Field definitions come from the file (display options and lookup fields defined
  // here are kept for fields of the same name); throws on anything but a table file,
  // leaving the table as it was. The loaded rows replace the current ones without
  // running the close events.
  void LoadRowsFromFile(const QString &path);

  // --- access by row of the shown rows, for views ---
  QVariant ValueAt(int viewRow, int field) const;
  QString DisplayTextAt(int viewRow, int field) const;
  // Row of the cursor in the shown rows, -1 when none.
  int CurrentRow() const { return FCursor; }

  // --- every stored row, whatever filter, ordering or master link, in storage order;
  // for scans that must see the whole table (such as the highest number in use) ---
  int StoredRecordCount() const { return static_cast<int>(FRows.size()); }
  QVariant StoredValueAt(int storedRow, int field) const;

  // --- used by TField ---
  QVariant CurrentValue(int field) const;
  void SetCurrentValue(int field, const QVariant &value);
  void NotifyLayoutChanged();

signals:
  // Emitted around a change that views cannot follow row by row.
  void aboutToReset();
  void reset();
  void rowAboutToBeInserted(int viewRow);
  void rowInserted(int viewRow);
  void rowAboutToBeRemoved(int viewRow);
  void rowRemoved(int viewRow);
  void rowChanged(int viewRow);
  void currentChanged(int viewRow);

protected:
  // Hooks run around each operation; by default they run the event of the same name.
  // A derived table runs its own step before calling the base.
  virtual void DoBeforeOpen();
  virtual void DoAfterOpen();
  virtual void DoBeforeClose();
  virtual void DoAfterClose();
  virtual void DoBeforeInsert();
  virtual void DoAfterInsert();
  virtual void DoBeforeEdit();
  virtual void DoAfterEdit();
  virtual void DoBeforePost();
  virtual void DoAfterPost();
  virtual void DoBeforeCancel();
  virtual void DoAfterCancel();
  virtual void DoBeforeDelete();
  virtual void DoAfterDelete();
  virtual void DoBeforeScroll();
  virtual void DoAfterScroll();

private:
  struct TCondition {
    QString FieldName;
    int Field = -1;
    qint64 Value = 0;
  };
  struct TOrderKey {
    std::vector<int> Fields;
    bool CaseInsensitive = false;
  };
  // First shown row of each key value, built on the first search and dropped whenever
  // the shown rows or their values change: lookups by ID run for every installation.
  struct TKeyCache {
    std::map<std::pair<int, bool>, QHash<QString, int>> Maps;
  };

  // values and fields
  const TRecord *RecordAt(int viewRow) const;
  const TRecord *CurrentRecord() const;
  QVariant FieldValue(const std::vector<QVariant> &values, int field) const;
  bool EditingCurrent() const;
  std::vector<int> ResolveFields(const QString &names) const;
  void CheckActive(const char *operation) const;
  void CheckInactive(const char *operation) const;
  // Posts a modified row, cancels an untouched one.
  void CheckBrowse();

  // loading
  void TakeContent(TTableContent content);
  // Returns, for each file column, the position of its field.
  std::vector<int> MergeFieldDefs(std::vector<TFieldDef> fileFields);
  void DiscardRows();

  // cursor and editing
  void MoveTo(int viewRow);
  void StartInsert(bool append);
  void PostEdit();
  void PostInsert();
  int RowOfBookmark(const TBookmark &bookmark) const;
  int FindRow(const std::vector<int> &keys, const QVariantList &values, bool caseInsensitive) const;

  // shown rows
  std::vector<TRecord *> BuildView() const;
  void SetView(std::vector<TRecord *> view, int cursor);
  void RefreshKeepingCurrent();
  void RefreshToFirst();
  bool PassesFilter(const TRecord &record) const;
  std::vector<std::pair<int, QVariant>> MasterKey() const;
  TOrderKey CurrentOrder() const;
  static bool IsBuiltInIndex(const QString &name);
  static std::vector<TCondition> ParseFilter(const QString &filter);
  void ResolveFilter(bool strict);
  void InvalidateKeyCache() const;

  // master link
  void MasterScrolled();
  void RegisterDetail(TClientDataSet *detail);
  void UnregisterDetail(TClientDataSet *detail);
  void NotifyDetails();

  // view notifications
  void BeginReset();
  void EndReset();
  void NotifyRowChanged(int viewRow);
  void NotifyCursorMoved();
  bool Notifying() const { return FDisableCount == 0; }

  QString FName;
  QString FFileName;
  TDataSetState FState = TDataSetState::dsInactive;
  std::vector<std::unique_ptr<TField>> FFields;
  std::vector<std::unique_ptr<TRecord>> FRows;  // storage order
  std::vector<TRecord *> FView;                  // shown rows, in order
  int FCursor = -1;
  bool FEof = true;
  bool FBof = true;
  std::uint64_t FNextRecordId = 1;

  // Row being edited or inserted.
  TRecord FBuffer;
  bool FModified = false;
  std::uint64_t FInsertBefore = 0;  // row an inserted row goes before; 0 to append

  QString FIndexFieldNames;
  QString FIndexName;
  std::vector<TIndexDef> FIndexes;

  QString FFilterText;
  bool FFiltered = false;
  std::vector<TCondition> FConditions;

  QPointer<TClientDataSet> FMaster;
  QString FMasterFields;
  QString FDetailFields;
  std::vector<QPointer<TClientDataSet>> FDetails;

  int FDisableCount = 0;
  bool FPendingReset = false;
  bool FPendingCurrent = false;
  bool FPendingDetails = false;
  bool FDataChanged = false;

  mutable std::unique_ptr<TKeyCache> FKeyCache;
};
