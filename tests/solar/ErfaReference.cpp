#include "ErfaReference.h"

#include <erfa.h>
#include <erfam.h>

#include <cmath>

namespace {

constexpr double kMjdOfDateTimeZero = 15018.0;  // date-time 0 = MJD 15018
constexpr double kTTMinusTAI = 32.184;

double Dot(const double a[3], const double b[3]) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }

}  // namespace

TReferenceSun ReferenceSun(TDateTime t, double latitude, double longitude)
{
  const double ut1 = t + kMjdOfDateTimeZero;
  int iy = 0, im = 0, id = 0;
  double fd = 0;
  eraJd2cal(ERFA_DJM0, ut1, &iy, &im, &id, &fd);
  double taiMinusUtc = 0;
  eraDat(iy, im, id, fd, &taiMinusUtc);
  const double tt = ut1 + (taiMinusUtc + kTTMinusTAI) / ERFA_DAYSEC;

  // Geometric geocentric Sun: minus the Earth's heliocentric position.
  double pvh[2][3], pvb[2][3];
  eraEpv00(ERFA_DJM0, tt, pvh, pvb);
  double sun[3] = {-pvh[0][0], -pvh[0][1], -pvh[0][2]};
  const double distanceAU = std::sqrt(Dot(sun, sun));
  double direction[3] = {sun[0] / distanceAU, sun[1] / distanceAU, sun[2] / distanceAU};

  // Annual aberration from the Earth's barycentric velocity (units of c).
  double v[3];
  for (int i = 0; i < 3; ++i)
    v[i] = pvb[1][i] * ERFA_AULT / ERFA_DAYSEC;
  const double bm1 = std::sqrt(1 - Dot(v, v));
  double apparent[3];
  eraAb(direction, v, distanceAU, bm1, apparent);

  // Celestial to terrestrial, then from the geocentre to the observer.
  double rc2t[3][3];
  eraC2t00b(ERFA_DJM0, tt, ERFA_DJM0, ut1, 0, 0, rc2t);
  double terrestrial[3];
  eraRxp(rc2t, apparent, terrestrial);
  const double eastLongitude = -longitude * ERFA_DD2R;
  const double phi = latitude * ERFA_DD2R;
  double observer[3];
  eraGd2gc(ERFA_WGS84, eastLongitude, phi, 0.0, observer);
  double topocentric[3];
  for (int i = 0; i < 3; ++i)
    topocentric[i] = terrestrial[i] * distanceAU * ERFA_DAU - observer[i];

  const double sl = std::sin(eastLongitude), cl = std::cos(eastLongitude);
  const double sp = std::sin(phi), cp = std::cos(phi);
  const double east = -sl * topocentric[0] + cl * topocentric[1];
  const double north = -sp * cl * topocentric[0] - sp * sl * topocentric[1] + cp * topocentric[2];
  const double up = cp * cl * topocentric[0] + cp * sl * topocentric[1] + sp * topocentric[2];

  TReferenceSun result;
  result.Altitude = std::atan2(up, std::hypot(east, north)) * ERFA_DR2D;
  // From the North towards the East, turned into from the South towards the West.
  const double fromNorth = std::atan2(east, north) * ERFA_DR2D;
  result.Azimuth = fromNorth > 0 ? fromNorth - 180 : fromNorth + 180;
  return result;
}
