#pragma once
// Clear-sky global irradiance on a tilted plane: extraterrestrial irradiance, Kasten's
// air mass at the site's pressure, Rayleigh optical thickness, Linke turbidity from the
// sky colour and the water-vapour pressure, and power laws of the Sun's altitude for the
// diffuse and ground-reflected light. A site's horizon is only the two shade times.

#include "platform/DateUtils.h"
#include "solar/unMoon.h"

// Linke turbidity factor from the sky colour, the air temperature (°C) and the relative
// humidity (fraction).
double GetLinkeTurbidity(TAngstromCoeff colour, double temperature, double humidity);

// Every step of one evaluation; the beam terms stay 0 when the Sun is down or the
// plane is in shade.
struct TIrradianceDetail {
  double Altitude = 0;  // h, degrees
  double Azimuth = 0;   // A, from the South, positive West
  int DayOfYear = 0;    // N
  double ExtraTerrestrial = 0;    // I₀, W/m²
  double Pressure = 0;            // P, Pa
  double AirMass = 0;             // m
  double RayleighThickness = 0;   // δ_R
  double LinkeTurbidity = 0;      // T_L
  double Beam = 0;                // B, W/m² at normal incidence
  double Diffuse = 0;             // D, W/m² on the plane (sky and ground)
  double CosIncidence = 0;        // cos θ, 0 when the Sun is behind the plane
  double Global = 0;              // G, W/m²
};

// Global irradiance (W/m²) on the plane of position at instant (UT) under a clear sky.
// Shade times are date-times of which only the time of day counts; 0 means none.
double GetIrradiance(const TGPSPosition &position, TDateTime instant, double temperature,
                     double humidity, TDateTime morningShadeEnd, TDateTime eveningShadeStart);
TIrradianceDetail GetIrradianceDetail(const TGPSPosition &position, TDateTime instant,
                                      double temperature, double humidity,
                                      TDateTime morningShadeEnd, TDateTime eveningShadeStart);
// What stays the same from one instant to the next at a site under a given climate:
// the plane's tilt terms, the site's pressure and the Linke turbidity of the sky.
struct TIrradianceSetting {
  double CosTilt = 1;
  double SinTilt = 0;
  double Pressure = 0;        // Pa
  double LinkeTurbidity = 0;  // for the clamped humidity
};
TIrradianceSetting GetIrradianceSetting(const TGPSPosition &position, double temperature,
                                        double humidity);

// The irradiance with the Sun's altitude and azimuth at instant already computed.
TIrradianceDetail IrradianceForSun(const TGPSPosition &position, const TIrradianceSetting &setting,
                                   TDateTime instant, double altitude, double azimuth,
                                   TDateTime morningShadeEnd, TDateTime eveningShadeStart);
