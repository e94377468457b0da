#pragma once
// The PVGIS client: sends production, monthly-radiation, daily-radiation and horizon
// requests built from its parameter list and reads the answers (tab-separated text read
// through the tabular loader, or the result page).

#include "web/PVGisStringList.h"
#include "web/dmCustomHTTPS.h"

#include <QString>
#include <QStringList>

#include <array>
#include <memory>

class TCSVLoader;

enum class TPVGIS_Computation { gisPVCalc, gisMRCalc, gisDRCalc, gisHorizon };

// Twelve monthly values, January first.
using TDataMonth = std::array<double, 12>;
// Horizon heights, 49 directions.
using TPVGis_Horizon = std::array<int, 49>;

class TdtmPVGis : public TCustomHTTPS {
  Q_OBJECT
public:
  explicit TdtmPVGis(QObject *aOwner = nullptr);
  ~TdtmPVGis() override;

  // Sends one request with the parameter list; keeps the answer. True on success.
  bool DoRequest(TPVGIS_Computation aComputation);
  using TCustomHTTPS::GetData;
  // Capture group 1 of aRegDataFormat in the last answer.
  QVariant GetData(const QString &aRegDataFormat, bool aFloat);
  // Monthly production of the last production answer (CSV), and their sum.
  double GetProduction(bool aTracker, TDataMonth &aProd);
  void GetIrradiation(TDataMonth &aIrr);
  void GetHorizon(TPVGis_Horizon &aHor);
  // Monthly mean temperatures at a position (east-positive longitude). True when the
  // request succeeded with at least one year of rows; aTemp is all 0 otherwise.
  bool GetDailyTemperature(double aLatitude, double aLongitude, TDataMonth &aTemp);
  // Elevation of a point from a production request in page form; 0 on failure.
  int GetAltitude(double aLatitude, double aLongitude);
  // Production request in page form: yearly production and elevation. False on failure
  // (both left untouched).
  bool DoRequest(int &Production, int &Altitude);
  // Production request turned into the French HTML report, also saved as "pvgis.htm" in
  // DataPath. On failure shows why and leaves both untouched.
  bool DoRequest(int &Production, QString &html);
  // Writes the last answer to aFileName, one line per line ("relief.csv" is proposed by
  // the window that asks for the name).
  bool SaveToFile(const QString &aFileName) const;

  TPVGisStringList &PVGisList() { return *FPVGisList; }
  const QStringList &ResponseString() const { return FResponseString; }
  QString HorizonFile() const { return FHorizonFile; }
  void SetHorizonFile(const QString &aFile) { FHorizonFile = aFile; }
  // The address a computation is sent to.
  QString ComputationURL(TPVGIS_Computation aComputation) const;

private:
  QString Query(TPVGIS_Computation aComputation) const;
  // The n-th bold right-aligned value of the result page (n outside 1..3 reads as 3).
  int PageValue(int n) const;

  std::unique_ptr<TCSVLoader> FCSVFile;
  QString FHorizonFile;
  std::unique_ptr<TPVGisStringList> FPVGisList;
  std::array<QString, 4> FPVGis_Computation_URL;
  QStringList FResponseString;
};
