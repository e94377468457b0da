#pragma once
// One installation for the theoretical production estimate: position and plane, peak
// power, module and inverter losses, monthly climate and shade times. Turns the clear-
// sky irradiance into AC power at an instant and into a day's power curve and energy.

#include "platform/DateUtils.h"
#include "solar/unMoon.h"
#include "solar/unRayonnement.h"
#include "solar/unSunTrack.h"

#include <array>

class TPVSite {
public:
  static constexpr int MaxSamplesPerDay = 289;
  using TMonthValues = std::array<int, 12>;  // January first

  explicit TPVSite(int aID);

  int ID() const { return FID; }
  const TGPSPosition &Position() const { return FPosition; }
  void SetPosition(const TGPSPosition &aPosition) { FPosition = aPosition; }
  TAngstromCoeff Angstrom() const { return FPosition.Angstrom; }
  void SetAngstrom(TAngstromCoeff aAngstrom) { FPosition.Angstrom = aAngstrom; }

  double TempCoeffPuissance() const { return FTempCoeffPuissance; }
  void SetTempCoeffPuissance(double aValue);  // 0 gives −0.45
  double Noct() const { return FNoct; }
  void SetNoct(double aValue);  // 0 gives 48
  double Puissance() const { return FPuissance; }
  void SetPuissance(double aValue);
  double RendementOnduleur() const { return FRendementOnduleur; }
  void SetRendementOnduleur(double aValue);
  // Peak power per W/m² of irradiance, inverter losses included.
  double Rendement() const { return FRendement; }

  // Air temperature (°C) and relative humidity (fraction) at the current date: the
  // fixed values, or the monthly values interpolated. Writing a value fixes it.
  double MeanTemp() const;
  void SetMeanTemp(double aValue);
  double HR() const;
  void SetHR(double aValue);
  bool UseArrayTemp() const { return FUseArrayTemp; }
  void SetUseArrayTemp(bool aValue) { FUseArrayTemp = aValue; }
  bool UseArrayHR() const { return FUseArrayHR; }
  void SetUseArrayHR(bool aValue) { FUseArrayHR = aValue; }
  void SetArrayTemperature(const TMonthValues &aTab) { FArrayTemperature = aTab; }
  void SetArrayHR(const TMonthValues &aTab) { FArrayHR = aTab; }

  TDateTime MaskMatin() const { return FMaskMatin; }
  void SetMaskMatin(TDateTime aValue) { FMaskMatin = aValue; }
  TDateTime MaskSoir() const { return FMaskSoir; }
  void SetMaskSoir(TDateTime aValue) { FMaskSoir = aValue; }
  double PuissanceOnduleurACMax() const { return FPuissanceOnduleurACMax; }
  void SetPuissanceOnduleurACMax(double aValue) { FPuissanceOnduleurACMax = aValue; }
  bool UsePOnduleurACMax() const { return FUsePOnduleurACMax; }
  void SetUsePOnduleurACMax(bool aValue) { FUsePOnduleurACMax = aValue; }

  // Share of this installation in the peak power of its group; takes the group's total.
  double RatioPuissance() const { return FRatioPuissance; }
  void SetRatioPuissance(double aTotalPuissance);

  // Irradiance (W/m²), AC power (W) and temperature factor at one instant (UT).
  void GetDataForATime(TDateTime aSunTime, double &aIrradiance, double &aPuissance,
                       double &aTempCoeff);
  // The same at the instant a track of this site's Sun stands at.
  void GetDataForATime(const TSunTrack &aTrack, TDateTime aSunTime, double &aIrradiance,
                       double &aPuissance, double &aTempCoeff);

  // Simulates the daylight of aDay (GetDaylight) from sunrise + 10 min to sunset − 10
  // min in 10-minute samples: maximum irradiance and power, minimum temperature factor,
  // energy and surplus over aPuissance_Fond (kWh), production hours. Returns the number
  // of samples, whose powers are in DataPowerOfTheDay. Raises E_NoRiseSet.
  int GetDataForADay(TDateTime aDay, double aPuissance_Fond, double &aIrradiance,
                     double &aPuissance, double &aTempCoeff, double &aEnergie,
                     double &aSurplus, double &aTimeProd);

  std::array<double, MaxSamplesPerDay> DataPowerOfTheDay{};

private:
  // The instant's values with the Sun's position and the climate's setting known.
  void DataAtSun(TDateTime aSunTime, double aAltitude, double aAzimuth,
                 const TIrradianceSetting &aSetting, double aAirTemperature, double &aIrradiance,
                 double &aPuissance, double &aTempCoeff) const;
  double CellTemperature(double aIrradiance, double aAirTemperature) const;
  void UpdateRendement();

  int FID;
  TGPSPosition FPosition;
  double FTempCoeffPuissance = 0;
  double FMeanTemp = 0;
  double FPuissance = 0;
  double FNoct = 0;
  double FHR = 0;
  TDateTime FMaskMatin = 0;
  TDateTime FMaskSoir = 0;
  double FRendementOnduleur = 0;
  double FRendement = 0;
  TMonthValues FArrayTemperature{};
  TMonthValues FArrayHR{};
  bool FUseArrayTemp = true;
  bool FUseArrayHR = true;
  TDateTime FCurrentDate;
  double FPuissanceOnduleurACMax = 0;
  bool FUsePOnduleurACMax = false;
  double FRatioPuissance = 0;
  // Rotation of the Sun's series over the 10 minutes between two samples of a day.
  TSeriesStep FSampleStep;
};
