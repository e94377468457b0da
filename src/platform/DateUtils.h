#pragma once
// Date-times as day counts since 30 December 1899; the fraction is the time of day.

#include <QDateTime>

using TDateTime = double;

struct TDateParts {
  int Year = 0;
  int Month = 0;
  int Day = 0;
};

struct TTimeParts {
  int Hour = 0;
  int Minute = 0;
  int Second = 0;
  int MilliSecond = 0;
};

bool IsLeapYear(int year);
int DaysInAMonth(int year, int month);
TDateTime EncodeDate(int year, int month, int day);
TDateTime EncodeTime(int hour, int minute, int second, int milliSecond = 0);
TDateTime EncodeDateTime(int year, int month, int day, int hour, int minute, int second,
                         int milliSecond = 0);
TDateParts DecodeDate(TDateTime value);
TTimeParts DecodeTime(TDateTime value);
// 1 for 1 January.
int DayOfTheYear(TDateTime value);
// ISO numbering: Monday 1 … Sunday 7.
int DayOfTheWeek(TDateTime value);
TDateTime DateOf(TDateTime value);
TDateTime TimeOf(TDateTime value);
TDateTime ToDateTime(const QDateTime &value);
QDateTime ToQDateTime(TDateTime value);
TDateTime Now();
