#include "shell/dmGPS.h"

#include "platform/DelphiFormat.h"
#include "platform/Numbers.h"
#include "platform/UserDialogs.h"
#include "web/ServiceSettings.h"

#include <QEventLoop>
#include <QTimer>

TdtmGPS::TdtmGPS(QObject *aOwner) : TCustomHTTPS(aOwner), FAddress(ServiceSettings().GeocodeAddress)
{
  FStartTime.start();
  SetUseAsync(true);
}

void TdtmGPS::Pacing()
{
  const qint64 elapsed = FStartTime.elapsed();
  if (elapsed < kPacing) {
    // Waits with the window still painting, but without user input.
    QEventLoop loop;
    QTimer::singleShot(static_cast<int>(kPacing - elapsed), &loop, &QEventLoop::quit);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
  }
  FStartTime.restart();
}

bool TdtmGPS::Request(const QString &aAddressTail)
{
  SetOutputs(nullptr, &FGPSDoc);
  if (!GetURL(FAddress + aAddressTail))
    return false;
  Wait();
  return Success();
}

bool TdtmGPS::GeocodeXYZ_GPS(const QString &aVille, double &aLat, double &aLong)
{
  Pacing();
  if (!Request(FormatArgs(QStringLiteral("?locate=%s&geoit=xml"), GeocodeEncode(aVille))))
    return false;
  // A place the service does not know comes without coordinates: not found.
  const QString latitude = GetData(QStringLiteral("<latt>(.*)</latt>"), false, 1).toString();
  const QString longitude = GetData(QStringLiteral("<longt>(.*)</longt>"), false, 1).toString();
  if (latitude.isEmpty() || longitude.isEmpty())
    return false;
  aLat = GetData(QStringLiteral("<latt>(.*)</latt>"), true, 1).toDouble();
  aLong = -GetData(QStringLiteral("<longt>(.*)</longt>"), true, 1).toDouble();
  if (FWithCity)
    FCity = GetData(QStringLiteral("<city>(.*)</city>"), false, 1).toString();
  return true;
}

bool TdtmGPS::GeocodeXYZ_GPS(const QString &aVille, double &aLat, double &aLong, int &aAltitude)
{
  if (!GeocodeXYZ_GPS(aVille, aLat, aLong))
    return false;
  GeocodeXYZ_Altitude(aLat, aLong, aAltitude);
  return true;
}

bool TdtmGPS::GeocodeXYZ_Altitude(double aLat, double aLong, int &aAltitude)
{
  Pacing();
  QString position = FormatArgs(QStringLiteral("%.6f;%.6f?geoit=xml"), aLat, -aLong);
  position.replace(QLatin1Char(','), QLatin1Char('.'));
  position.replace(position.indexOf(QLatin1Char(';')), 1, QLatin1Char(','));
  if (!Request(position))
    return false;
  aAltitude = RoundToInt(GetData(QStringLiteral("<elevation>(.*)</elevation>"), true, 1).toDouble());
  return true;
}

QString GeocodeEncode(const QString &aText)
{
  QString encoded;
  for (const char byte : aText.toUtf8()) {
    const auto b = static_cast<unsigned char>(byte);
    if ((b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z') || (b >= '0' && b <= '9'))
      encoded += QLatin1Char(static_cast<char>(b));
    else
      encoded += QStringLiteral("%%1").arg(b, 2, 16, QLatin1Char('0')).toUpper();
  }
  return encoded;
}

bool ShowCitySearch(double &aLatitude, double &aLongitude, int &aAltitude, QString &aCity)
{
  QString city = QStringLiteral("Ville");
  if (!UserDialogs().InputQuery(QStringLiteral("Recherche GPS via Geocode"), QStringLiteral("Nom de la Ville (et pays)"),
                                city))
    return false;
  if (!city.contains(QLatin1Char(',')))
    city += QStringLiteral(", France");
  TdtmGPS gps;
  gps.SetWithCity(true);
  bool found = false;
  {
    const TBusyCursor busy;
    found = gps.GeocodeXYZ_GPS(city, aLatitude, aLongitude, aAltitude);
  }
  if (found) {
    aCity = gps.City();
    UserDialogs().ShowMessage(QStringLiteral("Trouvé : ") + aCity);
  } else {
    UserDialogs().ShowMessage(QStringLiteral("Recherche infructueuse"));
  }
  return found;
}
