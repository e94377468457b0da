#pragma once
// Small tables for the table tests: installations grouped in sites, a catalogue and
// production rows, with rows given as field/value pairs.

#include "platform/ClientDataSet.h"

#include <QString>
#include <QVariant>

#include <memory>
#include <utility>
#include <vector>

using TRowValues = std::vector<std::pair<QString, QVariant>>;

// Appends and posts one row.
inline void AddRow(TClientDataSet &table, const TRowValues &values)
{
  table.Append();
  for (const auto &[name, value] : values)
    table.FieldByName(name).SetAsVariant(value);
  table.Post();
}

// ID (writable auto-increment), IDSite, Site (text 10), Production (real).
inline std::unique_ptr<TClientDataSet> MakeSites(const std::vector<TRowValues> &rows = {})
{
  auto table = std::make_unique<TClientDataSet>();
  table->SetName(QStringLiteral("Sites"));
  table->AddFieldDef(QStringLiteral("ID"), TFieldType::ftAutoInc).ReadOnly = false;
  table->AddFieldDef(QStringLiteral("IDSite"), TFieldType::ftInteger).DisplayLabel =
      QStringLiteral("Numéro du Site");
  table->AddFieldDef(QStringLiteral("Site"), TFieldType::ftString, 10);
  table->AddFieldDef(QStringLiteral("Production"), TFieldType::ftFloat).DisplayFormat =
      QStringLiteral("#0.00");
  table->CreateDataSet();
  for (const TRowValues &row : rows)
    AddRow(*table, row);
  return table;
}

// IDs of the shown rows, from the first to the last (the cursor ends on the last row).
inline std::vector<int> ShownIds(TClientDataSet &table, const QString &field = QStringLiteral("ID"))
{
  std::vector<int> ids;
  for (table.First(); !table.Eof(); table.Next())
    ids.push_back(table.FieldByName(field).AsInteger());
  return ids;
}
