#pragma once
// Small stateless routines shared by several subsystems: local time offset with European
// summer time, degrees-minutes-seconds texts, tolerant number reading, file-name cleaning
// and the quadratic interpolation of monthly values.

#include "platform/DateUtils.h"

#include <QString>

#include <functional>
#include <stdexcept>

// A text that is not a number.
class EConvertError : public std::runtime_error {
public:
  explicit EConvertError(const QString &message);
  QString Message() const { return message; }

private:
  QString message;
};

struct TInterpPoint {
  double X = 0;  // day of the year, possibly shifted by ±365 across the year's ends
  double Y = 0;  // month number, replaced by the caller with a monthly value
};

// The operating system's standard time-zone bias in minutes (universal = local + bias).
int SystemStandardBias();
// Replaces the bias source (tests); an empty function restores the system's.
void SetStandardBiasSource(std::function<int()> source);

// Minutes to add to universal time to get local time at the given local date-time.
int GetTimeZoneOffset(TDateTime date);

double DMSToDegree(const QString &text);
QString DegreeToDMS(double degrees);

// Reads a number written with either decimal separator; an empty text gives 0;
// anything else that is not a number raises EConvertError.
double StrToFloatLocal(const QString &text);

void CleanFileName(QString &name);

double InterpolateQuadratic(const TInterpPoint &p1, const TInterpPoint &p2, const TInterpPoint &p3,
                            double x);
void GetMonthPoints(TDateTime date, TInterpPoint &p1, TInterpPoint &p2, TInterpPoint &p3);
