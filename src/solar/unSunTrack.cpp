#include "solar/unSunTrack.h"

#include <cmath>

namespace {

constexpr double kDaysPerMillennium = 365250.0;
constexpr double kDaysPerCentury = 36525.0;

// (sin, cos) of an angle turned on by an angle of the given (sin, cos).
void Rotate(double &aSin, double &aCos, double aStepSin, double aStepCos)
{
  const double nextCos = aCos * aStepCos - aSin * aStepSin;
  aSin = aSin * aStepCos + aCos * aStepSin;
  aCos = nextCos;
}

}  // namespace

TSeriesStep::TSeriesStep(TDateTime aStep)
{
  const TVSOPTerm *terms = VSOPEarthTerms();
  const double deltaTau = aStep / kDaysPerMillennium;
  for (int i = 0; i < VSOPEarthTermTotal; ++i) {
    FCos[i] = std::cos(terms[i].C * deltaTau);
    FSin[i] = std::sin(terms[i].C * deltaTau);
    FAmplitude[i] = terms[i].A;
  }
  for (int coordinate = 0; coordinate < 3; ++coordinate)
    for (int power = 0; power < 6; ++power)
      FRanges[coordinate][power] = VSOPEarthSeries(static_cast<TVSOPCoordinate>(coordinate), power);
  const double deltaT = aStep / kDaysPerCentury;
  FNutation.SinTwoSun = SinD(TwoSunRate * deltaT);
  FNutation.CosTwoSun = CosD(TwoSunRate * deltaT);
  FNutation.SinTwoMoon = SinD(TwoMoonRate * deltaT);
  FNutation.CosTwoMoon = CosD(TwoMoonRate * deltaT);
}

TSunTrack::TSunTrack(double aLatitude, double aLongitude, const TSeriesStep &aStep)
    : FLatitude(aLatitude), FLongitude(aLongitude), FStep(aStep)
{
}

void TSunTrack::Start(TDateTime t)
{
  const double tau = VSOPTau(t);
  const TVSOPTerm *terms = VSOPEarthTerms();
  TSums sums;
  for (int coordinate = 0; coordinate < 3; ++coordinate)
    for (int power = 0; power < 6; ++power) {
      const TVSOPSeriesRange range = VSOPEarthSeries(static_cast<TVSOPCoordinate>(coordinate), power);
      double sum = 0;
      for (int i = range.First; i < range.First + range.Count; ++i) {
        const double phase = terms[i].B + terms[i].C * tau;
        FCos[i] = std::cos(phase);
        FSin[i] = std::sin(phase);
        sum += terms[i].A * FCos[i];
      }
      sums[coordinate][power] = sum;
    }
  FNutation = GetNutationArguments(NutationCenturies(t));
  Locate(t, sums);
}

void TSunTrack::Next(TDateTime t)
{
  // Rotate every term (independent, so the compiler may process them in pairs), then
  // sum each series with two partial sums.
  const double *__restrict stepCos = FStep.FCos.data();
  const double *__restrict stepSin = FStep.FSin.data();
  double *__restrict c = FCos.data();
  double *__restrict s = FSin.data();
  for (int i = 0; i < VSOPEarthTermTotal; ++i) {
    const double nextCos = c[i] * stepCos[i] - s[i] * stepSin[i];
    s[i] = s[i] * stepCos[i] + c[i] * stepSin[i];
    c[i] = nextCos;
  }
  const double *amplitude = FStep.FAmplitude.data();
  TSums sums;
  for (int coordinate = 0; coordinate < 3; ++coordinate)
    for (int power = 0; power < 6; ++power) {
      const TVSOPSeriesRange range = FStep.FRanges[coordinate][power];
      const int end = range.First + range.Count;
      double even = 0, odd = 0;
      int i = range.First;
      for (; i + 1 < end; i += 2) {
        even += amplitude[i] * c[i];
        odd += amplitude[i + 1] * c[i + 1];
      }
      if (i < end)
        even += amplitude[i] * c[i];
      sums[coordinate][power] = even + odd;
    }
  const TNutationArguments &step = FStep.FNutation;
  Rotate(FNutation.SinTwoSun, FNutation.CosTwoSun, step.SinTwoSun, step.CosTwoSun);
  Rotate(FNutation.SinTwoMoon, FNutation.CosTwoMoon, step.SinTwoMoon, step.CosTwoMoon);
  Locate(t, sums);
}

void TSunTrack::Locate(TDateTime t, const TSums &aSums)
{
  const double tau = VSOPTau(t);
  TVSOPCoordinates series;
  series.L = CombineVSOPSeries(aSums[static_cast<int>(TVSOPCoordinate::Longitude)], tau);
  series.B = CombineVSOPSeries(aSums[static_cast<int>(TVSOPCoordinate::Latitude)], tau);
  series.R = CombineVSOPSeries(aSums[static_cast<int>(TVSOPCoordinate::Radius)], tau);

  const TNutation nutation = GetNutation(t, FNutation);
  SunPositionFromSeries(FPosition, series, tau, nutation);
  EquatorialToHorizontalAt(FPosition, FLatitude, FLongitude, GetSiderealTime(t, nutation));
}

TRiseSet TrackedRiseSet(TDateTime t, double latitude, double longitude)
{
  static const TSeriesStep oneDay(1.0);
  const TDateTime day = std::trunc(t);
  TSunTrack track(latitude, longitude, oneDay);
  track.Start(day - 1);
  const TBodyPosition before = track.Position();
  track.Next(day);
  const TBodyPosition today = track.Position();
  track.Next(day + 1);
  return RiseSetFromPositions(day, before, today, track.Position(), GetSiderealTime(day),
                              latitude, longitude);
}
