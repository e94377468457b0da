// The local substitute web service as a program: HTTPS for PVGIS and geocoding, plain
// HTTP for BDPV, both on 127.0.0.1. It writes the certificate it made to a PEM file to be
// named as "TrustedCertificates" in the [Services] section of QUELTA_Prod.ini.

#include "SubstituteService.h"
#include "TestCertificate.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QTextStream>

int main(int argc, char **argv)
{
  QCoreApplication app(argc, argv);
  QCommandLineParser parser;
  parser.setApplicationDescription(QStringLiteral("Local substitute of the PVGIS, geocoding and BDPV services"));
  parser.addHelpOption();
  const QCommandLineOption httpsPort(QStringLiteral("https-port"), QStringLiteral("HTTPS port"), QStringLiteral("port"),
                                     QStringLiteral("8443"));
  const QCommandLineOption httpPort(QStringLiteral("http-port"), QStringLiteral("HTTP port (BDPV)"),
                                    QStringLiteral("port"), QStringLiteral("8080"));
  const QCommandLineOption certificate(QStringLiteral("certificate"), QStringLiteral("PEM file written"),
                                       QStringLiteral("file"), QStringLiteral("substitute.pem"));
  parser.addOptions({httpsPort, httpPort, certificate});
  parser.process(app);

  const TTestCertificate made = MakeTestCertificate();
  QFile pem(parser.value(certificate));
  if (!pem.open(QIODevice::WriteOnly) || pem.write(made.Certificate.toPem()) < 0)
    return 1;
  pem.close();

  TSubstituteService https(TSubstituteService::TScheme::Https);
  https.SetCertificate(made.Certificate, made.Key);
  TSubstituteService http(TSubstituteService::TScheme::Http);
  if (!https.Start(parser.value(httpsPort).toUShort()) || !http.Start(parser.value(httpPort).toUShort()))
    return 1;
  QTextStream out(stdout);
  out << "[Services]\n"
      << "PVGisBase=" << https.BaseUrl() << "\n"
      << "GeocodeAddress=" << https.BaseUrl() << "/\n"
      << "BDPVHost=" << http.HostAndPort() << "\n"
      << "TrustedCertificates=" << QFile(parser.value(certificate)).fileName() << "\n";
  out.flush();
  return app.exec();
}
