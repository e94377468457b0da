// Table files: what a save writes comes back whole, anything else is refused without
// harm, and a failed save leaves the previous file as it was.
#include "TableBuilders.h"

#include "platform/TableFile.h"

#include "support/QtPrinters.h"
#include "support/TempDir.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <csignal>
#include <sys/resource.h>
#include <unistd.h>

namespace {
// One field of every type, accented and spaced names included.
std::unique_ptr<TClientDataSet> EveryType()
{
  auto table = std::make_unique<TClientDataSet>();
  table->SetName("Types");
  table->AddFieldDef("ID", TFieldType::ftAutoInc);
  table->AddFieldDef("Entier", TFieldType::ftInteger);
  table->AddFieldDef("Court", TFieldType::ftSmallint);
  table->AddFieldDef("ID_Source", TFieldType::ftWord);
  table->AddFieldDef("Octet", TFieldType::ftByte);
  TFieldDef &chute = table->AddFieldDef("Chute Tension (%)", TFieldType::ftFloat);
  chute.DisplayLabel = "Coefficient Température Tension (%)";
  chute.DisplayFormat = "#0.00";
  chute.Precision = 4;
  table->AddFieldDef("Transfo", TFieldType::ftBoolean);
  TFieldDef &modele = table->AddFieldDef("Modèle", TFieldType::ftString, 8);
  modele.Alignment = Qt::AlignCenter;
  modele.Visible = false;
  table->AddFieldDef("Jour", TFieldType::ftDate);
  table->AddFieldDef("Heure", TFieldType::ftTime);
  table->AddFieldDef("Date", TFieldType::ftDateTime);
  table->CreateDataSet();
  table->FieldByName("ID").SetReadOnly(false);
  return table;
}

void FillEveryType(TClientDataSet &table)
{
  AddRow(table, {{"ID", 7},
                 {"Entier", -2147483647 - 1},
                 {"Court", -32768},
                 {"ID_Source", 65535},
                 {"Octet", 255},
                 {"Chute Tension (%)", -0.4375},
                 {"Transfo", true},
                 {"Modèle", "Schüco ±été 2000"},
                 {"Jour", EncodeDate(2024, 2, 29)},
                 {"Heure", EncodeTime(23, 59, 58)},
                 {"Date", EncodeDateTime(1899, 12, 30, 6, 0, 0)}});
  AddRow(table, {{"ID", 8}});  // every other field null
  AddRow(table, {{"ID", 9}, {"Transfo", false}, {"Modèle", ""}, {"Entier", 0}});
}

std::vector<std::vector<QVariant>> AllValues(TClientDataSet &table)
{
  std::vector<std::vector<QVariant>> rows;
  for (table.First(); !table.Eof(); table.Next()) {
    std::vector<QVariant> row;
    for (int i = 0; i < table.FieldCount(); ++i)
      row.push_back(table.Fields(i).AsVariant());
    rows.push_back(row);
  }
  return rows;
}

QByteArray ReadBytes(const QString &path)
{
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void RunSql(const QString &path, const char *sql)
{
  sqlite3 *db = nullptr;
  ASSERT_EQ(sqlite3_open(path.toUtf8().constData(), &db), SQLITE_OK);
  char *error = nullptr;
  const int code = sqlite3_exec(db, sql, nullptr, nullptr, &error);
  EXPECT_EQ(code, SQLITE_OK) << (error != nullptr ? error : "");
  sqlite3_free(error);
  sqlite3_close(db);
}

QStringList FilesIn(const TempDir &dir)
{
  return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}
}  // namespace

TEST(TableFile, RoundTripKeepsEveryTypeNullsAndFieldDefinitions)
{
  TempDir dir;
  const QString file = dir.file("Types.cds");
  auto written = EveryType();
  FillEveryType(*written);
  EXPECT_EQ(written->FieldByName("Modèle").AsString(), "");  // last row
  written->SaveRowsToFile(file);

  TClientDataSet read;
  read.SetFileName(file);
  read.Open();
  ASSERT_EQ(read.FieldCount(), written->FieldCount());
  for (int i = 0; i < read.FieldCount(); ++i) {
    const TFieldDef &a = written->Fields(i).Def();
    const TFieldDef &b = read.Fields(i).Def();
    EXPECT_EQ(a.Name, b.Name);
    EXPECT_EQ(a.DataType, b.DataType) << a.Name.toStdString();
    EXPECT_EQ(a.Size, b.Size) << a.Name.toStdString();
    EXPECT_EQ(a.DisplayLabel, b.DisplayLabel);
    EXPECT_EQ(a.DisplayFormat, b.DisplayFormat);
    EXPECT_EQ(a.Precision, b.Precision);
    EXPECT_EQ(a.Alignment, b.Alignment);
    EXPECT_EQ(a.Visible, b.Visible);
    EXPECT_EQ(a.ReadOnly, b.ReadOnly);
  }
  EXPECT_EQ(AllValues(read), AllValues(*written));
  read.First();
  EXPECT_EQ(read.FieldByName("Modèle").AsString(), "Schüco ±");  // cut to 8 on entry
  EXPECT_EQ(read.FieldByName("Entier").AsInteger(), -2147483647 - 1);
  EXPECT_EQ(read.FieldByName("Chute Tension (%)").DisplayLabel(),
            "Coefficient Température Tension (%)");
  read.Next();
  for (int i = 1; i < read.FieldCount(); ++i)
    EXPECT_TRUE(read.Fields(i).IsNull()) << read.Fields(i).FieldName().toStdString();
  read.Next();
  EXPECT_FALSE(read.FieldByName("Modèle").IsNull());  // empty text is not null
  EXPECT_FALSE(read.FieldByName("Transfo").IsNull());
  EXPECT_FALSE(read.DataChanged());
  EXPECT_EQ(FilesIn(dir), QStringList{"Types.cds"});  // no temporary file left behind
}

TEST(TableFile, SavesAllRowsInTheirOwnOrderWhateverIsShown)
{
  TempDir dir;
  TClientDataSet master;
  master.AddFieldDef("ID", TFieldType::ftInteger);
  master.CreateDataSet();
  AddRow(master, {{"ID", 2}});
  auto sites = MakeSites({{{"ID", 3}, {"IDSite", 2}},
                          {{"ID", 1}, {"IDSite", 1}},
                          {{"ID", 2}, {"IDSite", 2}}});
  sites->SetIndexFieldNames("ID");
  sites->SetFilter("IDSite=2");
  sites->SetFiltered(true);
  sites->SetMasterSource(&master, "ID", "ID");
  ASSERT_EQ(sites->RecordCount(), 1);
  sites->SaveRowsToFile(dir.file("Sites.cds"));

  TClientDataSet read;
  read.LoadRowsFromFile(dir.file("Sites.cds"));
  EXPECT_EQ(ShownIds(read), (std::vector<int>{3, 1, 2}));

  // An ordering and an index may be named before the fields come from the file.
  TClientDataSet ordered;
  ordered.SetFileName(dir.file("Sites.cds"));
  ordered.SetIndexFieldNames("IDSite;ID");
  ordered.AddIndex("IXID", "ID", true);
  ordered.Open();
  EXPECT_EQ(ShownIds(ordered), (std::vector<int>{1, 2, 3}));
  ordered.SetIndexName("IXID");
  EXPECT_EQ(ShownIds(ordered), (std::vector<int>{1, 2, 3}));
  EXPECT_THROW(ordered.SetIndexFieldNames("Absent"), EDatabaseError);
}

TEST(TableFile, OpeningKeepsFieldsDefinedInCodeAndTheirLookups)
{
  TempDir dir;
  const QString file = dir.file("Data.cds");
  {
    auto sites = MakeSites({{{"ID", 1}, {"IDSite", 4}, {"Site", "Toit"}}});
    sites->SaveRowsToFile(file);
  }
  TClientDataSet names;
  names.AddFieldDef("IDSite", TFieldType::ftInteger);
  names.AddFieldDef("Nom", TFieldType::ftString, 20);
  names.CreateDataSet();
  AddRow(names, {{"IDSite", 4}, {"Nom", "Quatre"}});

  TClientDataSet sites;
  sites.AddFieldDef("ID", TFieldType::ftAutoInc);
  sites.AddFieldDef("IDSite", TFieldType::ftInteger).DisplayLabel = "Site n°";
  sites.AddLookupField("NomSite", TFieldType::ftString, 20, "IDSite", &names, "IDSite", "Nom");
  sites.AddFieldDef("Nouveau", TFieldType::ftFloat);  // not in the file yet
  sites.SetFileName(file);
  sites.Open();
  QStringList fieldNames;
  for (int i = 0; i < sites.FieldCount(); ++i)
    fieldNames << sites.Fields(i).FieldName();
  EXPECT_EQ(fieldNames, (QStringList{"ID", "IDSite", "NomSite", "Nouveau", "Site", "Production"}));
  EXPECT_EQ(sites.FieldByName("IDSite").DisplayLabel(), "Site n°");
  EXPECT_EQ(sites.FieldByName("NomSite").AsString(), "Quatre");
  EXPECT_EQ(sites.FieldByName("Site").AsString(), "Toit");
  EXPECT_TRUE(sites.FieldByName("Nouveau").IsNull());

  // Loading another layout keeps the fields defined in code (same objects) and replaces
  // those that came from the previous file.
  TField *const idSite = &sites.FieldByName("IDSite");
  TClientDataSet other;
  other.AddFieldDef("IDSite", TFieldType::ftInteger);
  other.AddFieldDef("Autre", TFieldType::ftString, 5).DisplayLabel = "Autre chose";
  other.CreateDataSet();
  AddRow(other, {{"IDSite", 4}, {"Autre", "x"}});
  other.SaveRowsToFile(dir.file("Other.cds"));
  sites.LoadRowsFromFile(dir.file("Other.cds"));
  fieldNames.clear();
  for (int i = 0; i < sites.FieldCount(); ++i)
    fieldNames << sites.Fields(i).FieldName();
  EXPECT_EQ(fieldNames, (QStringList{"ID", "IDSite", "NomSite", "Nouveau", "Autre"}));
  EXPECT_EQ(&sites.FieldByName("IDSite"), idSite);
  EXPECT_EQ(sites.FieldByName("Autre").DisplayLabel(), "Autre chose");
  EXPECT_EQ(sites.FieldByName("NomSite").AsString(), "Quatre");
}

TEST(TableFile, AnythingButASoundTableIsRefusedAndTheTableKeepsItsRows)
{
  TempDir dir;
  auto big = MakeSites();
  for (int id = 0; id < 3000; ++id)
    AddRow(*big, {{"ID", id}, {"IDSite", id % 7}, {"Site", QString("Site %1").arg(id)}});
  const QString good = dir.file("good.cds");
  big->SaveRowsToFile(good);
  const QByteArray bytes = ReadBytes(good);
  ASSERT_GT(bytes.size(), 16 * 1024);

  const auto copyOfGood = [&](const QString &name, const char *sql) {
    const QString path = dir.write(name, bytes);
    RunSql(path, sql);
    return path;
  };
  sqlite3 *foreign = nullptr;
  const QString foreignPath = dir.file("foreign.cds");
  sqlite3_open(foreignPath.toUtf8().constData(), &foreign);
  sqlite3_exec(foreign, "CREATE TABLE t(a); INSERT INTO t VALUES(1);", nullptr, nullptr, nullptr);
  sqlite3_close(foreign);

  const std::vector<std::pair<const char *, QString>> cases = {
      {"missing", dir.file("absent.cds")},
      {"empty", dir.write("empty.cds", {})},
      {"text", dir.write("text.cds", "ID;IDSite\n1;2\n")},
      {"garbage", dir.write("garbage.cds", QByteArray(5000, '\xA5'))},
      {"header only", dir.write("header.cds", bytes.left(100))},
      {"half", dir.write("half.cds", bytes.left(bytes.size() / 2))},
      {"one page short", dir.write("short.cds", bytes.left(bytes.size() - 4096))},
      {"corrupt middle", dir.write("corrupt.cds", bytes.left(8192) + QByteArray(4096, '\x00') +
                                                      bytes.mid(12288))},
      {"foreign database", foreignPath},
      {"no rows table", copyOfGood("norows.cds", "DROP TABLE rows")},
      {"no field table", copyOfGood("nofields.cds", "DROP TABLE fields")},
      {"unknown type", copyOfGood("type.cds", "UPDATE fields SET type='Blob' WHERE position=1")},
      {"column missing", copyOfGood("columns.cds", "DELETE FROM fields WHERE position=3")},
      {"text in integer", copyOfGood("cell.cds", "UPDATE rows SET f1='deux' WHERE rowid=5")},
      {"integer too large", copyOfGood("range.cds", "UPDATE rows SET f0=9999999999 WHERE rowid=5")},
      {"duplicate field", copyOfGood("dup.cds", "UPDATE fields SET name='ID' WHERE position=1")},
  };
  auto table = MakeSites({{{"ID", 42}}});
  for (const auto &[what, path] : cases) {
    EXPECT_THROW(ReadTableFile(path), EDatabaseError) << what;
    try {
      table->LoadRowsFromFile(path);
      ADD_FAILURE() << "loaded: " << what;
    } catch (const EDatabaseError &error) {
      EXPECT_FALSE(error.Message().isEmpty()) << what;
    }
    EXPECT_TRUE(table->Active()) << what;
    EXPECT_EQ(ShownIds(*table), std::vector<int>{42}) << what;

    TClientDataSet opened;
    opened.SetFileName(path);
    EXPECT_THROW(opened.Open(), EDatabaseError) << what;
    EXPECT_FALSE(opened.Active()) << what;
  }
  TClientDataSet noFile;
  try {
    noFile.SetFileName(dir.file("Module.cds"));
    noFile.Open();
    FAIL() << "opened a missing file";
  } catch (const EDatabaseError &error) {
    EXPECT_EQ(error.Message(), "Aucune donnée à ouvrir : le fichier « Module.cds » est introuvable");
  }
  EXPECT_NO_THROW(ReadTableFile(good));
}

TEST(TableFile, DamagedBytesAnywhereNeverCrashTheLoad)
{
  TempDir dir;
  auto table = EveryType();
  for (int id = 0; id < 300; ++id)
    AddRow(*table, {{"ID", id}, {"Modèle", QString("M%1").arg(id)}, {"Chute Tension (%)", id / 7.0}});
  const QString good = dir.file("good.cds");
  table->SaveRowsToFile(good);
  const QByteArray bytes = ReadBytes(good);

  QRandomGenerator random(20240621);
  int refused = 0;
  for (int round = 0; round < 60; ++round) {
    QByteArray damaged = bytes;
    for (int flips = 0; flips < 4; ++flips)
      damaged[random.bounded(static_cast<int>(damaged.size()))] = static_cast<char>(random.bounded(256));
    const QString path = dir.write("damaged.cds", damaged);
    TClientDataSet read;
    try {
      read.LoadRowsFromFile(path);
      EXPECT_LE(read.RecordCount(), 300);  // a flip in unused space may go unnoticed
    } catch (const EDatabaseError &) {
      ++refused;
    }
  }
  EXPECT_GT(refused, 0);
}

namespace {
void ExpectPreviousFileIntact(const QString &file, const QByteArray &before)
{
  EXPECT_EQ(ReadBytes(file), before);
  TClientDataSet read;
  read.LoadRowsFromFile(file);
  EXPECT_EQ(ShownIds(read), (std::vector<int>{1, 2}));
}
}  // namespace

TEST(TableFile, AFailedSaveLeavesThePreviousFileReadable)
{
  TempDir dir;
  const QString file = dir.file("Data.cds");
  auto table = MakeSites({{{"ID", 1}}, {{"ID", 2}}});
  table->SaveRowsToFile(file);
  const QByteArray before = ReadBytes(file);
  for (int id = 3; id < 4000; ++id)
    AddRow(*table, {{"ID", id}, {"Site", "Un long nom"}, {"Production", id * 1.5}});

  // The disk fills up while writing: writes past the limit fail.
  {
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit previous{};
    getrlimit(RLIMIT_FSIZE, &previous);
    rlimit limited = previous;
    limited.rlim_cur = static_cast<rlim_t>(before.size()) + 16 * 1024;
    setrlimit(RLIMIT_FSIZE, &limited);
    EXPECT_THROW(table->SaveRowsToFile(file), EDatabaseError);
    setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, previousHandler);
  }
  EXPECT_TRUE(table->DataChanged());
  ExpectPreviousFileIntact(file, before);
  EXPECT_EQ(FilesIn(dir), QStringList{"Data.cds"});

  // A folder that cannot be written to (not enforced for the superuser).
  QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
  if (geteuid() != 0) {
    EXPECT_THROW(table->SaveRowsToFile(file), EDatabaseError);
    ExpectPreviousFileIntact(file, before);
  }
  QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                        QFileDevice::ExeOwner);

  // The target is in the way: a folder of that name.
  const QString blocked = dir.file("Blocked.cds");
  QDir().mkpath(blocked + "/inside");
  EXPECT_THROW(table->SaveRowsToFile(blocked), EDatabaseError);
  EXPECT_TRUE(QFileInfo(blocked).isDir());
  EXPECT_EQ(FilesIn(dir), QStringList{"Data.cds"});

  table->SaveRowsToFile(file);
  EXPECT_FALSE(table->DataChanged());
  TClientDataSet read;
  read.LoadRowsFromFile(file);
  EXPECT_EQ(read.RecordCount(), 3999);
}
