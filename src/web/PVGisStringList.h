#pragma once
// Parameters of one PVGIS request: an ordered list of name=value lines with one typed
// setter per parameter. The order of the lines is the order in which parameters were
// first added; names compare without regard to case.

#include <QString>
#include <QStringList>

enum class TPVGIS_Base { gisSARAH, gisCMSAF, gisNSRDB, gisERA5, gisCOSMO };
enum class TPVGIS_Techno { gisCrystSi, gisCIS, gisCdTe, gisUnknown };
enum class TPVGIS_Mounting { gisFree, gisBuilding };
enum class TPVGIS_Output { gisWindow, gisCSV, gisPDF, gisBasic };

// Shortest decimal form with at most 15 significant digits and "." as separator
// (3 → "3", -6.5 → "-6.5", 0.000001 → "1E-6").
QString PVGisNumber(double aValue);

class TPVGisStringList {
public:
  TPVGisStringList();

  const QStringList &Lines() const { return FLines; }
  // Value of the line named aName (empty when there is none).
  QString Value(const QString &aName) const;

  void SetLatitude(double aValue);
  void SetLongitude(double aValue);
  void SetPeakPower(double aValue);
  void SetLoss(double aValue);
  void SetAngle(int aValue);
  void SetAspectAngle(int aValue);
  void SetMountingPlace(TPVGIS_Mounting aValue);
  void SetPVTechChoice(TPVGIS_Techno aValue);
  void SetPV_DataBase(TPVGIS_Base aValue);
  void SetOutputFormatChoice(TPVGIS_Output aValue);
  void SetOptimalAngles(bool aValue);
  void SetOptimalInclination(bool aValue);
  void SetShowHorizon(bool aValue);
  bool TwoAxis() const { return FTwoAxis; }
  void SetTwoAxis(bool aValue);
  void SetPlotDataGraph(bool aValue);
  void SetMR_Average_daytime_temperature(bool aValue);
  void SetMR_Daily_average_temperature(bool aValue);
  void SetMR_Dif_global_radiation(bool aValue);
  void SetMR_Horizontal_irradiation(bool aValue);
  void SetMR_Irradiation_chosen_angle(bool aValue);
  void SetMR_Irradiation_optimal_angle(bool aValue);
  void SetMR_Linke_turbidity(bool aValue);
  void SetMR_Number_heating_days(bool aValue);
  void SetMR_Optimal_inclination_angle(bool aValue);
  void SetMR_Chosen_angle(int aValue);

  // The output format was last set to CSV through SetOutputFormatChoice.
  bool IsCsvFormat = false;

private:
  qsizetype IndexOfName(const QString &aName) const;
  // Replaces the value of the line aName, or appends aName=aValue.
  void SetValue(const QString &aName, const QString &aValue);
  void Switch(const QString &aName, bool aOn);

  QStringList FLines;
  bool FTwoAxis = false;
};
