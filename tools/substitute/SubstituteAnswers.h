#pragma once
// The answers of the local substitute service: PVGIS (production CSV scaled from a real
// 5.2 answer, monthly temperatures, result page, horizon), geocoding XML and the two
// BDPV XML answers. Pure functions of the request and the service's data.

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>
#include <QUrlQuery>

#include <array>

struct TAnswer {
  int Status = 200;
  QByteArray Reason = "OK";
  QByteArray ContentType = "text/plain; charset=utf-8";
  QByteArray Body;
  QList<QPair<QByteArray, QByteArray>> Headers;  // further header lines
};

struct TPlace {
  QString Locate;  // the text searched, as decoded from the query
  double Latt = 0;
  double Longt = 0;  // east positive, as the service counts
  QString City;
  int Elevation = 0;
};

// Values of a BDPV month: the first and second child elements (-1: no value).
struct TBDPVMonth {
  int First = -1;
  int Second = -1;
};
using TBDPVYear = std::array<TBDPVMonth, 12>;

struct TSubstituteData {
  // Geocoding: known places; a reverse query answers the elevation of the nearest one.
  QList<TPlace> Places{{QStringLiteral("Nice, France"), 43.70313, 7.26608, QStringLiteral("Nice"), 12},
                       {QStringLiteral("Genève, Suisse"), 46.20176, 6.14459, QStringLiteral("Genève"), 375}};
  // PVGIS monthly mean temperatures, one array per year of the answer.
  QList<std::array<double, 12>> MonthlyTemperatures{
      {7.5, 8.25, 11.0, 13.5, 17.75, 21.5, 24.25, 24.5, 20.75, 16.5, 11.25, 8.0},
      {8.5, 8.75, 10.5, 14.0, 18.25, 22.0, 25.75, 24.0, 20.25, 17.0, 12.75, 9.0}};
  int Elevation = 152;  // metres, on the PVGIS result page
  bool CrLf = false;    // PVGIS text answers with CR LF line ends instead of LF
  // BDPV: members by pseudo, and production by member identifier and year.
  QMap<QString, int> BDPVMembers{{QStringLiteral("Jean Dupont"), 4711}};
  QMap<int, QMap<int, TBDPVYear>> BDPVProduction;
};

// The shared secret of the BDPV requester "xt57".
inline constexpr const char *kBDPVSecret = "xt57_19940315";

TAnswer PVCalcAnswer(const QUrlQuery &aQuery, const TSubstituteData &aData);
TAnswer MRCalcAnswer(const QUrlQuery &aQuery, const TSubstituteData &aData);
TAnswer HorizonAnswer(const QUrlQuery &aQuery, const TSubstituteData &aData);
TAnswer GeocodeAnswer(const QString &aPath, const QUrlQuery &aQuery, const TSubstituteData &aData);
TAnswer BDPVMemberAnswer(const QUrlQuery &aQuery, const TSubstituteData &aData);
TAnswer BDPVProductionAnswer(const QUrlQuery &aQuery, const TSubstituteData &aData);
