#include "platform/DateUtils.h"
#include "platform/DelphiFormat.h"
#include "platform/Numbers.h"

#include "support/QtPrinters.h"

#include <QLocale>

#include <limits>

#include <gtest/gtest.h>

namespace {
// Encoded while the program's constants are initialised, before main.
const TDateTime kMillennium = EncodeDate(2000, 1, 1);

QString Dec(const char *dotted)
{
  return QString::fromLatin1(dotted).replace(QLatin1Char('.'), DecimalSeparator());
}
}  // namespace

TEST(RoundHalfEven, HalvesGoToTheEvenNeighbour)
{
  struct Case {
    double value;
    std::int64_t expected;
  } cases[] = {{0.5, 0}, {1.5, 2}, {2.5, 2}, {-2.5, -2}, {4321.6, 4322}, {2.4999, 2}, {-0.6, -1}};
  for (const Case &c : cases)
    EXPECT_EQ(RoundHalfEven(c.value), c.expected) << c.value;
}

TEST(RoundHalfEven, FiguresBeyondTheRangeGiveZero)
{
  for (double value : {1e300, -1e300, 9.3e18, std::numeric_limits<double>::infinity(),
                       std::numeric_limits<double>::quiet_NaN()})
    EXPECT_EQ(RoundHalfEven(value), 0) << value;
  EXPECT_EQ(RoundToInt(2147483647.4), 2147483647);
  EXPECT_EQ(RoundToInt(-2147483648.0), -2147483648);
  EXPECT_EQ(RoundToInt(2147483648.0), 0);
  EXPECT_EQ(RoundToInt(1e12), 0);
  EXPECT_EQ(RoundToInt(2.5), 2);
}

TEST(TryParseNumber, AcceptsEitherSeparatorAndRejectsText)
{
  double value = -1;
  EXPECT_TRUE(TryParseNumber(QStringLiteral(" 96,5 "), value));
  EXPECT_DOUBLE_EQ(value, 96.5);
  EXPECT_TRUE(TryParseNumber(QStringLiteral("4.6"), value));
  EXPECT_DOUBLE_EQ(value, 4.6);
  value = 7;
  EXPECT_FALSE(TryParseNumber(QStringLiteral(""), value));
  EXPECT_FALSE(TryParseNumber(QStringLiteral("abc"), value));
  EXPECT_FALSE(TryParseNumber(QStringLiteral("inf"), value));
  EXPECT_DOUBLE_EQ(value, 7);
}

TEST(DelphiFormat, IntegerRealAndTextConversions)
{
  EXPECT_EQ(FormatArgs("HR%.2d", 3), QStringLiteral("HR03"));
  EXPECT_EQ(FormatArgs("%.2d°%.2d'%.2d\"", 123, 4, 5), QStringLiteral("123°04'05\""));
  EXPECT_EQ(FormatArgs("IDSite=%d", -4), QStringLiteral("IDSite=-4"));
  EXPECT_EQ(FormatArgs("%f kWh", 2.5), Dec("2.50 kWh"));
  EXPECT_EQ(FormatArgs("%.1f", 0.25), Dec("0.3"));
  EXPECT_EQ(FormatArgs("%.6g", 1234567.0), Dec("1.23457E6"));
  EXPECT_EQ(FormatArgs("%.6g", 0.00001234), Dec("0.00001234"));
  EXPECT_EQ(FormatArgs("%.6g", -0.000001234), Dec("-1.234E-6"));
  EXPECT_EQ(FormatArgs("%.6g", 123456.4), Dec("123456"));
  EXPECT_EQ(FormatArgs("%.6g", 300.0), Dec("300"));
  EXPECT_EQ(FormatArgs("%e", 1234.5), Dec("1.23450000000000E+003"));
  EXPECT_EQ(FormatArgs("%.3e", -0.0012345), Dec("-1.23E-003"));
  EXPECT_EQ(FormatArgs("%.6g", 0.5), Dec("0.5"));
  EXPECT_EQ(FormatArgs("<%s> 100%%", QStringLiteral("Data.cds")), QStringLiteral("<Data.cds> 100%"));
  EXPECT_EQ(FormatDot("lat=%.6f", 43.7), QStringLiteral("lat=43.700000"));
  EXPECT_THROW(FormatArgs("%d %d", 1), std::invalid_argument);
}

TEST(DateUtils, EncodesDaysSinceTheDelphiEpoch)
{
  EXPECT_DOUBLE_EQ(EncodeDate(1899, 12, 30), 0.0);
  EXPECT_DOUBLE_EQ(EncodeDate(1900, 1, 1), 2.0);
  EXPECT_DOUBLE_EQ(kMillennium, 36526.0);
  const TDateTime t = EncodeDateTime(2014, 3, 30, 23, 59, 59, 999);
  const TDateParts d = DecodeDate(t);
  const TTimeParts h = DecodeTime(t);
  EXPECT_EQ(d.Year, 2014);
  EXPECT_EQ(d.Month, 3);
  EXPECT_EQ(d.Day, 30);
  EXPECT_EQ(h.Hour, 23);
  EXPECT_EQ(h.Minute, 59);
  EXPECT_EQ(h.Second, 59);
  EXPECT_EQ(h.MilliSecond, 999);
  EXPECT_EQ(DayOfTheWeek(t), 7);
  EXPECT_EQ(DayOfTheYear(EncodeDate(2012, 12, 31)), 366);
  EXPECT_EQ(DaysInAMonth(2012, 2), 29);
  EXPECT_DOUBLE_EQ(ToDateTime(ToQDateTime(t)), t);
}
