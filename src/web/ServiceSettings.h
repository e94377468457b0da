#pragma once
// Addresses of the outside web services. Fixed defaults, each overridable in the
// [Services] section of the settings file "QUELTA_Prod.ini" beside the executable, so
// that tests and demonstrations can point the clients at the local substitute service.

#include <QString>

struct TServiceSettings {
  QString PVGisBase;       // scheme and host of PVGIS, without a trailing "/"
  QString PVCalcPath;      // production of a PV system
  QString MRCalcPath;      // monthly radiation and temperature
  QString DRCalcPath;      // daily radiation
  QString HorizonPath;     // horizon profile
  QString BDPVHost;        // host (and port) of the production database, plain HTTP
  QString GeocodeAddress;  // geocoding address, ending with "/"
  // PEM file of extra certificates to trust besides the system's roots (a private
  // substitute service); empty for none.
  QString TrustedCertificates;
  // Milliseconds without network activity after which a request is abandoned.
  int RequestTimeout = 30000;
};

// Keys of the [Services] section, in the order of the structure's fields.
namespace ServiceKeys {
inline constexpr const char *PVGisBase = "PVGisBase";
inline constexpr const char *PVCalcPath = "PVCalcPath";
inline constexpr const char *MRCalcPath = "MRCalcPath";
inline constexpr const char *DRCalcPath = "DRCalcPath";
inline constexpr const char *HorizonPath = "HorizonPath";
inline constexpr const char *BDPVHost = "BDPVHost";
inline constexpr const char *GeocodeAddress = "GeocodeAddress";
inline constexpr const char *TrustedCertificates = "TrustedCertificates";
inline constexpr const char *RequestTimeout = "RequestTimeout";
}  // namespace ServiceKeys

// The addresses used when the settings file says nothing.
TServiceSettings DefaultServiceSettings();

// The settings file read by ServiceSettings(): "QUELTA_Prod.ini" beside the executable
// unless another file was named with SetServiceSettingsFile (tests).
QString ServiceSettingsFile();
void SetServiceSettingsFile(const QString &aFileName);

// Defaults overridden by the [Services] section of the settings file, read at each call.
TServiceSettings ServiceSettings();
