#include "shell/unFileLoader.h"

#include "platform/Numbers.h"
#include "platform/UserDialogs.h"

#include <QFile>
#include <QLocale>
#include <QRegularExpression>
#include <QSaveFile>

#include <algorithm>
#include <cmath>

namespace {

int LetterValue(QChar c) { return c.toUpper().unicode() - 64; }

QStringList SplitCSVLine(const QString &line, QChar delimiter, QChar quote)
{
  QStringList row;
  QString cell;
  bool quoted = false;
  for (const QChar c : line) {
    if (c == delimiter && !quoted) {
      row << cell.trimmed();
      cell.clear();
    } else if (!quote.isNull() && c == quote) {
      quoted = !quoted;
    } else {
      cell += c;
    }
  }
  row << cell.trimmed();
  while (!row.isEmpty() && row.last().isEmpty())
    row.removeLast();
  return row;
}

QString UnquoteCell(const QString &text)
{
  QString cell = text.trimmed();
  if (cell.size() >= 2 && cell.front() == QLatin1Char('"') && cell.back() == QLatin1Char('"'))
    cell = cell.mid(1, cell.size() - 2).trimmed();
  return cell;
}

// The delimiter text of OpenFile: empty means ";", "#9" the tab, else its first character.
QChar DelimiterFrom(const QString &text)
{
  if (text.isEmpty())
    return QLatin1Char(';');
  if (text == QLatin1String("#9"))
    return QLatin1Char('\t');
  return text.front();
}

}  // namespace

int ColumnIndex(const QString &column)
{
  if (column.isEmpty())
    return 0;
  int index = LetterValue(column.at(0));
  if (column.size() >= 2)
    index = index * 26 + LetterValue(column.at(1));
  return index;
}

TErrorLoading TFileLoader::LoadFileData(int aId, const TMapping &aMapping, TDataValue &aData,
                                        QChar aColStop)
{
  if (aMapping.size() != aData.size())
    return TErrorLoading::elData;
  QChar stop = aColStop;
  if (stop.isNull() && !aMapping.isEmpty() && !aMapping.first().isEmpty())
    stop = aMapping.first().front();
  try {
    for (qsizetype i = 0; i < aMapping.size(); ++i) {
      const QString &column = aMapping.at(i);
      if (column == QLatin1String("-") || column == QLatin1String("+"))
        continue;
      aData[i] = GetCell(column, aId);
      if (column == QString(stop) && aData.at(i).toString().isEmpty())
        return TErrorLoading::elZero;
    }
  } catch (const std::exception &) {
    return TErrorLoading::elFile;
  }
  return TErrorLoading::elOK;
}

bool TCSVLoader::OpenFile(const QString &aFile, const QString &aDelimiter)
{
  return LoadCSVFile(aFile, DelimiterFrom(aDelimiter));
}

bool TCSVLoader::LoadCSVFile(const QString &aFile, QChar aDelimiter)
{
  if (!QFile::exists(aFile)) {
    UserDialogs().ShowMessage(QStringLiteral("Fichier inexistant ! ..."));
    return false;
  }
  QFile file(aFile);
  if (!file.open(QIODevice::ReadOnly))
    return false;
  FFileName = aFile;
  FDelimiter = aDelimiter;
  QString text = QString::fromUtf8(file.readAll());
  // Files with carriage-return line ends may hold line feeds inside a record: those are
  // blanks, and a record line that starts with "-" begins a new record. A file without
  // any carriage return has plain line-feed ends and is read as it is.
  if (FRemapEndLine && text.contains(QLatin1Char('\r'))) {
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    text.replace(QLatin1String("\r-"), QLatin1String("\r\n"));
  }
  static const QRegularExpression lineEnd(QStringLiteral("\r\n|\r|\n"));
  FCSVFile = text.split(lineEnd);
  if (!FCSVFile.isEmpty() && FCSVFile.last().isEmpty())
    FCSVFile.removeLast();
  BuildRows();
  return true;
}

void TCSVLoader::CloseFile(const QString &aName, bool aSave)
{
  if (!FCSVFile.isEmpty() && aSave) {
    QSaveFile file(aName.isEmpty() ? FFileName : aName);
    if (file.open(QIODevice::WriteOnly)) {
      file.write(FCSVFile.join(QLatin1String("\r\n")).toUtf8());
      file.write("\r\n");
      file.commit();
    }
  }
  FCSVFile.clear();
  FDataArray.clear();
}

void TCSVLoader::LoadFromStringList(const QStringList &aList, QChar aDelimiter)
{
  FCSVFile = aList;
  FFileName.clear();
  FDelimiter = aDelimiter;
  BuildRows();
}

void TCSVLoader::BuildRows()
{
  FDataArray.clear();
  FDataArray.reserve(FCSVFile.size());
  for (const QString &line : FCSVFile)
    FDataArray.push_back(SplitCSVLine(line, FDelimiter, FQuoteChar));
}

QString TCSVLoader::JoinRow(const QStringList &row) const
{
  // Without a quote character the delimiter is strict and blanks need no quoting.
  const QChar quote = FQuoteChar.isNull() ? QChar(QLatin1Char('"')) : FQuoteChar;
  const bool strict = FQuoteChar.isNull();
  QStringList cells;
  cells.reserve(row.size());
  for (const QString &cell : row) {
    const bool needsQuotes = std::any_of(cell.begin(), cell.end(), [&](QChar c) {
      return c == quote || c == FDelimiter || (!strict && c.unicode() <= ' ');
    });
    if (needsQuotes) {
      QString escaped = cell;
      escaped.replace(quote, QString(2, quote));
      cells << quote + escaped + quote;
    } else {
      cells << cell;
    }
  }
  return cells.join(FDelimiter);
}

QVariant TCSVLoader::GetCell(const QString &ACol, int ARow) const
{
  if (ARow < 1 || ARow > RowCount() || ACol.isEmpty())
    return {};
  const QStringList &row = FDataArray[static_cast<size_t>(ARow - 1)];
  const int col = ColumnIndex(ACol);
  if (col < 1 || row.size() < col)
    return {};
  return UnquoteCell(row.at(col - 1));
}

void TCSVLoader::SetCell(const QString &ACol, int ARow, const QVariant &aValue)
{
  const int col = ColumnIndex(ACol);
  if (ARow < 1 || ARow > RowCount() || col < 1)
    return;
  QStringList &row = FDataArray[static_cast<size_t>(ARow - 1)];
  while (row.size() < col)
    row << QString();
  row[col - 1] = aValue.toString();
  FCSVFile[ARow - 1] = JoinRow(row).remove(QLatin1Char('"'));
}

double TCSVLoader::GetAsDouble(const QString &ACol, int ARow) const
{
  QString text = GetCell(ACol, ARow).toString();
  const qsizetype comma = text.indexOf(QLatin1Char(','));
  if (comma >= 0)
    text[comma] = QLatin1Char('.');
  bool ok = false;
  const double value = QLocale::c().toDouble(text.trimmed(), &ok);
  return ok && std::isfinite(value) ? value : 0.0;
}

int TCSVLoader::GetAsInteger(const QString &ACol, int ARow) const
{
  return RoundToInt(GetAsDouble(ACol, ARow));
}

QString TCSVLoader::GetLine(int ARow) const
{
  if (ARow < 1 || ARow > RowCount())
    return {};
  return JoinRow(FDataArray[static_cast<size_t>(ARow - 1)]);
}
