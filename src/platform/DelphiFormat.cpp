#include "platform/DelphiFormat.h"

#include "platform/FloatFormat.h"
#include "platform/Numbers.h"

#include <cstdlib>
#include <stdexcept>

namespace {

struct Conversion {
  bool leftAlign = false;
  int width = -1;
  int precision = -1;
  QChar type;
};

QString ApplyDecimal(QString text, bool dotDecimal)
{
  if (!dotDecimal && DecimalSeparator() != QLatin1Char('.'))
    text.replace(QLatin1Char('.'), DecimalSeparator());
  return text;
}

QString FormatInteger(const QVariant &arg, const Conversion &conversion)
{
  const qlonglong value = arg.toLongLong();
  QString digits = QString::number(value < 0 ? -value : value);
  if (conversion.precision > digits.size())
    digits = QString(conversion.precision - digits.size(), QLatin1Char('0')) + digits;
  return value < 0 ? QLatin1Char('-') + digits : digits;
}

// "d.dddE+ddd": the exponent always signed, with at least three digits.
QString ExponentNotation(double value, int precision)
{
  const QString text = QString::number(value, 'E', qMax(precision - 1, 0));
  const qsizetype e = text.indexOf(QLatin1Char('E'));
  const int exponent = text.mid(e + 1).toInt();
  return text.left(e) + QLatin1Char('E') + (exponent < 0 ? QLatin1Char('-') : QLatin1Char('+')) +
         QString::number(std::abs(exponent)).rightJustified(3, QLatin1Char('0'));
}

QString FormatReal(const QVariant &arg, const Conversion &conversion, bool dotDecimal)
{
  const double value = arg.toDouble();
  const QChar type = conversion.type.toLower();
  QString text;
  if (type == QLatin1Char('f') || type == QLatin1Char('n'))
    text = QString::number(value, 'f', conversion.precision < 0 ? 2 : conversion.precision);
  else if (type == QLatin1Char('e'))
    text = ExponentNotation(value, conversion.precision < 0 ? 15 : conversion.precision);
  else
    return FloatToStrGeneral(value, conversion.precision < 0 ? 15 : conversion.precision, dotDecimal);
  return ApplyDecimal(text, dotDecimal);
}

QString FormatString(const QVariant &arg, const Conversion &conversion)
{
  const QString text = arg.toString();
  return conversion.precision >= 0 ? text.left(conversion.precision) : text;
}

}  // namespace

QString Format(const QString &format, const QVariantList &args, bool dotDecimal)
{
  QString out;
  int next = 0;
  for (int i = 0; i < format.size(); ++i) {
    const QChar c = format.at(i);
    if (c != QLatin1Char('%')) {
      out += c;
      continue;
    }
    if (++i >= format.size())
      throw std::invalid_argument("Format: trailing %");
    if (format.at(i) == QLatin1Char('%')) {
      out += QLatin1Char('%');
      continue;
    }
    Conversion conversion;
    if (format.at(i) == QLatin1Char('-')) {
      conversion.leftAlign = true;
      ++i;
    }
    int width = 0;
    bool hasWidth = false;
    while (i < format.size() && format.at(i).isDigit()) {
      width = width * 10 + format.at(i).digitValue();
      hasWidth = true;
      ++i;
    }
    if (hasWidth)
      conversion.width = width;
    if (i < format.size() && format.at(i) == QLatin1Char('.')) {
      ++i;
      int precision = 0;
      while (i < format.size() && format.at(i).isDigit())
        precision = precision * 10 + format.at(i++).digitValue();
      conversion.precision = precision;
    }
    if (i >= format.size())
      throw std::invalid_argument("Format: incomplete specifier");
    conversion.type = format.at(i);
    if (next >= args.size())
      throw std::invalid_argument("Format: missing argument");
    const QVariant &arg = args.at(next++);
    QString field;
    switch (conversion.type.toLower().unicode()) {
    case 'd':
    case 'u':
      field = FormatInteger(arg, conversion);
      break;
    case 'x':
      field = QString::number(arg.toLongLong(), 16).toUpper();
      break;
    case 'f':
    case 'n':
    case 'e':
    case 'g':
      field = FormatReal(arg, conversion, dotDecimal);
      break;
    case 's':
      field = FormatString(arg, conversion);
      break;
    default:
      throw std::invalid_argument("Format: unknown conversion");
    }
    if (conversion.width > field.size()) {
      const QString pad(conversion.width - field.size(), QLatin1Char(' '));
      field = conversion.leftAlign ? field + pad : pad + field;
    }
    out += field;
  }
  return out;
}
