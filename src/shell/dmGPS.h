#pragma once
// Geocoding: turns a city name into a position, and a position into an altitude, with
// the geocoding web service. The service counts longitudes east positive; the program
// counts them west positive, so longitudes are negated both ways.

#include "web/dmCustomHTTPS.h"

#include <QElapsedTimer>
#include <QString>
#include <QStringList>

class TdtmGPS : public TCustomHTTPS {
public:
  // Requests of one module start at least this many milliseconds apart, the first one
  // that long after the module was created (the service's fair-use rule).
  static constexpr int kPacing = 1000;

  explicit TdtmGPS(QObject *aOwner = nullptr);

  // Latitude and west-positive longitude of a place; unchanged on failure.
  bool GeocodeXYZ_GPS(const QString &aVille, double &aLat, double &aLong);
  // The same, then the altitude of the position found (left alone when that fails).
  bool GeocodeXYZ_GPS(const QString &aVille, double &aLat, double &aLong, int &aAltitude);
  // Altitude of a position (west-positive longitude).
  bool GeocodeXYZ_Altitude(double aLat, double aLong, int &aAltitude);

  bool WithCity() const { return FWithCity; }
  void SetWithCity(bool aValue) { FWithCity = aValue; }
  QString City() const { return FCity; }

private:
  void Pacing();
  bool Request(const QString &aAddressTail);

  QElapsedTimer FStartTime;
  bool FWithCity = false;
  QString FCity;
  QStringList FGPSDoc;
  QString FAddress;
};

// UTF-8 bytes of a text, letters and digits kept, every other byte as "%XX".
QString GeocodeEncode(const QString &aText);

// Asks for a city ("Nom de la Ville (et pays)"), searches it and tells the result. The
// position arguments are written only when the search succeeds.
bool ShowCitySearch(double &aLatitude, double &aLongitude, int &aAltitude, QString &aCity);
