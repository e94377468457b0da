#include "web/ServiceSettings.h"

#include <QCoreApplication>
#include <QDir>
#include <QSettings>

namespace {

QString &SettingsFileOverride()
{
  static QString fileName;
  return fileName;
}

void Override(const QSettings &settings, const char *key, QString &value)
{
  const QString stored = settings.value(QLatin1String(key)).toString().trimmed();
  if (!stored.isEmpty())
    value = stored;
}

}  // namespace

TServiceSettings DefaultServiceSettings()
{
  return {
      QStringLiteral("https://re.jrc.ec.europa.eu"),
      QStringLiteral("/api/v5_2/PVcalc"),
      QStringLiteral("/api/v5_2/MRcalc"),
      QStringLiteral("/api/v5_2/DRcalc"),
      QStringLiteral("/api/v5_2/printhorizon"),
      QStringLiteral("www.bdpv.fr"),
      QStringLiteral("https://geocode.xyz/"),
      QString(),
      30000,
  };
}

QString ServiceSettingsFile()
{
  if (!SettingsFileOverride().isEmpty())
    return SettingsFileOverride();
  return QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("QUELTA_Prod.ini"));
}

void SetServiceSettingsFile(const QString &aFileName) { SettingsFileOverride() = aFileName; }

TServiceSettings ServiceSettings()
{
  TServiceSettings result = DefaultServiceSettings();
  QSettings settings(ServiceSettingsFile(), QSettings::IniFormat);
  settings.beginGroup(QStringLiteral("Services"));
  Override(settings, ServiceKeys::PVGisBase, result.PVGisBase);
  Override(settings, ServiceKeys::PVCalcPath, result.PVCalcPath);
  Override(settings, ServiceKeys::MRCalcPath, result.MRCalcPath);
  Override(settings, ServiceKeys::DRCalcPath, result.DRCalcPath);
  Override(settings, ServiceKeys::HorizonPath, result.HorizonPath);
  Override(settings, ServiceKeys::BDPVHost, result.BDPVHost);
  Override(settings, ServiceKeys::GeocodeAddress, result.GeocodeAddress);
  Override(settings, ServiceKeys::TrustedCertificates, result.TrustedCertificates);
  const int timeout = settings.value(QLatin1String(ServiceKeys::RequestTimeout)).toInt();
  if (timeout > 0)
    result.RequestTimeout = timeout;
  settings.endGroup();
  return result;
}
