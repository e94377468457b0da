#include "shell/unRoutine.h"

#include "platform/Numbers.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// Fixes the zone's standard bias for the lifetime of the object.
class FixedBias {
public:
  explicit FixedBias(int bias) { SetStandardBiasSource([bias] { return bias; }); }
  ~FixedBias() { SetStandardBiasSource({}); }
};

const QString kSecondsMark = QStringLiteral("\"");

}  // namespace

TEST(GetTimeZoneOffset, SummerTimeChangesAtMidnightOfTheLastSundays)
{
  const FixedBias paris(-60);
  struct Case {
    TDateTime when;
    int expected;
  } cases[] = {
      {EncodeDateTime(2014, 3, 30, 0, 0, 0), 120},    // last Sunday of March, a Sunday the 30th
      {EncodeDateTime(2014, 3, 29, 23, 0, 0), 60},
      {EncodeDateTime(2014, 10, 26, 0, 0, 0), 60},    // last Sunday of October
      {EncodeDateTime(2014, 10, 25, 23, 59, 0), 120},
      {EncodeDateTime(2015, 3, 29, 0, 0, 0), 120},    // 31 March 2015 is a Tuesday
      {EncodeDateTime(2015, 3, 28, 12, 0, 0), 60},
      {EncodeDateTime(2013, 3, 31, 0, 0, 0), 120},    // 31 March 2013 is itself a Sunday
      {EncodeDateTime(2014, 1, 15, 12, 0, 0), 60},
      {EncodeDateTime(2014, 7, 1, 12, 0, 0), 120},
      {EncodeDateTime(2014, 12, 31, 23, 0, 0), 60},
  };
  for (const Case &c : cases)
    EXPECT_EQ(GetTimeZoneOffset(c.when), c.expected) << ToQDateTime(c.when).toString().toStdString();
}

TEST(GetTimeZoneOffset, FollowsTheZoneBias)
{
  const FixedBias newYork(300);
  EXPECT_EQ(GetTimeZoneOffset(EncodeDate(2014, 1, 1)), -300);
  EXPECT_EQ(GetTimeZoneOffset(EncodeDate(2014, 7, 1)), -240);
}

TEST(DMSToDegree, ReadsDegreesMinutesSecondsAndRejectsMalformedTexts)
{
  EXPECT_NEAR(DMSToDegree(QStringLiteral("06°23'39") + kSecondsMark), 6.394166666, 1e-8);
  EXPECT_DOUBLE_EQ(DMSToDegree(QStringLiteral(" 43 ° 36 ' 00 ") + kSecondsMark), 43.6);
  const QString malformed[] = {
      QStringLiteral("43 36 00"),                      // no degree sign
      QStringLiteral("43°'00") + kSecondsMark,         // empty minutes
      QStringLiteral("43°3a'00") + kSecondsMark,       // not an integer
      QStringLiteral("43°36'00"),                      // no seconds mark
      QString(),
  };
  for (const QString &text : malformed)
    EXPECT_EQ(DMSToDegree(text), 0.0) << text.toStdString();
}

TEST(DegreeToDMS, RoundsToTheSecondAndDropsTheSign)
{
  struct Case {
    double degrees;
    const char *expected;
  } cases[] = {
      {43.6, "43°36'00"},
      {-6.394167, "06°23'39"},
      {0.99999, "01°00'00"},     // the rounding carries into the degrees
      {123.5, "123°30'00"},
      {0.0, "00°00'00"},
  };
  for (const Case &c : cases)
    EXPECT_EQ(DegreeToDMS(c.degrees), QString::fromUtf8(c.expected) + kSecondsMark) << c.degrees;
}

TEST(DegreeToDMS, RoundTripsThroughDMSToDegree)
{
  for (double degrees : {0.5, 6.394167, 43.70123, 89.99}) {
    const double back = DMSToDegree(DegreeToDMS(degrees));
    EXPECT_NEAR(back, degrees, 0.5 / 3600) << degrees;
  }
}

TEST(StrToFloatLocal, AcceptsBothSeparatorsAndRaisesOnText)
{
  EXPECT_DOUBLE_EQ(StrToFloatLocal(QStringLiteral("2,5")), 2.5);
  EXPECT_DOUBLE_EQ(StrToFloatLocal(QStringLiteral("2.5")), 2.5);
  EXPECT_DOUBLE_EQ(StrToFloatLocal(QStringLiteral("-0.0045")), -0.0045);
  EXPECT_DOUBLE_EQ(StrToFloatLocal(QString()), 0.0);
  EXPECT_THROW(StrToFloatLocal(QStringLiteral("abc")), EConvertError);
  EXPECT_THROW(StrToFloatLocal(QStringLiteral("1.2.3")), EConvertError);
}

TEST(CleanFileName, ReplacesEveryForbiddenCharacter)
{
  QString name = QStringLiteral("a/b:c=d");
  CleanFileName(name);
  EXPECT_EQ(name, QStringLiteral("a_b_c_d"));
  name = QStringLiteral("\\*?\"<>|ok");
  CleanFileName(name);
  EXPECT_EQ(name, QStringLiteral("_______ok"));
}

TEST(GetMonthPoints, AnchorsOnThe15thAndShiftsAcrossTheYearEnds)
{
  struct Case {
    TDateTime date;
    TInterpPoint p1, p2, p3;
  } cases[] = {
      {EncodeDate(2014, 1, 20), {-16, 12}, {15, 1}, {46, 2}},
      {EncodeDate(2014, 12, 3), {319, 11}, {349, 12}, {380, 1}},
      {EncodeDate(2012, 3, 1), {46, 2}, {75, 3}, {106, 4}},   // leap year
      {EncodeDate(2013, 1, 10), {-15, 12}, {15, 1}, {46, 2}}, // after a leap year
  };
  for (const Case &c : cases) {
    TInterpPoint p1, p2, p3;
    GetMonthPoints(c.date, p1, p2, p3);
    EXPECT_EQ(p1.X, c.p1.X);
    EXPECT_EQ(p1.Y, c.p1.Y);
    EXPECT_EQ(p2.X, c.p2.X);
    EXPECT_EQ(p2.Y, c.p2.Y);
    EXPECT_EQ(p3.X, c.p3.X);
    EXPECT_EQ(p3.Y, c.p3.Y);
  }
}

TEST(InterpolateQuadratic, PassesThroughThePointsAndIsExactForQuadratics)
{
  const auto f = [](double x) { return 0.5 * x * x - 3 * x + 7; };
  const TInterpPoint p1{-16, f(-16)}, p2{15, f(15)}, p3{46, f(46)};
  EXPECT_EQ(InterpolateQuadratic(p1, p2, p3, 15), p2.Y);
  for (double x : {-20.0, 0.0, 20.0, 31.0, 60.0})
    EXPECT_NEAR(InterpolateQuadratic(p1, p2, p3, x), f(x), 1e-9 * std::fabs(f(x)) + 1e-9) << x;
}
