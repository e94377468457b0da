#include "shell/unRoutine.h"

#include "platform/DelphiFormat.h"
#include "platform/Numbers.h"

#include <QDateTime>
#include <QLocale>
#include <QTimeZone>

#include <cmath>

EConvertError::EConvertError(const QString &text)
    : std::runtime_error(text.toStdString()), message(text)
{
}

namespace {

std::function<int()> &BiasSource()
{
  static std::function<int()> source;
  return source;
}

int CurrentBias() { return BiasSource() ? BiasSource()() : SystemStandardBias(); }

// The last Sunday of the month at 0:00 (the month is March or October, 31 days long).
TDateTime LastSundayOf(int year, int month)
{
  const TDateTime last = EncodeDate(year, month, 31);
  const int weekDay = DayOfTheWeek(last);  // Monday 1 … Sunday 7
  return weekDay == 7 ? last : last - weekDay;
}

bool ReadWholeNumber(const QString &text, int &value)
{
  bool ok = false;
  value = text.trimmed().toInt(&ok);
  return ok;
}

int DayOf15th(int year, int month) { return DayOfTheYear(EncodeDate(year, month, 15)); }

}  // namespace

int SystemStandardBias()
{
  const QTimeZone zone = QTimeZone::systemTimeZone();
  return -zone.standardTimeOffset(QDateTime::currentDateTime()) / 60;
}

void SetStandardBiasSource(std::function<int()> source) { BiasSource() = std::move(source); }

int GetTimeZoneOffset(TDateTime date)
{
  const int bias = CurrentBias();
  const int year = DecodeDate(date).Year;
  if (date < LastSundayOf(year, 3))
    return -bias;
  if (date < LastSundayOf(year, 10))
    return 60 - bias;
  return -bias;
}

double DMSToDegree(const QString &text)
{
  const qsizetype degreeEnd = text.indexOf(QChar(0x00B0));
  if (degreeEnd < 0)
    return 0;
  const qsizetype minuteEnd = text.indexOf(QLatin1Char('\''), degreeEnd + 1);
  if (minuteEnd < 0)
    return 0;
  const qsizetype secondEnd = text.indexOf(QLatin1Char('"'), minuteEnd + 1);
  if (secondEnd < 0)
    return 0;
  int degrees = 0;
  int minutes = 0;
  int seconds = 0;
  if (!ReadWholeNumber(text.left(degreeEnd), degrees) ||
      !ReadWholeNumber(text.mid(degreeEnd + 1, minuteEnd - degreeEnd - 1), minutes) ||
      !ReadWholeNumber(text.mid(minuteEnd + 1, secondEnd - minuteEnd - 1), seconds))
    return 0;
  return degrees + minutes / 60.0 + seconds / 3600.0;
}

QString DegreeToDMS(double degrees)
{
  const std::int64_t total = RoundHalfEven(std::fabs(degrees) * 3600.0);
  const std::int64_t seconds = total % 60;
  const std::int64_t minutes = ((total - seconds) / 60) % 60;
  const std::int64_t whole = (total - seconds - 60 * minutes) / 3600;
  return FormatArgs(QStringLiteral("%.2d°%.2d'%.2d\""), whole, minutes, seconds);
}

double StrToFloatLocal(const QString &text)
{
  if (text.isEmpty())
    return 0;
  QString normalised = text;
  if (DecimalSeparator() == QLatin1Char('.'))
    normalised.replace(QLatin1Char(','), QLatin1Char('.'));
  else
    normalised.replace(QLatin1Char('.'), DecimalSeparator());
  bool ok = false;
  const double value = QLocale().toDouble(normalised.trimmed(), &ok);
  if (!ok)
    throw EConvertError(FormatArgs(QStringLiteral("'%s' n'est pas une valeur numérique correcte"), text));
  return value;
}

void CleanFileName(QString &name)
{
  static const QString forbidden = QStringLiteral("/\\:=*?\"<>|");
  for (QChar &c : name)
    if (forbidden.contains(c))
      c = QLatin1Char('_');
}

double InterpolateQuadratic(const TInterpPoint &p1, const TInterpPoint &p2, const TInterpPoint &p3,
                            double x)
{
  const double l1 = (x - p2.X) * (x - p3.X) / ((p1.X - p2.X) * (p1.X - p3.X));
  const double l2 = (x - p1.X) * (x - p3.X) / ((p2.X - p1.X) * (p2.X - p3.X));
  const double l3 = (x - p1.X) * (x - p2.X) / ((p3.X - p1.X) * (p3.X - p2.X));
  return p1.Y * l1 + p2.Y * l2 + p3.Y * l3;
}

void GetMonthPoints(TDateTime date, TInterpPoint &p1, TInterpPoint &p2, TInterpPoint &p3)
{
  const TDateParts parts = DecodeDate(date);
  const int y = parts.Year;
  const int m = parts.Month;
  p2 = {static_cast<double>(DayOf15th(y, m)), static_cast<double>(m)};
  p1 = m >= 2 ? TInterpPoint{static_cast<double>(DayOf15th(y, m - 1)), static_cast<double>(m - 1)}
              : TInterpPoint{static_cast<double>(DayOf15th(y - 1, 12) - 365), 12.0};
  p3 = m <= 11 ? TInterpPoint{static_cast<double>(DayOf15th(y, m + 1)), static_cast<double>(m + 1)}
               : TInterpPoint{static_cast<double>(DayOf15th(y + 1, 1) + 365), 1.0};
}
