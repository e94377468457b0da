#include "solar/unPVSite.h"

#include "solar/unRayonnement.h"
#include "shell/unRoutine.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kMinutesPerDay = 1440.0;
constexpr int kSampleMinutes = 10;
// kWh per W held for one sample.
constexpr double kEnergyPerSample = kSampleMinutes / kMinutesPerDay * 24.0 / 1000.0;
constexpr double kDefaultTempCoeff = -0.45;
constexpr double kDefaultNoct = 48.0;
constexpr double kDefaultHR = 0.75;

TDateTime IncMinute(TDateTime t, double minutes) { return t + minutes / kMinutesPerDay; }

// The monthly values around date, interpolated at its day of the year.
double InterpolateMonths(const TPVSite::TMonthValues &values, TDateTime date)
{
  TInterpPoint p1, p2, p3;
  GetMonthPoints(date, p1, p2, p3);
  for (TInterpPoint *p : {&p1, &p2, &p3})
    p->Y = values[static_cast<std::size_t>(p->Y) - 1];
  return InterpolateQuadratic(p1, p2, p3, DayOfTheYear(date));
}

}  // namespace

TPVSite::TPVSite(int aID) : FID(aID), FCurrentDate(Now()), FSampleStep(kSampleMinutes / kMinutesPerDay) {}

void TPVSite::SetTempCoeffPuissance(double aValue)
{
  FTempCoeffPuissance = aValue == 0 ? kDefaultTempCoeff : aValue;
}

void TPVSite::SetNoct(double aValue) { FNoct = aValue == 0 ? kDefaultNoct : aValue; }

void TPVSite::SetPuissance(double aValue)
{
  FPuissance = aValue;
  UpdateRendement();
}

void TPVSite::SetRendementOnduleur(double aValue)
{
  FRendementOnduleur = aValue;
  UpdateRendement();
}

void TPVSite::UpdateRendement() { FRendement = FPuissance / 1000.0 * FRendementOnduleur / 100.0; }

double TPVSite::MeanTemp() const
{
  return FUseArrayTemp ? InterpolateMonths(FArrayTemperature, FCurrentDate) : FMeanTemp;
}

void TPVSite::SetMeanTemp(double aValue)
{
  FMeanTemp = aValue;
  FUseArrayTemp = false;
}

double TPVSite::HR() const
{
  if (FUseArrayHR)
    return InterpolateMonths(FArrayHR, FCurrentDate) / 100.0;
  return FHR == 0 ? kDefaultHR : FHR;
}

void TPVSite::SetHR(double aValue)
{
  FHR = aValue;
  FUseArrayHR = false;
}

void TPVSite::SetRatioPuissance(double aTotalPuissance)
{
  FRatioPuissance = aTotalPuissance == 0 ? 1.0 : FPuissance / aTotalPuissance;
}

double TPVSite::CellTemperature(double aIrradiance, double aAirTemperature) const
{
  return aIrradiance / 800.0 * (FNoct - 20.0) + aAirTemperature;
}

void TPVSite::DataAtSun(TDateTime aSunTime, double aAltitude, double aAzimuth,
                        const TIrradianceSetting &aSetting, double aAirTemperature,
                        double &aIrradiance, double &aPuissance, double &aTempCoeff) const
{
  aIrradiance =
      IrradianceForSun(FPosition, aSetting, aSunTime, aAltitude, aAzimuth, FMaskMatin, FMaskSoir).Global;
  const double cellTemperature = CellTemperature(aIrradiance, aAirTemperature);
  aTempCoeff = 1 + (cellTemperature - 25.0) * FTempCoeffPuissance / 100.0;
  aPuissance = aIrradiance * FRendement * aTempCoeff;
  // An inverter whose AC power is unknown (0) sets no limit: clipping to it would wipe
  // out the whole production.
  if (FUsePOnduleurACMax && FPuissanceOnduleurACMax > 0 && aPuissance > FPuissanceOnduleurACMax)
    aPuissance = FPuissanceOnduleurACMax;
}

void TPVSite::GetDataForATime(TDateTime aSunTime, double &aIrradiance, double &aPuissance,
                              double &aTempCoeff)
{
  double altitude = 0;
  double azimuth = 0;
  GetSunHorizontal(FPosition, aSunTime, altitude, azimuth);
  FCurrentDate = aSunTime;
  const double temperature = MeanTemp();
  DataAtSun(aSunTime, altitude, azimuth, GetIrradianceSetting(FPosition, temperature, HR()), temperature,
            aIrradiance, aPuissance, aTempCoeff);
}

void TPVSite::GetDataForATime(const TSunTrack &aTrack, TDateTime aSunTime, double &aIrradiance,
                              double &aPuissance, double &aTempCoeff)
{
  FCurrentDate = aSunTime;
  const double temperature = MeanTemp();
  DataAtSun(aSunTime, aTrack.Altitude(), aTrack.Azimuth(),
            GetIrradianceSetting(FPosition, temperature, HR()), temperature, aIrradiance, aPuissance,
            aTempCoeff);
}

int TPVSite::GetDataForADay(TDateTime aDay, double aPuissance_Fond, double &aIrradiance,
                            double &aPuissance, double &aTempCoeff, double &aEnergie,
                            double &aSurplus, double &aTimeProd)
{
  FCurrentDate = aDay;
  const TRiseSet riseSet = GetDaylight(aDay, FPosition.Latitude, FPosition.Longitude, TrackedRiseSet);
  const TDateTime start = IncMinute(riseSet.Rise, kSampleMinutes);
  const TDateTime finish = IncMinute(riseSet.Set, -kSampleMinutes);
  aTimeProd = std::abs(finish - start) * 24.0;

  // The day's climate is read once, at the day's start, and held for every sample.
  const bool useArrayTemp = FUseArrayTemp;
  const bool useArrayHR = FUseArrayHR;
  if (useArrayTemp)
    SetMeanTemp(MeanTemp());
  if (useArrayHR)
    SetHR(HR());

  // The climate being held, so is what the irradiance draws from it.
  const double temperature = MeanTemp();
  const TIrradianceSetting setting = GetIrradianceSetting(FPosition, temperature, HR());

  double energy = 0, surplus = 0, maxIrradiance = 0, maxPuissance = 0, minTempCoeff = 1;
  DataPowerOfTheDay.fill(0.0);
  TSunTrack track(FPosition.Latitude, FPosition.Longitude, FSampleStep);
  int samples = 0;
  TDateTime t = start;
  track.Start(t);
  for (;;) {
    double irradiance = 0, puissance = 0, tempCoeff = 0;
    FCurrentDate = t;
    DataAtSun(t, track.Altitude(), track.Azimuth(), setting, temperature, irradiance, puissance,
              tempCoeff);
    DataPowerOfTheDay[static_cast<std::size_t>(samples)] = puissance;
    maxIrradiance = std::max(maxIrradiance, irradiance);
    minTempCoeff = std::min(minTempCoeff, tempCoeff);
    maxPuissance = std::max(maxPuissance, puissance);
    energy += puissance * kEnergyPerSample;
    if (puissance > aPuissance_Fond)
      surplus += (puissance - aPuissance_Fond) * kEnergyPerSample;
    ++samples;
    t = IncMinute(start, samples * kSampleMinutes);
    if (t > finish || samples == MaxSamplesPerDay)
      break;
    track.Next(t);
  }

  FUseArrayTemp = useArrayTemp;
  FUseArrayHR = useArrayHR;
  aIrradiance = maxIrradiance;
  aPuissance = maxPuissance;
  aTempCoeff = minTempCoeff;
  aEnergie = energy;
  aSurplus = surplus;
  return samples;
}
