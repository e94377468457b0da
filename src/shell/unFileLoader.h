#pragma once
// A delimited text table held in memory, read by spreadsheet-style column letters
// ("A", "E", "AB") and 1-based row numbers.

#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantList>

#include <vector>

using TMapping = QStringList;     // column letters, or "-" / "+" for a column to skip
using TDataValue = QVariantList;  // cell values

enum class TErrorLoading { elOK, elFile, elData, elZero, elCustom };

class TFileLoader {
public:
  virtual ~TFileLoader() = default;
  virtual bool OpenFile(const QString &aFile, const QString &aDelimiter) = 0;
  virtual void CloseFile(const QString &aName, bool aSave) = 0;
  // Reads record aId through the mapping; elZero when the stop column is empty.
  virtual TErrorLoading LoadFileData(int aId, const TMapping &aMapping, TDataValue &aData,
                                     QChar aColStop);
  virtual QVariant GetCell(const QString &ACol, int ARow) const = 0;
  virtual void SetCell(const QString &ACol, int ARow, const QVariant &aValue) = 0;
};

// "A" = 1, "c" = 3, "AA" = 27; only the first two characters count.
int ColumnIndex(const QString &column);

class TCSVLoader final : public TFileLoader {
public:
  bool OpenFile(const QString &aFile, const QString &aDelimiter) override;
  void CloseFile(const QString &aName, bool aSave) override;
  void LoadFromStringList(const QStringList &aList, QChar aDelimiter);

  QVariant GetCell(const QString &ACol, int ARow) const override;
  void SetCell(const QString &ACol, int ARow, const QVariant &aValue) override;
  // The cell read as a number with "." or "," as separator; 0 when empty or not a number.
  double GetAsDouble(const QString &ACol, int ARow) const;
  // GetAsDouble rounded to the nearest integer, halves to even.
  int GetAsInteger(const QString &ACol, int ARow) const;
  QString GetLine(int ARow) const;
  int RowCount() const { return static_cast<int>(FDataArray.size()); }

  QChar QuoteChar() const { return FQuoteChar; }
  void SetQuoteChar(QChar quote) { FQuoteChar = quote; }
  bool RemapEndLine() const { return FRemapEndLine; }
  void SetRemapEndLine(bool remap) { FRemapEndLine = remap; }
  QString FileName() const { return FFileName; }

private:
  bool LoadCSVFile(const QString &aFile, QChar aDelimiter);
  void BuildRows();
  QString JoinRow(const QStringList &row) const;

  QStringList FCSVFile;
  QString FFileName;
  QChar FDelimiter = QLatin1Char(';');
  std::vector<QStringList> FDataArray;
  QChar FQuoteChar;  // null: no quoting
  bool FRemapEndLine = true;
};
