#pragma once
// A data module over a fresh Data folder holding the program's tables, empty, with
// helpers that add catalogue rows and installations.

#include "shell/ShippedTables.h"
#include "shell/dmData.h"
#include "support/TempDir.h"

#include <QDir>
#include <QVariant>

#include <utility>
#include <vector>

class TTempDatabase {
public:
  using TValues = std::vector<std::pair<QString, QVariant>>;

  TempDir dir;
  TdtmData data;
  std::vector<bool> updates;  // UpdateData calls, with their aScroll

  TTempDatabase()
  {
    MakeEmptyTables(DataFolder());
    data.SetApplicationPath(dir.path() + QLatin1Char('/'));
    data.OnVersion = [] { return ProgramFileVersion(); };
    data.OnUpdateData = [this](bool aScroll) { updates.push_back(aScroll); };
  }

  QString DataFolder() const { return dir.file(QStringLiteral("Data")); }
  QString DataFile(const QString &name) const { return QDir(DataFolder()).filePath(name); }

  // Appends a row with the given values and returns its ID.
  static int AddRow(TClientDataSet &table, const TValues &values)
  {
    table.Append();
    for (const auto &[field, value] : values)
      table.FieldByName(field).SetAsVariant(value);
    table.Post();
    return table.FieldByName(QStringLiteral("ID")).AsInteger();
  }

  int AddModule(double puissance)
  {
    return AddRow(*data.cdsModule, {{QStringLiteral("Modèle"), QStringLiteral("M%1").arg(puissance)},
                                    {QStringLiteral("Puissance"), puissance}});
  }

  int AddInstallation(const TValues &values) { return AddRow(*data.cdsData, values); }
};
