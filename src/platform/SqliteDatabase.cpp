#include "platform/SqliteDatabase.h"

#include <sqlite3.h>

TSqliteDatabase::TSqliteDatabase(const QString &path, TMode mode) : FPath(path)
{
  const int flags = mode == TMode::ReadOnly ? SQLITE_OPEN_READONLY
                                            : SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;
  const int code = sqlite3_open_v2(path.toUtf8().constData(), &FDb, flags | SQLITE_OPEN_NOMUTEX,
                                   nullptr);
  if (code != SQLITE_OK)
    Fail(QStringLiteral("ouverture"));
}

TSqliteDatabase::~TSqliteDatabase()
{
  sqlite3_close_v2(FDb);
}

void TSqliteDatabase::Close()
{
  if (FDb == nullptr)
    return;
  const int code = sqlite3_close(FDb);
  if (code != SQLITE_OK)
    Fail(QStringLiteral("fermeture"));
  FDb = nullptr;
}

void TSqliteDatabase::Fail(const QString &context) const
{
  const QString reason = FDb != nullptr ? QString::fromUtf8(sqlite3_errmsg(FDb))
                                        : QStringLiteral("mémoire insuffisante");
  throw ESqliteError(QStringLiteral("Fichier « %1 » : erreur SQLite (%2) : %3")
                           .arg(FPath, context, reason));
}

void TSqliteDatabase::Execute(const char *sql)
{
  if (sqlite3_exec(FDb, sql, nullptr, nullptr, nullptr) != SQLITE_OK)
    Fail(QString::fromUtf8(sql).section(QLatin1Char(' '), 0, 1));
}

TSqliteStatement::TSqliteStatement(TSqliteDatabase &db, const QString &sql) : FDb(db)
{
  const QByteArray text = sql.toUtf8();
  if (sqlite3_prepare_v2(db.Handle(), text.constData(), static_cast<int>(text.size()), &FStmt,
                         nullptr) != SQLITE_OK)
    db.Fail(QStringLiteral("préparation"));
}

TSqliteStatement::~TSqliteStatement()
{
  sqlite3_finalize(FStmt);
}

void TSqliteStatement::Check(int code, const char *what)
{
  if (code != SQLITE_OK)
    FDb.Fail(QString::fromLatin1(what));
}

bool TSqliteStatement::Step()
{
  const int code = sqlite3_step(FStmt);
  if (code == SQLITE_ROW)
    return true;
  if (code == SQLITE_DONE)
    return false;
  FDb.Fail(QStringLiteral("lecture"));
}

void TSqliteStatement::Reset()
{
  Check(sqlite3_reset(FStmt), "reset");
}

int TSqliteStatement::ColumnCount() const
{
  return sqlite3_column_count(FStmt);
}

int TSqliteStatement::ColumnType(int column) const
{
  return sqlite3_column_type(FStmt, column);
}

std::int64_t TSqliteStatement::ColumnInt(int column) const
{
  return sqlite3_column_int64(FStmt, column);
}

double TSqliteStatement::ColumnDouble(int column) const
{
  return sqlite3_column_double(FStmt, column);
}

QString TSqliteStatement::ColumnText(int column) const
{
  const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(FStmt, column));
  return QString::fromUtf8(text, sqlite3_column_bytes(FStmt, column));
}

void TSqliteStatement::BindNull(int parameter)
{
  Check(sqlite3_bind_null(FStmt, parameter), "bind");
}

void TSqliteStatement::BindInt(int parameter, std::int64_t value)
{
  Check(sqlite3_bind_int64(FStmt, parameter, value), "bind");
}

void TSqliteStatement::BindDouble(int parameter, double value)
{
  Check(sqlite3_bind_double(FStmt, parameter, value), "bind");
}

void TSqliteStatement::BindText(int parameter, const QString &value)
{
  const QByteArray text = value.toUtf8();
  Check(sqlite3_bind_text64(FStmt, parameter, text.constData(),
                            static_cast<sqlite3_uint64>(text.size()), SQLITE_TRANSIENT,
                            SQLITE_UTF8),
        "bind");
}
