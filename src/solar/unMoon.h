#pragma once
// What an observer sees of the Sun: altitude and azimuth at an instant, sunrise and
// sunset of a day (Meeus's interpolation between three days with one correction pass).
// Longitudes are positive WEST of Greenwich; instants are universal time.

#include "platform/DateUtils.h"
#include "solar/unAngstrom.h"
#include "solar/vsop.h"

#include <QString>

#include <stdexcept>

// A site and its plane, copied by value.
struct TGPSPosition {
  QString Name;
  double Latitude = 0;   // degrees, north positive
  double Longitude = 0;  // degrees, west positive
  int Altitude = 0;      // metres
  int Orientation = 0;   // azimuth of the plane's normal: South 0, East −90, West +90
  int Inclinaison = 0;   // tilt from horizontal, degrees
  TAngstromCoeff Angstrom = TAngstromCoeff::acBleuProfond;
};

// The Sun neither rises nor sets that day (midnight sun or polar night).
class E_NoRiseSet : public std::runtime_error {
public:
  E_NoRiseSet();
  QString Message() const;
};

// Apparent sidereal time at Greenwich, degrees in [0, 360). The second form takes the
// nutation of t already computed.
double GetSiderealTime(TDateTime t);
double GetSiderealTime(TDateTime t, const TNutation &nutation);

// Fills p.Azimuth and p.Altitude from p.RightAscension and p.Declination. The second
// form takes the sidereal time of the instant already computed.
void EquatorialToHorizontal(TBodyPosition &p, double latitude, double longitude, TDateTime t);
void EquatorialToHorizontalAt(TBodyPosition &p, double latitude, double longitude,
                              double siderealTime);
// The site's latitude terms, computed once for a site.
struct TLatitudeTerms {
  explicit TLatitudeTerms(double latitude) : Sin(SinD(latitude)), Cos(CosD(latitude)) {}
  double Sin;
  double Cos;
};
void EquatorialToHorizontalAt(TBodyPosition &p, const TLatitudeTerms &latitude, double longitude,
                              double siderealTime);

// The Sun's altitude and azimuth (from the South, positive West) at t, degrees.
void GetSunHorizontal(const TGPSPosition &position, TDateTime t, double &altitude,
                      double &azimuth);

// Interpolation of three values at days −1, 0, +1 (right ascensions may wrap at ±180).
double Interpolate3(double n, double y1, double y2, double y3);

// Sunrise and sunset of the day of t (only its integer part counts), universal time.
struct TRiseSet {
  TDateTime Rise = 0;
  TDateTime Set = 0;
};
// Both instants from one evaluation of the day's Sun positions; raises E_NoRiseSet.
TRiseSet GetSunRiseSet(TDateTime t, double latitude, double longitude);
// The same from the Sun's apparent positions at 0 h UT of the day before, the day and
// the day after, and the sidereal time at 0 h of the day.
TRiseSet RiseSetFromPositions(TDateTime day, const TBodyPosition &before,
                              const TBodyPosition &today, const TBodyPosition &after,
                              double siderealTime, double latitude, double longitude);
using TRiseSetFunction = TRiseSet (*)(TDateTime t, double latitude, double longitude);

// The sunrise of the day of t and the sunset that ends that daylight. Far from
// Greenwich the rise and set of one UT day belong to two different local days (the
// set comes first); the evening is then taken from the next UT day for a site west of
// Greenwich and the morning from the previous UT day for a site east of it (midway
// between the two days' events when that one has drifted across 0 h UT).
TRiseSet GetDaylight(TDateTime t, double latitude, double longitude,
                     TRiseSetFunction riseSet = GetSunRiseSet);

TDateTime SunriseTime(TDateTime t, double latitude, double longitude);
TDateTime SunsetTime(TDateTime t, double latitude, double longitude);
TDateTime SunriseTime(const TGPSPosition &position, TDateTime t);
TDateTime SunsetTime(const TGPSPosition &position, TDateTime t);
