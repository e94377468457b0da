#include "solar/unRayonnement.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr double kDegToRad = 0.017453292519943295;
constexpr double kSolarConstant = 1367.0;
constexpr double kSeaLevelPressure = 101325.0;
constexpr double kMillisecondsPerDay = 86400000.0;

// Time of day in whole milliseconds, the resolution of the program's date-times, so
// that a shade time equal to a sample's time compares equal whatever the arithmetic
// that produced either.
long long MillisecondOfDay(TDateTime t) { return std::llround((t - std::floor(t)) * kMillisecondsPerDay); }

bool BeamShaded(TDateTime instant, TDateTime morningShadeEnd, TDateTime eveningShadeStart)
{
  const long long time = MillisecondOfDay(instant);
  if (morningShadeEnd != 0 && time < MillisecondOfDay(morningShadeEnd))
    return true;
  return eveningShadeStart != 0 && time > MillisecondOfDay(eveningShadeStart);
}

}  // namespace

double GetLinkeTurbidity(TAngstromCoeff colour, double temperature, double humidity)
{
  const double beta = AngstromBeta(colour);
  const double vapourPressure = humidity * 2.165 * std::pow(1.098 + temperature / 100.0, 8.02);
  return 2.4 + 14.6 * beta + 0.4 * (1 + 2 * beta) * std::log(vapourPressure);
}

TIrradianceSetting GetIrradianceSetting(const TGPSPosition &position, double temperature,
                                        double humidity)
{
  if (humidity <= 0)
    humidity = 0.01;
  else if (humidity > 1)
    humidity = 1;
  TIrradianceSetting setting;
  const double tilt = position.Inclinaison * kDegToRad;
  setting.CosTilt = std::cos(tilt);
  setting.SinTilt = std::sin(tilt);
  setting.Pressure = kSeaLevelPressure * std::pow(1 - 2.26e-5 * position.Altitude, 5.26);
  setting.LinkeTurbidity = GetLinkeTurbidity(position.Angstrom, temperature, humidity);
  return setting;
}

TIrradianceDetail IrradianceForSun(const TGPSPosition &position, const TIrradianceSetting &setting,
                                   TDateTime instant, double altitude, double azimuth,
                                   TDateTime morningShadeEnd, TDateTime eveningShadeStart)
{
  TIrradianceDetail d;
  d.Altitude = altitude;
  d.Azimuth = azimuth;
  if (altitude <= 0)
    return d;  // night: no diffuse light either

  const double h = altitude;
  const double sinH = std::sin(h * kDegToRad);
  if (!BeamShaded(instant, morningShadeEnd, eveningShadeStart)) {
    d.DayOfYear = DayOfTheYear(instant);
    d.ExtraTerrestrial =
        kSolarConstant * (1 + 0.0334 * std::cos(2 * std::numbers::pi * (d.DayOfYear - 2.7206) / 365.25));
    d.Pressure = setting.Pressure;
    // Kasten's air mass, scaled by the site's pressure (15198.75 = 0.15 × 101325).
    d.AirMass = d.Pressure / (kSeaLevelPressure * sinH + 15198.75 * std::pow(h + 3.885, -1.253));
    d.RayleighThickness = 1 / (0.9 * d.AirMass + 9.4);
    d.LinkeTurbidity = setting.LinkeTurbidity;
    d.Beam = d.ExtraTerrestrial * std::exp(-d.LinkeTurbidity * d.RayleighThickness * d.AirMass);
  }

  const double cosTilt = setting.CosTilt;
  // Sky diffuse light, then light reflected by the ground.
  // Both powers of sin h from one logarithm.
  const double logSinH = std::log(sinH);
  d.Diffuse = 125 * std::exp(0.4 * logSinH) * (1 + cosTilt) / 2 +
              211.86 * std::exp(1.22 * logSinH) * (1 - cosTilt) / 2;
  d.CosIncidence = std::cos((position.Orientation - azimuth) * kDegToRad) * setting.SinTilt *
                       std::cos(h * kDegToRad) +
                   cosTilt * sinH;
  d.CosIncidence = std::max(d.CosIncidence, 0.0);
  d.Global = std::max(d.Beam * d.CosIncidence + d.Diffuse, 0.0);
  return d;
}

TIrradianceDetail GetIrradianceDetail(const TGPSPosition &position, TDateTime instant,
                                      double temperature, double humidity,
                                      TDateTime morningShadeEnd, TDateTime eveningShadeStart)
{
  double altitude = 0;
  double azimuth = 0;
  GetSunHorizontal(position, instant, altitude, azimuth);
  return IrradianceForSun(position, GetIrradianceSetting(position, temperature, humidity), instant,
                          altitude, azimuth, morningShadeEnd, eveningShadeStart);
}

double GetIrradiance(const TGPSPosition &position, TDateTime instant, double temperature,
                     double humidity, TDateTime morningShadeEnd, TDateTime eveningShadeStart)
{
  return GetIrradianceDetail(position, instant, temperature, humidity, morningShadeEnd,
                             eveningShadeStart)
      .Global;
}
