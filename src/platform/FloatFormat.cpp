#include "platform/FloatFormat.h"

#include "platform/Numbers.h"

#include <QLocale>

#include <algorithm>
#include <cmath>

namespace {
bool IsPlaceholder(QChar c)
{
  return c == QLatin1Char('0') || c == QLatin1Char('#') || c == QLatin1Char('.') ||
         c == QLatin1Char(',');
}

QString Unquoted(QString literal)
{
  literal.remove(QLatin1Char('"'));
  literal.remove(QLatin1Char('\''));
  return literal;
}

QString Grouped(const QString &digits)
{
  const QString separator = QLocale().groupSeparator();
  QString result;
  const int count = static_cast<int>(digits.size());
  for (int i = 0; i < count; ++i) {
    if (i > 0 && (count - i) % 3 == 0)
      result += separator;
    result += digits[i];
  }
  return result;
}
// A non-negative value with the given number of decimals, rounded the way Delphi does:
// from its 15 significant digits, halves away from zero (so 12.345 gives 12.35).
QString FixedDecimals(double value, int decimals)
{
  const QString scientific = QString::number(value, 'e', 14);
  const qsizetype e = scientific.indexOf(QLatin1Char('e'));
  QString digits = scientific.left(e).remove(QLatin1Char('.'));
  int integerDigits = scientific.mid(e + 1).toInt() + 1;
  const int keep = integerDigits + decimals;
  if (keep < 0)
    return decimals > 0 ? QStringLiteral("0.") + QString(decimals, QLatin1Char('0'))
                        : QStringLiteral("0");
  const bool roundUp = keep < digits.size() && digits[keep] >= QLatin1Char('5');
  digits.truncate(keep);
  if (roundUp) {
    int i = static_cast<int>(digits.size()) - 1;
    while (i >= 0 && digits[i] == QLatin1Char('9'))
      digits[i--] = QLatin1Char('0');
    if (i >= 0) {
      digits[i] = QChar(digits[i].unicode() + 1);
    } else {
      digits.prepend(QLatin1Char('1'));
      ++integerDigits;
    }
  }
  while (digits.size() < integerDigits + decimals)
    digits.append(QLatin1Char('0'));
  if (integerDigits <= 0) {
    digits.prepend(QString(-integerDigits, QLatin1Char('0')));
    integerDigits = 0;
  }
  const QString integerPart = integerDigits == 0 ? QStringLiteral("0") : digits.left(integerDigits);
  return decimals > 0 ? integerPart + QLatin1Char('.') + digits.mid(integerDigits) : integerPart;
}

QString WithoutTrailingZeros(QString text)
{
  if (text.contains(QLatin1Char('.'))) {
    while (text.endsWith(QLatin1Char('0')))
      text.chop(1);
    if (text.endsWith(QLatin1Char('.')))
      text.chop(1);
  }
  return text;
}

QString GeneralWithDot(double value, int precision)
{
  if (value == 0.0)
    return QStringLiteral("0");
  if (!std::isfinite(value))
    return QString::number(value);
  const int digits = precision > 0 ? precision : 15;
  // The decimal exponent of the value once rounded to the digits written.
  const QString scientific = QString::number(value, 'e', digits - 1);
  const qsizetype e = scientific.indexOf(QLatin1Char('e'));
  const int exponent = scientific.mid(e + 1).toInt();
  if (exponent + 1 > digits || std::fabs(value) < 0.00001)
    return WithoutTrailingZeros(scientific.left(e)) + QLatin1Char('E') + QString::number(exponent);
  const QString fixed = WithoutTrailingZeros(QString::number(value, 'f', std::max(digits - exponent - 1, 0)));
  return fixed == QLatin1String("-0") ? QStringLiteral("0") : fixed;
}

}  // namespace

QString FloatToStrGeneral(double value, int precision, bool dotDecimal)
{
  QString text = GeneralWithDot(value, precision);
  if (!dotDecimal && DecimalSeparator() != QLatin1Char('.'))
    text.replace(QLatin1Char('.'), DecimalSeparator());
  return text;
}

QString FormatFloat(const QString &format, double value)
{
  const QString section = format.section(QLatin1Char(';'), 0, 0);
  int first = -1;
  int last = -1;
  for (int i = 0; i < section.size(); ++i) {
    if (IsPlaceholder(section[i])) {
      if (first < 0)
        first = i;
      last = i;
    }
  }
  if (first < 0 || !std::isfinite(value))
    return FloatToStrGeneral(value);

  const QString pattern = section.mid(first, last - first + 1);
  const qsizetype point = pattern.indexOf(QLatin1Char('.'));
  const QString integerPattern = point < 0 ? pattern : pattern.left(point);
  const QString fractionPattern = point < 0 ? QString() : pattern.mid(point + 1);
  const int minIntegerDigits = static_cast<int>(integerPattern.count(QLatin1Char('0')));
  const bool grouping = integerPattern.contains(QLatin1Char(','));
  const int minDecimals = static_cast<int>(fractionPattern.count(QLatin1Char('0')));
  const int maxDecimals = minDecimals + static_cast<int>(fractionPattern.count(QLatin1Char('#')));

  const QString fixed = FixedDecimals(std::fabs(value), maxDecimals);
  QString integerDigits = fixed.section(QLatin1Char('.'), 0, 0);
  QString decimals = maxDecimals > 0 ? fixed.section(QLatin1Char('.'), 1, 1) : QString();
  while (decimals.size() > minDecimals && decimals.endsWith(QLatin1Char('0')))
    decimals.chop(1);
  const bool isZero = integerDigits.count(QLatin1Char('0')) == integerDigits.size() &&
                      decimals.count(QLatin1Char('0')) == decimals.size();
  if (integerDigits == QLatin1String("0") && minIntegerDigits == 0)
    integerDigits.clear();
  while (integerDigits.size() < minIntegerDigits)
    integerDigits.prepend(QLatin1Char('0'));
  if (grouping)
    integerDigits = Grouped(integerDigits);

  QString number = integerDigits;
  if (!decimals.isEmpty())
    number += DecimalSeparator() + decimals;
  if (value < 0 && !isZero)
    number.prepend(QLatin1Char('-'));
  return Unquoted(section.left(first)) + number + Unquoted(section.mid(last + 1));
}
