#pragma once
// Field definitions and typed field access of the in-memory table.

#include "platform/DateUtils.h"

#include <QString>
#include <QVariant>
#include <Qt>

#include <stdexcept>

class TClientDataSet;

enum class TFieldType {
  ftAutoInc,
  ftInteger,
  ftSmallint,
  ftWord,  // unsigned 16-bit
  ftByte,
  ftFloat,
  ftBoolean,
  ftString,
  ftDate,
  ftTime,
  ftDateTime
};

enum class TFieldKind { fkData, fkLookup };

// Every failure of the table layer; the message is meant for the user.
class EDatabaseError : public std::runtime_error {
public:
  explicit EDatabaseError(const QString &message);
  QString Message() const { return FMessage; }

private:
  QString FMessage;
};

// What a field is and how it is shown. Lookup fields take their value from another
// table: the row of LookupDataSet whose LookupKeyFields equal this row's KeyFields.
struct TFieldDef {
  QString Name;
  TFieldType DataType = TFieldType::ftInteger;
  int Size = 0;  // maximum length of text
  TFieldKind FieldKind = TFieldKind::fkData;

  QString DisplayLabel;   // empty: the name is shown
  QString DisplayFormat;  // Delphi float format such as "#0.00"
  int Precision = 15;     // significant digits of reals shown without a format
  Qt::Alignment Alignment = Qt::AlignLeft | Qt::AlignVCenter;
  bool ReadOnly = false;
  bool Visible = true;

  QString KeyFields;                         // "A;B" of this table
  TClientDataSet *LookupDataSet = nullptr;   // must outlive this table's reads
  QString LookupKeyFields;                   // "A;B" of the lookup table
  QString LookupResultField;
};

// Orders two stored values: nulls first, numbers by value, text optionally ignoring case.
int CompareFieldValues(const QVariant &a, const QVariant &b, bool caseInsensitive = false);

bool IsIntegerFieldType(TFieldType type);
bool IsDateTimeFieldType(TFieldType type);
QString FieldTypeName(TFieldType type);

// One column of a table, reading and writing the table's current row.
class TField {
public:
  TField(TClientDataSet &dataSet, TFieldDef def);

  TClientDataSet &DataSet() const { return FDataSet; }
  const TFieldDef &Def() const { return FDef; }
  TFieldDef &Def() { return FDef; }
  int Index() const { return FIndex; }

  QString FieldName() const { return FDef.Name; }
  TFieldType DataType() const { return FDef.DataType; }
  int Size() const { return FDef.Size; }
  TFieldKind FieldKind() const { return FDef.FieldKind; }
  bool IsLookup() const { return FDef.FieldKind == TFieldKind::fkLookup; }

  QString DisplayLabel() const;
  void SetDisplayLabel(const QString &label) { FDef.DisplayLabel = label; }
  QString DisplayFormat() const { return FDef.DisplayFormat; }
  void SetDisplayFormat(const QString &format) { FDef.DisplayFormat = format; }
  Qt::Alignment Alignment() const { return FDef.Alignment; }
  void SetAlignment(Qt::Alignment alignment) { FDef.Alignment = alignment; }
  bool Visible() const { return FDef.Visible; }
  // Shows or hides the column in attached views.
  void SetVisible(bool visible);
  bool ReadOnly() const { return FDef.ReadOnly || IsLookup(); }
  void SetReadOnly(bool readOnly) { FDef.ReadOnly = readOnly; }

  // The current row's value; a null reads as 0, 0.0, false or "".
  bool IsNull() const;
  QVariant AsVariant() const;
  int AsInteger() const;
  double AsFloat() const;
  QString AsString() const;
  bool AsBoolean() const;
  TDateTime AsDateTime() const;
  // The value as views show it: display format applied, user's decimal separator.
  QString DisplayText() const;

  // Writing needs the table in edit or insert state; a value that does not fit the
  // type throws EDatabaseError. Text is cut to the field's size.
  void SetAsVariant(const QVariant &value);
  void SetAsInteger(int value);
  void SetAsFloat(double value);
  void SetAsString(const QString &value);
  void SetAsBoolean(bool value);
  void SetAsDateTime(TDateTime value);
  void Clear();

  // The value converted to this field's storage type (null stays null).
  QVariant Convert(const QVariant &value) const;
  // Text of a stored value of this field, as views show it.
  QString FormatValue(const QVariant &value) const;

private:
  friend class TClientDataSet;
  TClientDataSet &FDataSet;
  TFieldDef FDef;
  int FIndex = -1;  // position in the table, kept by the table
  bool FDefinedInCode = true;  // false when the field came from a table file
};
