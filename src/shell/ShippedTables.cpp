#include "shell/ShippedTables.h"

#include "shell/MyClientDataSet.h"
#include "shell/dmDataTables.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <functional>
#include <vector>

namespace {

using TLayout = std::function<void(TClientDataSet &)>;

struct TShippedTable {
  QString FileName;
  QString Source;  // CSV file of the data folder, empty for a table shipped empty
  TLayout Layout;
};

std::vector<TShippedTable> ShippedTables()
{
  return {
      {QStringLiteral("CalSolClim.cds"), QStringLiteral("climate_stations.csv"), DefineCalSolClimFields},
      {QStringLiteral("Module.cds"), QStringLiteral("modules.csv"), DefineModuleFields},
      {QStringLiteral("Onduleur.cds"), QStringLiteral("inverters.csv"), DefineOnduleurFields},
      {QStringLiteral("Data.cds"), QString(),
       [](TClientDataSet &table) { DefineDataFields(table, nullptr, nullptr); }},
      {QStringLiteral("Production.cds"), QString(), DefineProdFields},
  };
}

QVariant CellValue(const TField &field, const QString &cell)
{
  if (cell.isEmpty())
    return {};
  bool ok = true;
  QVariant value;
  switch (field.DataType()) {
  case TFieldType::ftString:
    return field.Size() > 0 ? cell.left(field.Size()) : cell;
  case TFieldType::ftFloat:
    value = cell.toDouble(&ok);
    break;
  case TFieldType::ftBoolean:
    ok = cell == QLatin1String("0") || cell == QLatin1String("1");
    value = cell == QLatin1String("1");
    break;
  case TFieldType::ftDate:
  case TFieldType::ftTime:
  case TFieldType::ftDateTime:
    value = cell.toDouble(&ok);
    break;
  case TFieldType::ftAutoInc:
  case TFieldType::ftInteger:
  case TFieldType::ftSmallint:
  case TFieldType::ftWord:
  case TFieldType::ftByte:
    value = cell.toInt(&ok);
    break;
  }
  if (!ok)
    throw EDatabaseError(QStringLiteral("Valeur <%1> invalide pour le champ %2").arg(cell, field.FieldName()));
  return value;
}

QStringList MakeTables(const QString &aSourceDir, const QString &aDataDir, bool aFill)
{
  QDir().mkpath(aDataDir);
  QStringList created;
  for (const TShippedTable &shipped : ShippedTables()) {
    const QString target = QDir(aDataDir).filePath(shipped.FileName);
    if (QFileInfo::exists(target))
      continue;
    TMyClientDataSet table;
    shipped.Layout(table);
    table.CreateDataSet();
    if (aFill && !shipped.Source.isEmpty())
      LoadCsvRows(QDir(aSourceDir).filePath(shipped.Source), table);
    table.SaveRowsToFile(target);
    created.append(shipped.FileName);
  }
  return created;
}

}  // namespace

int LoadCsvRows(const QString &aCsvPath, TClientDataSet &aTable)
{
  QFile file(aCsvPath);
  if (!file.open(QIODevice::ReadOnly))
    throw EDatabaseError(QStringLiteral("Impossible de lire le fichier <%1>").arg(aCsvPath));
  const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
  if (lines.isEmpty())
    return 0;
  // The field of each column, null for a column the table lacks.
  std::vector<TField *> columns;
  for (const QString &name : lines.first().trimmed().split(QLatin1Char(',')))
    columns.push_back(aTable.FindField(name));
  aTable.DisableControls();
  int rows = 0;
  try {
    for (qsizetype i = 1; i < lines.size(); ++i) {
      const QString line = lines.at(i).trimmed();
      if (line.isEmpty())
        continue;
      const QStringList cells = line.split(QLatin1Char(','));
      aTable.Append();
      for (std::size_t c = 0; c < columns.size() && c < static_cast<std::size_t>(cells.size()); ++c)
        if (columns[c] != nullptr && !columns[c]->IsLookup())
          columns[c]->SetAsVariant(CellValue(*columns[c], cells.at(static_cast<qsizetype>(c))));
      aTable.Post();
      ++rows;
    }
  } catch (...) {
    if (aTable.State() == TDataSetState::dsInsert)
      aTable.Cancel();
    aTable.EnableControls();
    throw;
  }
  aTable.EnableControls();
  return rows;
}

QStringList MakeShippedTables(const QString &aSourceDir, const QString &aDataDir)
{
  return MakeTables(aSourceDir, aDataDir, true);
}

QStringList MakeEmptyTables(const QString &aDataDir) { return MakeTables(QString(), aDataDir, false); }
