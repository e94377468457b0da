#pragma once
// The Sun as seen from a site, computed with ERFA (the IAU SOFA library): Earth
// ephemeris EPV00, annual aberration with relativistic terms, IAU 2000B precession-
// nutation, Earth rotation angle, WGS84 observer (topocentric). No refraction. Serves
// only as the independent reference of the accuracy tests.

#include "platform/DateUtils.h"

struct TReferenceSun {
  double Altitude;  // degrees
  double Azimuth;   // degrees from the South, positive towards the West, (−180, 180]
};

// t is universal time (UT1); terrestrial time adds TAI−UTC of that date and 32.184 s.
// Longitude is west-positive, as in the program.
TReferenceSun ReferenceSun(TDateTime t, double latitude, double longitude);
