#pragma once
// The plane of the worked examples: Provence, 600 m, facing south, tilted 20°, dark-blue sky.

#include "solar/unMoon.h"

inline TGPSPosition WorkedPlane()
{
  TGPSPosition site;
  site.Latitude = 43.6;
  site.Longitude = -6.394167;
  site.Altitude = 600;
  site.Orientation = 0;
  site.Inclinaison = 20;
  site.Angstrom = TAngstromCoeff::acBleuFonce;
  return site;
}
