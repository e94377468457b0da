#include "platform/Numbers.h"

#include <QLocale>

#include <cmath>
#include <limits>

std::int64_t RoundHalfEven(double value)
{
  // 2^63 is the first double beyond the range; converting it would be undefined.
  constexpr double kLimit = 9223372036854775808.0;
  const double rounded = std::nearbyint(value);
  if (!std::isfinite(rounded) || rounded >= kLimit || rounded < -kLimit)
    return 0;
  return static_cast<std::int64_t>(rounded);
}

int RoundToInt(double value)
{
  const std::int64_t rounded = RoundHalfEven(value);
  if (rounded > std::numeric_limits<int>::max() || rounded < std::numeric_limits<int>::min())
    return 0;
  return static_cast<int>(rounded);
}

QChar DecimalSeparator()
{
  const QString point = QLocale().decimalPoint();
  return point.isEmpty() ? QChar('.') : point.front();
}

bool TryParseNumber(const QString &text, double &value)
{
  QString normalised = text.trimmed();
  normalised.replace(QLatin1Char(','), QLatin1Char('.'));
  if (normalised.isEmpty())
    return false;
  bool ok = false;
  const double parsed = QLocale::c().toDouble(normalised, &ok);
  if (!ok || !std::isfinite(parsed))
    return false;
  value = parsed;
  return true;
}

QString FloatToStrLocal(double value, int decimals)
{
  QString text = QString::number(value, 'f', decimals);
  if (DecimalSeparator() != QLatin1Char('.'))
    text.replace(QLatin1Char('.'), DecimalSeparator());
  return text;
}
