#include "platform/DateUtils.h"

#include <cmath>

namespace {
// Julian day of 30 December 1899; a constant expression, so dates encoded while other
// constants are being initialised are right too.
constexpr QDate kEpoch = QDate::fromJulianDay(2415019);
constexpr double kMillisecondsPerDay = 86400000.0;

// The whole-day part, counted toward minus infinity for times before the epoch is not
// used by the program; times are always positive day counts.
qint64 WholeDays(TDateTime value) { return static_cast<qint64>(std::floor(value)); }

qint64 MillisecondsOfDay(TDateTime value)
{
  const qint64 ms = std::llround((value - std::floor(value)) * kMillisecondsPerDay);
  return ms >= 86400000 ? 86399999 : ms;
}
}  // namespace

bool IsLeapYear(int year) { return QDate::isLeapYear(year); }

int DaysInAMonth(int year, int month) { return QDate(year, month, 1).daysInMonth(); }

TDateTime EncodeDate(int year, int month, int day)
{
  return static_cast<double>(kEpoch.daysTo(QDate(year, month, day)));
}

TDateTime EncodeTime(int hour, int minute, int second, int milliSecond)
{
  return (((hour * 60.0 + minute) * 60.0 + second) * 1000.0 + milliSecond) / kMillisecondsPerDay;
}

TDateTime EncodeDateTime(int year, int month, int day, int hour, int minute, int second,
                         int milliSecond)
{
  return EncodeDate(year, month, day) + EncodeTime(hour, minute, second, milliSecond);
}

TDateParts DecodeDate(TDateTime value)
{
  const QDate date = kEpoch.addDays(WholeDays(value));
  return {date.year(), date.month(), date.day()};
}

TTimeParts DecodeTime(TDateTime value)
{
  qint64 ms = MillisecondsOfDay(value);
  TTimeParts parts;
  parts.Hour = static_cast<int>(ms / 3600000);
  ms %= 3600000;
  parts.Minute = static_cast<int>(ms / 60000);
  ms %= 60000;
  parts.Second = static_cast<int>(ms / 1000);
  parts.MilliSecond = static_cast<int>(ms % 1000);
  return parts;
}

int DayOfTheYear(TDateTime value) { return kEpoch.addDays(WholeDays(value)).dayOfYear(); }

int DayOfTheWeek(TDateTime value) { return kEpoch.addDays(WholeDays(value)).dayOfWeek(); }

TDateTime DateOf(TDateTime value) { return std::floor(value); }

TDateTime TimeOf(TDateTime value) { return value - std::floor(value); }

TDateTime ToDateTime(const QDateTime &value)
{
  const QDate date = value.date();
  const QTime time = value.time();
  return EncodeDate(date.year(), date.month(), date.day()) +
         EncodeTime(time.hour(), time.minute(), time.second(), time.msec());
}

QDateTime ToQDateTime(TDateTime value)
{
  const QDate date = kEpoch.addDays(WholeDays(value));
  return QDateTime(date, QTime::fromMSecsSinceStartOfDay(static_cast<int>(MillisecondsOfDay(value))));
}

TDateTime Now() { return ToDateTime(QDateTime::currentDateTime()); }
