#include "platform/TableModel.h"

TTableModel::TTableModel(TClientDataSet &dataSet, QObject *parent)
    : QAbstractTableModel(parent), FDataSet(&dataSet)
{
  Reload();
  connect(&dataSet, &TClientDataSet::aboutToReset, this, &TTableModel::TableAboutToReset);
  connect(&dataSet, &TClientDataSet::reset, this, &TTableModel::TableReset);
  connect(&dataSet, &TClientDataSet::rowAboutToBeInserted, this,
          [this](int row) { beginInsertRows({}, row, row); });
  connect(&dataSet, &TClientDataSet::rowInserted, this, [this](int) {
    ++FRowCount;
    endInsertRows();
  });
  connect(&dataSet, &TClientDataSet::rowAboutToBeRemoved, this,
          [this](int row) { beginRemoveRows({}, row, row); });
  connect(&dataSet, &TClientDataSet::rowRemoved, this, [this](int) {
    --FRowCount;
    endRemoveRows();
  });
  connect(&dataSet, &TClientDataSet::rowChanged, this, [this](int row) {
    if (row >= 0 && row < FRowCount && !FColumns.empty())
      emit dataChanged(index(row, 0), index(row, columnCount() - 1));
  });
  connect(&dataSet, &TClientDataSet::currentChanged, this, &TTableModel::currentRowChanged);
  connect(&dataSet, &QObject::destroyed, this, [this]() {
    beginResetModel();
    FDataSet = nullptr;
    Reload();
    endResetModel();
  });
}

void TTableModel::Reload()
{
  FColumns.clear();
  FRowCount = 0;
  if (!FDataSet)
    return;
  for (int field = 0; field < FDataSet->FieldCount(); ++field)
    if (FDataSet->Fields(field).Visible())
      FColumns.push_back(field);
  FRowCount = FDataSet->Active() ? FDataSet->RecordCount() : 0;
}

void TTableModel::TableAboutToReset()
{
  beginResetModel();
}

void TTableModel::TableReset()
{
  Reload();
  endResetModel();
}

int TTableModel::FieldOfColumn(int column) const
{
  return column >= 0 && column < static_cast<int>(FColumns.size()) ? FColumns[column] : -1;
}

int TTableModel::ColumnOfField(const QString &fieldName) const
{
  if (!FDataSet)
    return -1;
  const int field = FDataSet->FieldIndex(fieldName);
  for (int column = 0; column < static_cast<int>(FColumns.size()); ++column)
    if (FColumns[column] == field)
      return column;
  return -1;
}

int TTableModel::rowCount(const QModelIndex &parent) const
{
  return parent.isValid() ? 0 : FRowCount;
}

int TTableModel::columnCount(const QModelIndex &parent) const
{
  return parent.isValid() ? 0 : static_cast<int>(FColumns.size());
}

bool TTableModel::Valid(const QModelIndex &index) const
{
  // While the table holds its notifications back, views may still ask for rows it no
  // longer has: those read as empty until the reset arrives.
  return FDataSet && index.isValid() && index.row() < FRowCount &&
         index.row() < FDataSet->RecordCount() && FieldOfColumn(index.column()) >= 0;
}

QVariant TTableModel::data(const QModelIndex &index, int role) const
{
  if (!Valid(index))
    return {};
  const int field = FieldOfColumn(index.column());
  switch (role) {
  case Qt::DisplayRole:
    return FDataSet->DisplayTextAt(index.row(), field);
  case Qt::EditRole:
    return EditValue(index.row(), field);
  case Qt::TextAlignmentRole:
    return QVariant::fromValue(FDataSet->Fields(field).Alignment());
  default:
    return {};
  }
}

QVariant TTableModel::EditValue(int row, int field) const
{
  // Editors get dates and times as such rather than day counts.
  const QVariant value = FDataSet->ValueAt(row, field);
  if (value.isNull())
    return value;
  switch (FDataSet->Fields(field).DataType()) {
  case TFieldType::ftDate:
    return ToQDateTime(value.toDouble()).date();
  case TFieldType::ftTime:
    return ToQDateTime(value.toDouble()).time();
  case TFieldType::ftDateTime:
    return ToQDateTime(value.toDouble());
  default:
    return value;
  }
}

QVariant TTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
  if (orientation != Qt::Horizontal || FieldOfColumn(section) < 0)
    return QAbstractTableModel::headerData(section, orientation, role);
  const TField &field = FDataSet->Fields(FieldOfColumn(section));
  if (role == Qt::DisplayRole || role == Qt::ToolTipRole)
    return field.DisplayLabel();
  if (role == Qt::TextAlignmentRole)
    return QVariant::fromValue(field.Alignment());
  return {};
}

Qt::ItemFlags TTableModel::flags(const QModelIndex &index) const
{
  if (!Valid(index))
    return Qt::NoItemFlags;
  Qt::ItemFlags result = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
  if (!FDataSet->Fields(FieldOfColumn(index.column())).ReadOnly())
    result |= Qt::ItemIsEditable;
  return result;
}

bool TTableModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
  if (role != Qt::EditRole || !(flags(index) & Qt::ItemIsEditable))
    return false;
  TField &field = FDataSet->Fields(FieldOfColumn(index.column()));
  try {
    FDataSet->SetRecNo(index.row() + 1);
    FDataSet->Edit();
    field.SetAsVariant(value);
    FDataSet->Post();
    return true;
  } catch (const EDatabaseError &) {
    FDataSet->Cancel();
    return false;
  }
}
