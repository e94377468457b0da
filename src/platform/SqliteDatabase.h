#pragma once
// Thin owning wrappers over the SQLite C interface; every failure throws
// EDatabaseError with SQLite's own explanation appended.

#include "platform/Field.h"

#include <QString>

#include <cstdint>

struct sqlite3;
struct sqlite3_stmt;

// A failure reported by SQLite itself.
class ESqliteError : public EDatabaseError {
public:
  using EDatabaseError::EDatabaseError;
};

class TSqliteDatabase {
public:
  enum class TMode { ReadOnly, ReadWrite };
  TSqliteDatabase(const QString &path, TMode mode);
  ~TSqliteDatabase();
  TSqliteDatabase(const TSqliteDatabase &) = delete;
  TSqliteDatabase &operator=(const TSqliteDatabase &) = delete;

  void Execute(const char *sql);
  sqlite3 *Handle() const { return FDb; }
  // Closes now so that failures to flush are reported; safe to call once.
  void Close();
  [[noreturn]] void Fail(const QString &context) const;

private:
  sqlite3 *FDb = nullptr;
  QString FPath;
};

class TSqliteStatement {
public:
  TSqliteStatement(TSqliteDatabase &db, const QString &sql);
  ~TSqliteStatement();
  TSqliteStatement(const TSqliteStatement &) = delete;
  TSqliteStatement &operator=(const TSqliteStatement &) = delete;

  // True while a row is available.
  bool Step();
  void Reset();
  int ColumnCount() const;
  int ColumnType(int column) const;  // SQLITE_INTEGER, SQLITE_FLOAT, ...
  std::int64_t ColumnInt(int column) const;
  double ColumnDouble(int column) const;
  QString ColumnText(int column) const;

  void BindNull(int parameter);
  void BindInt(int parameter, std::int64_t value);
  void BindDouble(int parameter, double value);
  void BindText(int parameter, const QString &value);

private:
  void Check(int code, const char *what);
  TSqliteDatabase &FDb;
  sqlite3_stmt *FStmt = nullptr;
};
