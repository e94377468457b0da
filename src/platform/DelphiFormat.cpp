#include "platform/DelphiFormat.h"

#include "platform/Numbers.h"

#include <stdexcept>

namespace {

struct Spec {
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

QString FormatInteger(const QVariant &arg, const Spec &spec)
{
  const qlonglong value = arg.toLongLong();
  QString digits = QString::number(value < 0 ? -value : value);
  if (spec.precision > digits.size())
    digits = QString(spec.precision - digits.size(), QLatin1Char('0')) + digits;
  return value < 0 ? QLatin1Char('-') + digits : digits;
}

QString FormatReal(const QVariant &arg, const Spec &spec, bool dotDecimal)
{
  const double value = arg.toDouble();
  const QChar type = spec.type.toLower();
  QString text;
  if (type == QLatin1Char('f') || type == QLatin1Char('n'))
    text = QString::number(value, 'f', spec.precision < 0 ? 2 : spec.precision);
  else if (type == QLatin1Char('e'))
    text = QString::number(value, 'E', spec.precision < 0 ? 14 : qMax(spec.precision - 1, 0));
  else  // g: shortest of fixed or scientific, at most precision significant digits
    text = QString::number(value, 'G', spec.precision < 0 ? 15 : spec.precision);
  return ApplyDecimal(text, dotDecimal);
}

QString FormatString(const QVariant &arg, const Spec &spec)
{
  const QString text = arg.toString();
  return spec.precision >= 0 ? text.left(spec.precision) : text;
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
    Spec spec;
    if (format.at(i) == QLatin1Char('-')) {
      spec.leftAlign = true;
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
      spec.width = width;
    if (i < format.size() && format.at(i) == QLatin1Char('.')) {
      ++i;
      int precision = 0;
      while (i < format.size() && format.at(i).isDigit())
        precision = precision * 10 + format.at(i++).digitValue();
      spec.precision = precision;
    }
    if (i >= format.size())
      throw std::invalid_argument("Format: incomplete specifier");
    spec.type = format.at(i);
    if (next >= args.size())
      throw std::invalid_argument("Format: missing argument");
    const QVariant &arg = args.at(next++);
    QString field;
    switch (spec.type.toLower().unicode()) {
    case 'd':
    case 'u':
      field = FormatInteger(arg, spec);
      break;
    case 'x':
      field = QString::number(arg.toLongLong(), 16).toUpper();
      break;
    case 'f':
    case 'n':
    case 'e':
    case 'g':
      field = FormatReal(arg, spec, dotDecimal);
      break;
    case 's':
      field = FormatString(arg, spec);
      break;
    default:
      throw std::invalid_argument("Format: unknown conversion");
    }
    if (spec.width > field.size()) {
      const QString pad(spec.width - field.size(), QLatin1Char(' '));
      field = spec.leftAlign ? field + pad : pad + field;
    }
    out += field;
  }
  return out;
}
