// The table store: auto-increment numbering, backup rotation, saving only what changed,
// loading with fall-back to the backup, robustness against damaged files and failed saves.

#include "shell/MyClientDataSet.h"
#include "support/QtPrinters.h"
#include "support/ScriptedDialogs.h"
#include "support/TempDir.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <unistd.h>

#include <vector>

namespace {

const QString kDamagedNoBackup =
    QStringLiteral("Impossible de lire le fichier de donnée <Data.cds>.\rEssayez de faire une restauration des bases ...");
const QString kTryingBackup =
    QStringLiteral("Erreur lors de la lecture des données.\rLe programme essaie avec le fichier de sauvegarde ...");

void DefineFields(TClientDataSet &table)
{
  table.AddFieldDef(QStringLiteral("ID"), TFieldType::ftAutoInc);
  table.AddFieldDef(QStringLiteral("Nom"), TFieldType::ftString, 20);
  table.AddFieldDef(QStringLiteral("Valeur"), TFieldType::ftInteger);
}

// Writes a table file whose rows carry the given IDs and names.
void WriteTable(const QString &path, const std::vector<std::pair<int, QString>> &rows)
{
  TClientDataSet table;
  DefineFields(table);
  table.CreateDataSet();
  table.FieldByName(QStringLiteral("ID")).SetReadOnly(false);
  for (const auto &[id, name] : rows) {
    table.Append();
    table.FieldByName(QStringLiteral("ID")).SetAsInteger(id);
    table.FieldByName(QStringLiteral("Nom")).SetAsString(name);
    table.Post();
  }
  table.SaveRowsToFile(path);
}

QStringList Names(TClientDataSet &table)
{
  QStringList names;
  for (table.First(); !table.Eof(); table.Next())
    names << table.FieldByName(QStringLiteral("Nom")).AsString();
  return names;
}

QStringList NamesInFile(const QString &path)
{
  TClientDataSet table;
  table.LoadRowsFromFile(path);
  return Names(table);
}

QByteArray Bytes(const QString &path)
{
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void AppendNamed(TClientDataSet &table, const QString &name)
{
  table.Append();
  table.FieldByName(QStringLiteral("Nom")).SetAsString(name);
  table.Post();
}

class TableStore : public ::testing::Test {
protected:
  TempDir dir;
  QString path = dir.file(QStringLiteral("Data.cds"));
  QString backup = dir.file(QStringLiteral("Data.bak"));
  TMyClientDataSet table;

  void OpenWith(const std::vector<std::pair<int, QString>> &rows)
  {
    WriteTable(path, rows);
    DefineFields(table);
    table.SetFileName(path);
    table.Open();
  }
};

struct AutoIncCase {
  const char *name;
  int autoIncMin;
  std::vector<int> existing;
  int expectedFirst;
};

class AutoIncNumbering : public ::testing::TestWithParam<AutoIncCase> {};

TEST_P(AutoIncNumbering, NewRowsTakeTheNextNumberAndACancelledOneIsHandedOutAgain)
{
  const AutoIncCase &c = GetParam();
  TempDir dir;
  const QString path = dir.file(QStringLiteral("Data.cds"));
  std::vector<std::pair<int, QString>> rows;
  for (const int id : c.existing)
    rows.emplace_back(id, QStringLiteral("r%1").arg(id));
  WriteTable(path, rows);

  TMyClientDataSet table;
  table.SetAutoIncMin(c.autoIncMin);
  table.SetFileName(path);
  table.Open();
  table.Append();
  EXPECT_EQ(table.FieldByName(QStringLiteral("ID")).AsInteger(), c.expectedFirst);
  table.Cancel();
  table.Append();
  EXPECT_EQ(table.FieldByName(QStringLiteral("ID")).AsInteger(), c.expectedFirst);
  table.Post();
  table.Append();
  EXPECT_EQ(table.FieldByName(QStringLiteral("ID")).AsInteger(), c.expectedFirst + 1);
  table.Post();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AutoIncNumbering,
    ::testing::Values(AutoIncCase{"EmptyTableStartsAtZero", 0, {}, 0},
                      AutoIncCase{"AfterTheLargestValue", 0, {3, 7, 5}, 8},
                      AutoIncCase{"EmptyTableStartsAtAutoIncMin", 10, {}, 10},
                      AutoIncCase{"AutoIncMinAboveTheValues", 10, {3}, 10},
                      AutoIncCase{"ValuesAboveAutoIncMin", 2, {3, 7, 5}, 8}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(TableStore, WithoutAutoIncTheTableLeavesTheNumberToTheCaller)
{
  table.SetAutoInc(false);
  OpenWith({{4, QStringLiteral("a")}});
  table.Append();
  EXPECT_TRUE(table.FieldByName(QStringLiteral("ID")).IsNull());
  table.Cancel();
}

TEST_F(TableStore, SavingAChangedTableKeepsThePreviousContentAsBackup)
{
  OpenWith({{0, QStringLiteral("ancien")}});
  AppendNamed(table, QStringLiteral("nouveau"));
  table.SaveToFile();
  EXPECT_EQ(NamesInFile(backup), QStringList({QStringLiteral("ancien")}));
  EXPECT_EQ(NamesInFile(path), QStringList({QStringLiteral("ancien"), QStringLiteral("nouveau")}));
  EXPECT_FALSE(table.DataChanged());
}

TEST_F(TableStore, WithoutBackupNoBakFileIsTouched)
{
  OpenWith({{0, QStringLiteral("ancien")}});
  const QByteArray oldBackup = QByteArrayLiteral("untouched");
  dir.write(QStringLiteral("Data.bak"), oldBackup);
  table.SetBackup(false);
  AppendNamed(table, QStringLiteral("nouveau"));
  table.SaveToFile();
  EXPECT_EQ(Bytes(backup), oldBackup);
  EXPECT_EQ(NamesInFile(path).size(), 2);
}

TEST_F(TableStore, SavingAnUnchangedTableWritesNothing)
{
  OpenWith({{0, QStringLiteral("ancien")}});
  dir.write(QStringLiteral("Data.bak"), QByteArrayLiteral("old backup"));
  const QByteArray before = Bytes(path);
  const QDateTime modified = QFileInfo(path).lastModified();
  table.SaveToFile();
  table.Close();
  EXPECT_EQ(Bytes(backup), QByteArrayLiteral("old backup"));
  EXPECT_EQ(Bytes(path), before);
  EXPECT_EQ(QFileInfo(path).lastModified(), modified);
}

TEST_F(TableStore, ClosingSavesAChangedTable)
{
  OpenWith({{0, QStringLiteral("ancien")}});
  AppendNamed(table, QStringLiteral("nouveau"));
  table.Close();
  EXPECT_EQ(NamesInFile(path).size(), 2);
}

TEST_F(TableStore, SavingKeepsTheCurrentRowAndResumesNotifications)
{
  OpenWith({{0, QStringLiteral("a")}, {1, QStringLiteral("b")}, {2, QStringLiteral("c")}});
  table.Locate(QStringLiteral("Nom"), QStringLiteral("b"));
  table.Edit();
  table.FieldByName(QStringLiteral("Valeur")).SetAsInteger(5);
  table.Post();
  table.SaveToFile();
  EXPECT_EQ(table.FieldByName(QStringLiteral("Nom")).AsString(), QStringLiteral("b"));
  EXPECT_FALSE(table.ControlsDisabled());
}

TEST_F(TableStore, SaveEventsSurroundTheSave)
{
  OpenWith({});
  QStringList calls;
  table.BeforeSaveToFile = [&](TClientDataSet &) { calls << QStringLiteral("before"); };
  table.AfterSaveToFile = [&](TClientDataSet &) { calls << QStringLiteral("after"); };
  table.SaveToFile();
  EXPECT_EQ(calls, QStringList({QStringLiteral("before"), QStringLiteral("after")}));
}

// A save that cannot write leaves the previous file whole and readable, reports the
// failure, and puts the current row and notifications back.
struct FailedSaveCase {
  const char *name;
  bool readOnlyFolder;  // else a file name too long for the temporary file beside it
};

class FailedSave : public ::testing::TestWithParam<FailedSaveCase> {};

TEST_P(FailedSave, LeavesThePreviousFileIntactAndReports)
{
  const FailedSaveCase &c = GetParam();
  TempDir dir;
  const QString folder = dir.file(QStringLiteral("Data"));
  QDir().mkpath(folder);
  const QString path = c.readOnlyFolder ? folder + QStringLiteral("/Data.cds")
                                        : folder + QLatin1Char('/') + QString(248, QLatin1Char('d')) +
                                              QStringLiteral(".cds");
  // Written under a short name first: the long name leaves no room for a temporary file.
  const QString shortPath = folder + QStringLiteral("/court.cds");
  WriteTable(shortPath, {{0, QStringLiteral("ancien")}, {1, QStringLiteral("autre")}});
  ASSERT_TRUE(QFile::rename(shortPath, path));
  TMyClientDataSet table;
  table.SetFileName(path);
  table.Open();
  table.Last();
  AppendNamed(table, QStringLiteral("nouveau"));
  table.First();
  if (c.readOnlyFolder) {
    QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    if (::geteuid() == 0) {
      QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
      GTEST_SKIP() << "folder permissions do not bind the super-user";
    }
  }
  EXPECT_THROW(table.SaveToFile(), std::exception);
  QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
  EXPECT_EQ(NamesInFile(path), QStringList({QStringLiteral("ancien"), QStringLiteral("autre")}));
  EXPECT_TRUE(table.DataChanged());
  EXPECT_EQ(table.RecordCount(), 3);
  EXPECT_EQ(table.FieldByName(QStringLiteral("Nom")).AsString(), QStringLiteral("ancien"));
  EXPECT_FALSE(table.ControlsDisabled());
}

INSTANTIATE_TEST_SUITE_P(Cases, FailedSave,
                         ::testing::Values(FailedSaveCase{"ReadOnlyFolder", true},
                                           FailedSaveCase{"NoRoomForTheTemporaryFile", false}),
                         [](const auto &info) { return std::string(info.param.name); });

// Explicit loads of a file that is not a readable table.
struct DamagedCase {
  const char *name;
  QByteArray content;  // empty name: the file is missing
  bool truncateValidTable;
};

class DamagedFile : public ::testing::TestWithParam<DamagedCase> {
protected:
  TempDir dir;
  QString path = dir.file(QStringLiteral("Data.cds"));
  QString backup = dir.file(QStringLiteral("Data.bak"));

  void MakeDamaged()
  {
    const DamagedCase &c = GetParam();
    if (c.truncateValidTable) {
      WriteTable(path, {{0, QStringLiteral("x")}, {1, QStringLiteral("y")}});
      const QByteArray whole = Bytes(path);
      dir.write(QStringLiteral("Data.cds"), whole.left(whole.size() / 2));
    } else {
      dir.write(QStringLiteral("Data.cds"), c.content);
    }
  }
};

TEST_P(DamagedFile, WithABackupOneMessageAndTheBackupReplacesTheFile)
{
  MakeDamaged();
  WriteTable(backup, {{0, QStringLiteral("sauvegarde")}});
  ScriptedDialogs dialogs;
  TMyClientDataSet table;
  table.SetFileName(path);
  ASSERT_NO_THROW(table.LoadFromFile(true));
  EXPECT_EQ(dialogs.messages, QStringList({kTryingBackup}));
  EXPECT_EQ(Names(table), QStringList({QStringLiteral("sauvegarde")}));
  EXPECT_FALSE(QFile::exists(backup));
  EXPECT_EQ(NamesInFile(path), QStringList({QStringLiteral("sauvegarde")}));
}

TEST_P(DamagedFile, WithoutABackupTheLoadFailsNamingTheFileOnly)
{
  MakeDamaged();
  ScriptedDialogs dialogs;
  TMyClientDataSet table;
  table.SetFileName(path);
  try {
    table.LoadFromFile(true);
    FAIL() << "the load should fail";
  } catch (const EDatabaseError &error) {
    EXPECT_EQ(error.Message(), kDamagedNoBackup);
  }
  EXPECT_TRUE(dialogs.messages.isEmpty());
  EXPECT_FALSE(table.Active());
}

TEST_P(DamagedFile, WithADamagedBackupTooTheLoadFailsAfterTheMessage)
{
  MakeDamaged();
  dir.write(QStringLiteral("Data.bak"), QByteArrayLiteral("not a table either"));
  ScriptedDialogs dialogs;
  TMyClientDataSet table;
  table.SetFileName(path);
  try {
    table.LoadFromFile(true);
    FAIL() << "the load should fail";
  } catch (const EDatabaseError &error) {
    EXPECT_EQ(error.Message(), kDamagedNoBackup);
  }
  EXPECT_EQ(dialogs.messages, QStringList({kTryingBackup}));
}

TEST_P(DamagedFile, OpeningFailsWithAnErrorNotACrash)
{
  MakeDamaged();
  TMyClientDataSet table;
  table.SetFileName(path);
  EXPECT_THROW(table.Open(), EDatabaseError);
  EXPECT_FALSE(table.Active());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DamagedFile,
    ::testing::Values(DamagedCase{"Empty", QByteArray(), false},
                      DamagedCase{"Truncated", QByteArray(), true},
                      DamagedCase{"PlainText", QByteArrayLiteral("ID;Nom\n1;x\n"), false},
                      DamagedCase{"SqliteHeaderOnly", QByteArrayLiteral("SQLite format 3\0garbage"), false}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(TableStore, LoadEventsSurroundTheLoadAndControlsStaySuspendedWhenAsked)
{
  WriteTable(path, {{0, QStringLiteral("a")}});
  QStringList calls;
  table.BeforeLoadFromFile = [&](TClientDataSet &) { calls << QStringLiteral("before"); };
  table.AfterLoadFromFile = [&](TClientDataSet &) { calls << QStringLiteral("after"); };
  table.LoadFromFile(false, path);
  EXPECT_EQ(calls, QStringList({QStringLiteral("before"), QStringLiteral("after")}));
  EXPECT_TRUE(table.ControlsDisabled());
}

TEST_F(TableStore, DuplicateCopiesEveryFieldButTheNumber)
{
  OpenWith({{0, QStringLiteral("a")}, {1, QStringLiteral("b")}});
  table.Locate(QStringLiteral("Nom"), QStringLiteral("a"));
  table.Edit();
  table.FieldByName(QStringLiteral("Valeur")).SetAsInteger(42);
  table.Duplicate(true, true);
  EXPECT_EQ(table.State(), TDataSetState::dsBrowse);
  EXPECT_EQ(table.RecordCount(), 3);
  EXPECT_EQ(table.FieldByName(QStringLiteral("ID")).AsInteger(), 2);
  EXPECT_EQ(table.FieldByName(QStringLiteral("Nom")).AsString(), QStringLiteral("a"));
  EXPECT_EQ(table.FieldByName(QStringLiteral("Valeur")).AsInteger(), 42);
  table.Locate(QStringLiteral("ID"), 0);
  EXPECT_EQ(table.FieldByName(QStringLiteral("Valeur")).AsInteger(), 42);
}

TEST_F(TableStore, DuplicateWithoutPostLeavesTheCopyBeingInserted)
{
  OpenWith({{0, QStringLiteral("a")}});
  table.Duplicate(false, false);
  EXPECT_EQ(table.State(), TDataSetState::dsInsert);
  EXPECT_EQ(table.FieldByName(QStringLiteral("Nom")).AsString(), QStringLiteral("a"));
  table.Cancel();
  EXPECT_EQ(table.RecordCount(), 1);
}

TEST_F(TableStore, IndexHelpersNameIndexesAfterTheirField)
{
  OpenWith({{0, QStringLiteral("b")}, {1, QStringLiteral("A")}});
  EXPECT_EQ(table.GetAutoIncField(), QStringLiteral("ID"));
  EXPECT_EQ(table.AddIndexAutoInc(), QStringLiteral("ID"));
  table.AddIndexOnField(QStringLiteral("Inconnu"), true);
  table.AddIndexOnField(QString(), true);
  table.AddIndexOnField(QStringLiteral("Nom"), true);
  EXPECT_EQ(table.IndexName(), QStringLiteral("IXNom"));
  table.First();
  EXPECT_EQ(table.FieldByName(QStringLiteral("Nom")).AsString(), QStringLiteral("A"));  // case-insensitive
  table.AddIndexTable(QStringLiteral("Valeur"));
  for (const auto &def : table.IndexDefs())
    EXPECT_TRUE(def.CaseInsensitive) << def.Name.toStdString();
  const auto fieldsOf = [&](const QString &name) {
    for (const auto &def : table.IndexDefs())
      if (def.Name == name)
        return def.Fields;
    return QString();
  };
  EXPECT_EQ(fieldsOf(QStringLiteral("IXValeur")), QStringLiteral("Valeur"));
  EXPECT_EQ(fieldsOf(QStringLiteral("IXNom")), QStringLiteral("Nom"));
  table.ClearIndexDataSet();
  EXPECT_FALSE(table.Active());
  for (const QString &name : table.IndexNames())
    EXPECT_TRUE(name == TClientDataSet::DefaultOrderIndex || name == TClientDataSet::ChangeIndex)
        << name.toStdString();
}

TEST(TableStoreNames, BackupNameReplacesTheExtension)
{
  EXPECT_EQ(TMyClientDataSet::ChangeFileExt(QStringLiteral("a/Data.cds"), QStringLiteral(".bak")),
            QStringLiteral("a/Data.bak"));
  EXPECT_EQ(TMyClientDataSet::ChangeFileExt(QStringLiteral("a.b/Data"), QStringLiteral(".bak")),
            QStringLiteral("a.b/Data.bak"));
}

}  // namespace
