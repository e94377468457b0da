#include "WebServiceTest.h"

#include "web/ProtocolLogger.h"
#include "web/ServiceSettings.h"

#include <QSettings>
#include <QTemporaryDir>
#include <QUrl>

namespace {

// Each test process keeps its own protocol log, so that runs in parallel do not
// overwrite each other's.
const struct TPrivateProtocolLog {
  QTemporaryDir dir;
  TPrivateProtocolLog() { TProtocolLogger::Open(dir.filePath(QStringLiteral("Debug_HTTPS.txt"))); }
} privateProtocolLog;

}  // namespace

const TTestCertificate &WebServiceTest::Certificate()
{
  static const TTestCertificate certificate = MakeTestCertificate();
  return certificate;
}

void WebServiceTest::SetUp()
{
  https.SetCertificate(Certificate().Certificate, Certificate().Key);
  ASSERT_TRUE(https.Start());
  ASSERT_TRUE(http.Start());
  const QString pem = temp.write(QStringLiteral("substitute.pem"), Certificate().Certificate.toPem());
  {
    QSettings settings(temp.file(QStringLiteral("QUELTA_Prod.ini")), QSettings::IniFormat);
    settings.beginGroup(QStringLiteral("Services"));
    settings.setValue(QLatin1String(ServiceKeys::PVGisBase), https.BaseUrl());
    settings.setValue(QLatin1String(ServiceKeys::GeocodeAddress), https.BaseUrl() + QLatin1Char('/'));
    settings.setValue(QLatin1String(ServiceKeys::BDPVHost), http.HostAndPort());
    settings.setValue(QLatin1String(ServiceKeys::TrustedCertificates), pem);
    settings.setValue(QLatin1String(ServiceKeys::RequestTimeout), kTestTimeout);
    settings.endGroup();
  }
  SetServiceSettingsFile(temp.file(QStringLiteral("QUELTA_Prod.ini")));
}

void WebServiceTest::TearDown() { SetServiceSettingsFile(QString()); }

QStringList WebServiceTest::ReceivedPaths() const
{
  QStringList paths;
  for (const QString &target : https.Received)
    paths << QUrl(target).path();
  return paths;
}
