#include "platform/Numbers.h"

#include <QLocale>

#include <cmath>

std::int64_t RoundHalfEven(double value)
{
  return static_cast<std::int64_t>(std::nearbyint(value));
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
