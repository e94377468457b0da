#include "platform/Field.h"

#include "platform/ClientDataSet.h"
#include "platform/FloatFormat.h"
#include "platform/Numbers.h"

#include <QDateTime>
#include <QLocale>

#include <cmath>
#include <limits>

EDatabaseError::EDatabaseError(const QString &message)
    : std::runtime_error(message.toStdString()), FMessage(message)
{
}

int CompareFieldValues(const QVariant &a, const QVariant &b, bool caseInsensitive)
{
  const bool aNull = a.isNull();
  const bool bNull = b.isNull();
  if (aNull || bNull)
    return aNull == bNull ? 0 : (aNull ? -1 : 1);
  const int aType = a.typeId();
  const int bType = b.typeId();
  if (aType == QMetaType::QString && bType == QMetaType::QString)
    return QString::compare(*static_cast<const QString *>(a.constData()),
                            *static_cast<const QString *>(b.constData()),
                            caseInsensitive ? Qt::CaseInsensitive : Qt::CaseSensitive);
  if (aType == QMetaType::Int && bType == QMetaType::Int) {
    const int x = *static_cast<const int *>(a.constData());
    const int y = *static_cast<const int *>(b.constData());
    return x < y ? -1 : (x > y ? 1 : 0);
  }
  if (aType == QMetaType::QString || bType == QMetaType::QString)
    return QString::compare(a.toString(), b.toString(),
                            caseInsensitive ? Qt::CaseInsensitive : Qt::CaseSensitive);
  const double x = a.toDouble();
  const double y = b.toDouble();
  return x < y ? -1 : (x > y ? 1 : 0);
}

bool IsIntegerFieldType(TFieldType type)
{
  switch (type) {
  case TFieldType::ftAutoInc:
  case TFieldType::ftInteger:
  case TFieldType::ftSmallint:
  case TFieldType::ftWord:
  case TFieldType::ftByte:
    return true;
  default:
    return false;
  }
}

bool IsDateTimeFieldType(TFieldType type)
{
  return type == TFieldType::ftDate || type == TFieldType::ftTime ||
         type == TFieldType::ftDateTime;
}

QString FieldTypeName(TFieldType type)
{
  switch (type) {
  case TFieldType::ftAutoInc: return QStringLiteral("AutoInc");
  case TFieldType::ftInteger: return QStringLiteral("Integer");
  case TFieldType::ftSmallint: return QStringLiteral("Smallint");
  case TFieldType::ftWord: return QStringLiteral("Word");
  case TFieldType::ftByte: return QStringLiteral("Byte");
  case TFieldType::ftFloat: return QStringLiteral("Float");
  case TFieldType::ftBoolean: return QStringLiteral("Boolean");
  case TFieldType::ftString: return QStringLiteral("String");
  case TFieldType::ftDate: return QStringLiteral("Date");
  case TFieldType::ftTime: return QStringLiteral("Time");
  case TFieldType::ftDateTime: return QStringLiteral("DateTime");
  }
  return {};
}

namespace {
struct TRange {
  qint64 Min;
  qint64 Max;
};

TRange IntegerRange(TFieldType type)
{
  switch (type) {
  case TFieldType::ftSmallint: return {-32768, 32767};
  case TFieldType::ftWord: return {0, 65535};
  case TFieldType::ftByte: return {0, 255};
  default: return {std::numeric_limits<qint32>::min(), std::numeric_limits<qint32>::max()};
  }
}

bool IsNumericVariant(const QVariant &value)
{
  switch (value.typeId()) {
  case QMetaType::Int:
  case QMetaType::UInt:
  case QMetaType::LongLong:
  case QMetaType::ULongLong:
  case QMetaType::Long:
  case QMetaType::ULong:
  case QMetaType::Short:
  case QMetaType::UShort:
  case QMetaType::Char:
  case QMetaType::SChar:
  case QMetaType::UChar:
  case QMetaType::Double:
  case QMetaType::Float:
  case QMetaType::Bool:
    return true;
  default:
    return false;
  }
}

bool ParseBoolean(const QString &text, bool &result)
{
  const QString t = text.trimmed().toLower();
  if (t == QLatin1String("true") || t == QLatin1String("vrai") || t == QLatin1String("oui") ||
      t == QLatin1String("1")) {
    result = true;
    return true;
  }
  if (t == QLatin1String("false") || t == QLatin1String("faux") || t == QLatin1String("non") ||
      t == QLatin1String("0")) {
    result = false;
    return true;
  }
  return false;
}

bool IsBlank(const QVariant &value)
{
  return value.typeId() == QMetaType::QString && value.toString().trimmed().isEmpty();
}
}  // namespace

TField::TField(TClientDataSet &dataSet, TFieldDef def) : FDataSet(dataSet), FDef(std::move(def))
{
}

QString TField::DisplayLabel() const
{
  return FDef.DisplayLabel.isEmpty() ? FDef.Name : FDef.DisplayLabel;
}

void TField::SetVisible(bool visible)
{
  if (FDef.Visible == visible)
    return;
  FDef.Visible = visible;
  FDataSet.NotifyLayoutChanged();
}

QVariant TField::Convert(const QVariant &value) const
{
  if (!value.isValid() || value.isNull() ||
      (FDef.DataType != TFieldType::ftString && IsBlank(value)))
    return {};
  const auto invalid = [&]() {
    return EDatabaseError(QStringLiteral("« %1 » n'est pas une valeur correcte pour le champ « %2 » (%3)")
                              .arg(value.toString(), FDef.Name, FieldTypeName(FDef.DataType)));
  };
  const TFieldType type = FDef.DataType;
  if (IsIntegerFieldType(type)) {
    qint64 number = 0;
    if (value.typeId() == QMetaType::Double || value.typeId() == QMetaType::Float) {
      const double d = value.toDouble();
      if (!std::isfinite(d) || std::fabs(d) > 9.0e18)
        throw invalid();
      number = RoundHalfEven(d);
    } else if (IsNumericVariant(value)) {
      number = value.toLongLong();
    } else {
      bool ok = false;
      number = value.toString().trimmed().toLongLong(&ok);
      if (!ok)
        throw invalid();
    }
    const TRange range = IntegerRange(type);
    if (number < range.Min || number > range.Max)
      throw EDatabaseError(
          QStringLiteral("%1 n'est pas une valeur correcte pour le champ « %2 ». L'intervalle autorisé est %3 à %4")
              .arg(number)
              .arg(FDef.Name)
              .arg(range.Min)
              .arg(range.Max));
    return QVariant(static_cast<int>(number));
  }
  switch (type) {
  case TFieldType::ftFloat:
  case TFieldType::ftDate:
  case TFieldType::ftTime:
  case TFieldType::ftDateTime: {
    if (IsNumericVariant(value))
      return QVariant(value.toDouble());
    if (value.typeId() == QMetaType::QDateTime)
      return QVariant(ToDateTime(value.toDateTime()));
    if (value.typeId() == QMetaType::QDate)
      return QVariant(ToDateTime(value.toDate().startOfDay()));
    if (value.typeId() == QMetaType::QTime)
      return QVariant(value.toTime().msecsSinceStartOfDay() / 86400000.0);
    double number = 0;
    if (TryParseNumber(value.toString(), number))
      return QVariant(number);
    if (type != TFieldType::ftFloat) {
      const QDateTime parsed = QDateTime::fromString(value.toString().trimmed(), Qt::ISODate);
      if (parsed.isValid())
        return QVariant(ToDateTime(parsed));
    }
    throw invalid();
  }
  case TFieldType::ftBoolean: {
    if (IsNumericVariant(value))
      return QVariant(value.toDouble() != 0);
    bool flag = false;
    if (!ParseBoolean(value.toString(), flag))
      throw invalid();
    return QVariant(flag);
  }
  case TFieldType::ftString: {
    QString text = value.typeId() == QMetaType::Double ? FloatToStrGeneral(value.toDouble())
                                                        : value.toString();
    if (FDef.Size > 0 && text.size() > FDef.Size)
      text.truncate(FDef.Size);
    return QVariant(text);
  }
  default:
    throw invalid();
  }
}

QString TField::FormatValue(const QVariant &value) const
{
  if (value.isNull())
    return {};
  switch (FDef.DataType) {
  case TFieldType::ftFloat:
    return FDef.DisplayFormat.isEmpty() ? FloatToStrGeneral(value.toDouble(), FDef.Precision)
                                        : FormatFloat(FDef.DisplayFormat, value.toDouble());
  case TFieldType::ftBoolean:
    return value.toBool() ? QStringLiteral("Oui") : QStringLiteral("Non");
  case TFieldType::ftDate:
    return QLocale().toString(ToQDateTime(value.toDouble()).date(), QLocale::ShortFormat);
  case TFieldType::ftTime:
    return ToQDateTime(value.toDouble()).time().toString(QStringLiteral("HH:mm:ss"));
  case TFieldType::ftDateTime: {
    const QDateTime moment = ToQDateTime(value.toDouble());
    QString text = QLocale().toString(moment.date(), QLocale::ShortFormat);
    if (moment.time() != QTime(0, 0))
      text += QLatin1Char(' ') + moment.time().toString(QStringLiteral("HH:mm:ss"));
    return text;
  }
  default:
    return value.toString();
  }
}

bool TField::IsNull() const
{
  return AsVariant().isNull();
}

QVariant TField::AsVariant() const
{
  return FDataSet.CurrentValue(Index());
}

int TField::AsInteger() const
{
  const QVariant value = AsVariant();
  if (value.isNull())
    return 0;
  if (FDef.DataType == TFieldType::ftFloat || IsDateTimeFieldType(FDef.DataType))
    return RoundToInt(value.toDouble());
  if (FDef.DataType == TFieldType::ftString) {
    bool ok = false;
    const int number = value.toString().trimmed().toInt(&ok);
    if (!ok)
      throw EDatabaseError(QStringLiteral("« %1 » n'est pas une valeur entière correcte (champ « %2 »)")
                               .arg(value.toString(), FDef.Name));
    return number;
  }
  return value.toInt();
}

double TField::AsFloat() const
{
  const QVariant value = AsVariant();
  if (value.isNull())
    return 0;
  if (FDef.DataType == TFieldType::ftString) {
    double number = 0;
    if (!TryParseNumber(value.toString(), number))
      throw EDatabaseError(QStringLiteral("« %1 » n'est pas une valeur numérique correcte (champ « %2 »)")
                               .arg(value.toString(), FDef.Name));
    return number;
  }
  return value.toDouble();
}

QString TField::AsString() const
{
  const QVariant value = AsVariant();
  if (value.isNull())
    return {};
  switch (FDef.DataType) {
  case TFieldType::ftFloat:
    return FloatToStrGeneral(value.toDouble());
  case TFieldType::ftBoolean:
    return value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
  case TFieldType::ftDate:
  case TFieldType::ftTime:
  case TFieldType::ftDateTime:
    return FormatValue(value);
  default:
    return value.toString();
  }
}

bool TField::AsBoolean() const
{
  const QVariant value = AsVariant();
  if (value.isNull())
    return false;
  if (FDef.DataType == TFieldType::ftString) {
    bool flag = false;
    if (!ParseBoolean(value.toString(), flag))
      throw EDatabaseError(QStringLiteral("« %1 » n'est pas une valeur booléenne correcte (champ « %2 »)")
                               .arg(value.toString(), FDef.Name));
    return flag;
  }
  return value.toDouble() != 0;
}

TDateTime TField::AsDateTime() const
{
  if (FDef.DataType == TFieldType::ftString || FDef.DataType == TFieldType::ftBoolean)
    throw EDatabaseError(QStringLiteral("Le champ « %1 » ne contient pas une date").arg(FDef.Name));
  return AsVariant().toDouble();
}

QString TField::DisplayText() const
{
  return FormatValue(AsVariant());
}

void TField::SetAsVariant(const QVariant &value)
{
  if (ReadOnly())
    throw EDatabaseError(QStringLiteral("Le champ « %1 » ne peut pas être modifié").arg(FDef.Name));
  FDataSet.SetCurrentValue(Index(), Convert(value));
}

void TField::SetAsInteger(int value)
{
  SetAsVariant(QVariant(value));
}

void TField::SetAsFloat(double value)
{
  SetAsVariant(QVariant(value));
}

void TField::SetAsString(const QString &value)
{
  SetAsVariant(QVariant(value));
}

void TField::SetAsBoolean(bool value)
{
  SetAsVariant(QVariant(value));
}

void TField::SetAsDateTime(TDateTime value)
{
  SetAsVariant(QVariant(value));
}

void TField::Clear()
{
  SetAsVariant(QVariant());
}
