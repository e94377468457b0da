#include "platform/TableFile.h"

#include "platform/SqliteDatabase.h"

#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QTemporaryFile>

#include <sqlite3.h>

#include <filesystem>
#include <limits>

namespace {
// Marks our table files, so a foreign SQLite database is refused at once.
constexpr int ApplicationId = 0x51544231;  // "QTB1"
constexpr int FormatVersion = 1;

constexpr TFieldType AllTypes[] = {
    TFieldType::ftAutoInc, TFieldType::ftInteger, TFieldType::ftSmallint, TFieldType::ftWord,
    TFieldType::ftByte,    TFieldType::ftFloat,   TFieldType::ftBoolean,  TFieldType::ftString,
    TFieldType::ftDate,    TFieldType::ftTime,    TFieldType::ftDateTime};

bool FieldTypeFromName(const QString &name, TFieldType &type)
{
  for (TFieldType candidate : AllTypes) {
    if (FieldTypeName(candidate) == name) {
      type = candidate;
      return true;
    }
  }
  return false;
}

EDatabaseError Invalid(const QString &path, const QString &reason)
{
  return EDatabaseError(QStringLiteral("Le fichier « %1 » n'est pas une table valide : %2")
                            .arg(QFileInfo(path).fileName(), reason));
}

quint32 BigEndian(const QByteArray &bytes, int offset, int width)
{
  quint32 value = 0;
  for (int i = 0; i < width; ++i)
    value = (value << 8) | static_cast<unsigned char>(bytes[offset + i]);
  return value;
}

// SQLite reads missing pages of a cut file as zeros, which may go unnoticed; the
// header records the database size, so compare it with the file's.
void CheckHeader(const QString &path)
{
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly))
    throw EDatabaseError(QStringLiteral("Impossible de lire le fichier « %1 » : %2")
                             .arg(QFileInfo(path).fileName(), file.errorString()));
  const QByteArray header = file.read(100);
  if (header.size() < 100 || !header.startsWith(QByteArrayLiteral("SQLite format 3\0")))
    throw Invalid(path, QStringLiteral("ce n'est pas un fichier de table"));
  quint32 pageSize = BigEndian(header, 16, 2);
  if (pageSize == 1)
    pageSize = 65536;
  const quint32 pageCount = BigEndian(header, 28, 4);
  const bool countValid = BigEndian(header, 24, 4) == BigEndian(header, 92, 4);
  if (countValid && pageCount > 0 &&
      static_cast<qint64>(pageSize) * pageCount > file.size())
    throw Invalid(path, QStringLiteral("fichier tronqué"));
}

int PragmaInt(TSqliteDatabase &db, const char *pragma)
{
  TSqliteStatement statement(db, QString::fromLatin1(pragma));
  return statement.Step() ? static_cast<int>(statement.ColumnInt(0)) : 0;
}

std::vector<TFieldDef> ReadFields(const QString &path, TSqliteDatabase &db)
{
  TSqliteStatement statement(
      db, QStringLiteral("SELECT position, name, type, size, label, format, precision, "
                         "alignment, read_only, visible FROM fields ORDER BY position"));
  std::vector<TFieldDef> fields;
  QSet<QString> names;
  while (statement.Step()) {
    TFieldDef def;
    def.Name = statement.ColumnText(1);
    if (statement.ColumnInt(0) != static_cast<qint64>(fields.size()) || def.Name.isEmpty() ||
        names.contains(def.Name.toLower()))
      throw Invalid(path, QStringLiteral("définition de champ incorrecte"));
    names.insert(def.Name.toLower());
    if (!FieldTypeFromName(statement.ColumnText(2), def.DataType))
      throw Invalid(path, QStringLiteral("type inconnu pour le champ « %1 »").arg(def.Name));
    const qint64 size = statement.ColumnInt(3);
    if (size < 0 || size > 65535)
      throw Invalid(path, QStringLiteral("taille incorrecte pour le champ « %1 »").arg(def.Name));
    def.Size = static_cast<int>(size);
    def.DisplayLabel = statement.ColumnText(4);
    def.DisplayFormat = statement.ColumnText(5);
    def.Precision = static_cast<int>(statement.ColumnInt(6));
    def.Alignment = Qt::Alignment(static_cast<int>(statement.ColumnInt(7)));
    def.ReadOnly = statement.ColumnInt(8) != 0;
    def.Visible = statement.ColumnInt(9) != 0;
    fields.push_back(std::move(def));
  }
  if (fields.empty())
    throw Invalid(path, QStringLiteral("aucun champ"));
  return fields;
}

QVariant ReadCell(const QString &path, const TSqliteStatement &statement, int column,
                  const TFieldDef &def)
{
  const int storage = statement.ColumnType(column);
  if (storage == SQLITE_NULL)
    return {};
  const auto wrong = [&]() {
    return Invalid(path, QStringLiteral("valeur incorrecte dans le champ « %1 »").arg(def.Name));
  };
  switch (def.DataType) {
  case TFieldType::ftString: {
    if (storage != SQLITE_TEXT)
      throw wrong();
    QString text = statement.ColumnText(column);
    if (def.Size > 0 && text.size() > def.Size)
      text.truncate(def.Size);
    return QVariant(text);
  }
  case TFieldType::ftFloat:
  case TFieldType::ftDate:
  case TFieldType::ftTime:
  case TFieldType::ftDateTime:
    if (storage != SQLITE_FLOAT && storage != SQLITE_INTEGER)
      throw wrong();
    return QVariant(statement.ColumnDouble(column));
  case TFieldType::ftBoolean: {
    const qint64 flag = statement.ColumnInt(column);
    if (storage != SQLITE_INTEGER || (flag != 0 && flag != 1))
      throw wrong();
    return QVariant(flag != 0);
  }
  default: {
    if (storage != SQLITE_INTEGER)
      throw wrong();
    const qint64 number = statement.ColumnInt(column);
    if (number < std::numeric_limits<qint32>::min() || number > std::numeric_limits<qint32>::max())
      throw wrong();
    return QVariant(static_cast<int>(number));
  }
  }
}

void WriteCell(TSqliteStatement &statement, int parameter, const TFieldDef &def,
               const QVariant &value)
{
  if (value.isNull()) {
    statement.BindNull(parameter);
    return;
  }
  switch (def.DataType) {
  case TFieldType::ftString:
    statement.BindText(parameter, value.toString());
    break;
  case TFieldType::ftFloat:
  case TFieldType::ftDate:
  case TFieldType::ftTime:
  case TFieldType::ftDateTime:
    statement.BindDouble(parameter, value.toDouble());
    break;
  case TFieldType::ftBoolean:
    statement.BindInt(parameter, value.toBool() ? 1 : 0);
    break;
  default:
    statement.BindInt(parameter, value.toLongLong());
    break;
  }
}

QString RowsTableSql(int columnCount)
{
  QStringList columns;
  for (int i = 0; i < columnCount; ++i)
    columns << QStringLiteral("f%1").arg(i);
  return QStringLiteral("CREATE TABLE rows(%1)").arg(columns.join(QLatin1Char(',')));
}

void WriteDatabase(const QString &path, const std::vector<TTableColumn> &columns,
                   const std::vector<std::unique_ptr<TRecord>> &rows)
{
  TSqliteDatabase db(path, TSqliteDatabase::TMode::ReadWrite);
  // The file is private until renamed into place: no journal is needed.
  db.Execute("PRAGMA journal_mode=OFF");
  db.Execute("PRAGMA synchronous=FULL");
  db.Execute(QStringLiteral("PRAGMA application_id=%1").arg(ApplicationId).toLatin1().constData());
  db.Execute(QStringLiteral("PRAGMA user_version=%1").arg(FormatVersion).toLatin1().constData());
  db.Execute("BEGIN");
  db.Execute("CREATE TABLE fields(position INTEGER PRIMARY KEY, name TEXT NOT NULL, "
             "type TEXT NOT NULL, size INTEGER NOT NULL, label TEXT NOT NULL, "
             "format TEXT NOT NULL, precision INTEGER NOT NULL, alignment INTEGER NOT NULL, "
             "read_only INTEGER NOT NULL, visible INTEGER NOT NULL)");
  const int count = static_cast<int>(columns.size());
  db.Execute(RowsTableSql(count).toLatin1().constData());
  {
    TSqliteStatement insertField(db, QStringLiteral("INSERT INTO fields VALUES(?,?,?,?,?,?,?,?,?,?)"));
    for (int i = 0; i < count; ++i) {
      const TFieldDef &def = *columns[i].Def;
      insertField.BindInt(1, i);
      insertField.BindText(2, def.Name);
      insertField.BindText(3, FieldTypeName(def.DataType));
      insertField.BindInt(4, def.Size);
      insertField.BindText(5, def.DisplayLabel);
      insertField.BindText(6, def.DisplayFormat);
      insertField.BindInt(7, def.Precision);
      insertField.BindInt(8, static_cast<int>(def.Alignment));
      insertField.BindInt(9, def.ReadOnly ? 1 : 0);
      insertField.BindInt(10, def.Visible ? 1 : 0);
      insertField.Step();
      insertField.Reset();
    }
    QStringList marks;
    for (int i = 0; i < count; ++i)
      marks << QStringLiteral("?");
    TSqliteStatement insertRow(
        db, QStringLiteral("INSERT INTO rows VALUES(%1)").arg(marks.join(QLatin1Char(','))));
    for (const auto &row : rows) {
      for (int i = 0; i < count; ++i)
        WriteCell(insertRow, i + 1, *columns[i].Def, row->Values[columns[i].ValueIndex]);
      insertRow.Step();
      insertRow.Reset();
    }
  }
  db.Execute("COMMIT");
  db.Close();
}
}  // namespace

TTableContent ReadTableFile(const QString &path)
{
  const QFileInfo info(path);
  if (!info.exists() || !info.isFile())
    throw EDatabaseError(QStringLiteral("Aucune donnée à ouvrir : le fichier « %1 » est introuvable")
                             .arg(info.fileName()));
  if (info.size() == 0)
    throw Invalid(path, QStringLiteral("fichier vide"));
  CheckHeader(path);
  try {
    TSqliteDatabase db(path, TSqliteDatabase::TMode::ReadOnly);
    if (PragmaInt(db, "PRAGMA application_id") != ApplicationId)
      throw Invalid(path, QStringLiteral("ce n'est pas un fichier de table"));
    if (PragmaInt(db, "PRAGMA user_version") != FormatVersion)
      throw Invalid(path, QStringLiteral("version de format inconnue"));
    TTableContent content;
    content.Fields = ReadFields(path, db);
    const int count = static_cast<int>(content.Fields.size());
    TSqliteStatement select(db, QStringLiteral("SELECT * FROM rows ORDER BY rowid"));
    if (select.ColumnCount() != count)
      throw Invalid(path, QStringLiteral("nombre de colonnes incorrect"));
    while (select.Step()) {
      auto record = std::make_unique<TRecord>();
      record->Values.reserve(count);
      for (int i = 0; i < count; ++i)
        record->Values.push_back(ReadCell(path, select, i, content.Fields[i]));
      content.Rows.push_back(std::move(record));
    }
    return content;
  } catch (const ESqliteError &error) {
    throw Invalid(path, error.Message());
  }
}

void WriteTableFile(const QString &path, const std::vector<TTableColumn> &columns,
                    const std::vector<std::unique_ptr<TRecord>> &rows)
{
  const auto failed = [&](const QString &reason) {
    return EDatabaseError(QStringLiteral("Impossible d'écrire le fichier « %1 » : %2")
                              .arg(QFileInfo(path).fileName(), reason));
  };
  QTemporaryFile temporary(path + QStringLiteral(".tmp-XXXXXX"));
  temporary.setAutoRemove(false);
  if (!temporary.open())
    throw failed(temporary.errorString());
  const QString temporaryPath = temporary.fileName();
  temporary.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                           QFileDevice::ReadGroup | QFileDevice::ReadOther);
  temporary.close();
  try {
    WriteDatabase(temporaryPath, columns, rows);
  } catch (const EDatabaseError &error) {
    QFile::remove(temporaryPath);
    throw failed(error.Message());
  }
  std::error_code code;
  std::filesystem::rename(QFile::encodeName(temporaryPath).constData(),
                          QFile::encodeName(path).constData(), code);
  if (code) {
    QFile::remove(temporaryPath);
    throw failed(QString::fromStdString(code.message()));
  }
}
