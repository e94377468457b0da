#pragma once
// The model every grid binds to: one column per visible field of a table, headers from
// the display labels, cells from the display texts, edits posted through the table.
// It follows the table's notifications and keeps no copy of its data.

#include "platform/ClientDataSet.h"

#include <QAbstractTableModel>
#include <QPointer>

#include <vector>

class TTableModel : public QAbstractTableModel {
  Q_OBJECT

public:
  explicit TTableModel(TClientDataSet &dataSet, QObject *parent = nullptr);

  TClientDataSet *DataSet() const { return FDataSet.data(); }
  // Field shown in a column, -1 when none.
  int FieldOfColumn(int column) const;
  int ColumnOfField(const QString &fieldName) const;

  int rowCount(const QModelIndex &parent = {}) const override;
  int columnCount(const QModelIndex &parent = {}) const override;
  QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation,
                      int role = Qt::DisplayRole) const override;
  Qt::ItemFlags flags(const QModelIndex &index) const override;
  // Moves the table to the row, edits and posts; a refused value cancels and returns false.
  bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;

signals:
  // The table's current row, -1 when none.
  void currentRowChanged(int row);

private:
  void Reload();
  void TableAboutToReset();
  void TableReset();
  bool Valid(const QModelIndex &index) const;
  QVariant EditValue(int row, int field) const;

  QPointer<TClientDataSet> FDataSet;
  std::vector<int> FColumns;  // field of each column
  int FRowCount = 0;          // rows as last announced to views
};
