#pragma once
// The installation database: every table of the program and the rules that keep them
// in step. One class; the members of each subsystem are defined in that subsystem's
// folder (shell/dmData*.cpp, solar/dmDataSimulation.cpp, web/dmDataBDPV.cpp,
// production/dmDataProduction.cpp, ...). Add members in your subsystem's block below
// with small edits.

#include "platform/DateUtils.h"
#include "shell/MyClientDataSet.h"

#include <QString>

#include <array>
#include <functional>
#include <memory>

class TdtmData;
class TCustomHTTPS;   // web/dmCustomHTTPS.h
struct TGPSPosition;  // solar/unMoon.h
class TPVSite;        // solar/unPVSite.h
class QFont;
class QImage;

// The start-up window shown while the tables open. The window layer installs a factory
// (TdtmData::OnCreateOpenBase); without one the tables open silently.
class IOpenBaseProgress {
public:
  virtual ~IOpenBaseProgress() = default;
  virtual void SetLogo(const QString &aLogo) = 0;
  virtual void SetStep(int aStep) = 0;
  virtual void SetTiming(int aTiming) = 0;
  virtual void Show() = 0;
  virtual void Progress() = 0;
};

// The site models, one per installation (TListPVSite of the solar subsystem implements
// it and is installed with TdtmData::SetListPVSite). The installation table calls
// LoadSite after opening (every row) and after every post (the posted row).
class ISiteModelList {
public:
  virtual ~ISiteModelList() = default;
  // Finds the model of installation aID, creates and adds it when missing, and loads it
  // from the current row of aData.cdsData.
  virtual void LoadSite(int aID, TdtmData &aData) = 0;
};

// Twelve monthly production figures, January first.
using TMonthData = std::array<int, 12>;
enum class TPVGisData { pvgisProd, pvgisTemp };
// Period of a theoretical production run.
enum class TTimeInterval { tiDay, tiMonth, tiYear };

// A file version text without its first ".0.0" ("3.4.0.0" → "3.4", "3.4.1.0" unchanged).
QString GetFileVersion(const QString &aFileVersion);
// The program's own version in that form ("3.4").
QString ProgramFileVersion();

class TdtmData {
public:
  TdtmData();
  ~TdtmData();
  TdtmData(const TdtmData &) = delete;
  TdtmData &operator=(const TdtmData &) = delete;

  // ---- Window seams: installed by the main window at start-up (tests install recorders).
  std::function<void(bool aScroll)> OnUpdateData;  // TFormMain.UpdateData
  std::function<QString()> OnVersion;              // TFormMain.Version (stored settings)
  std::function<std::unique_ptr<IOpenBaseProgress>()> OnCreateOpenBase;

  // ---- Tables.
  std::unique_ptr<TMyClientDataSet> cdsData;              // installations, Data.cds
  std::unique_ptr<TMyClientDataSet> cdsProd;              // productions, Production.cds
  std::unique_ptr<TMyClientDataSet> cdsModule;            // module catalogue, Module.cds
  std::unique_ptr<TMyClientDataSet> cdsOnduleur;          // inverter catalogue, Onduleur.cds
  std::unique_ptr<TMyClientDataSet> cdsCalSolClim;        // climate stations, CalSolClim.cds
  std::unique_ptr<TMyClientDataSet> cdsOnduleurAnalytic;  // analytic simulation results
  std::unique_ptr<TMyClientDataSet> cdsCloneData;         // installation file rebuild

  // ---- Installation database (shell/dmData.cpp).
  // Folder of the executable, ending with the path separator; tables live in its "Data".
  QString ApplicationPath() const { return FApplicationPath; }
  void SetApplicationPath(const QString &aPath) { FApplicationPath = aPath; }
  double ProdYearPVGis() const { return FProdYearPVGis; }
  void SetListPVSite(std::unique_ptr<ISiteModelList> aList) { FListPVSite = std::move(aList); }
  ISiteModelList *ListPVSite() const { return FListPVSite.get(); }

  void Open();
  void Close();
  void Save();
  // Highest site number over all installations, filtered or not.
  int GetLastIDSite();
  void SetFilter(bool aFilter);

  // ---- Installation equipment lookups (shell/dmDataLookups.cpp).
  double GetRendementOnduleur();
  double GetPOnduleurACMax();
  double Puissance();

  // ---- Production records (production/dmDataProduction.cpp).
  void SetProduction(int aIDSource, int aMonth, int aProd);
  void SetProduction(int aIDSource, const TMonthData &aData);
  bool GetProduction(int aIDSource, int aMonth, int &aProd);
  bool GetProduction(int aIDSource, TMonthData &aData);
  double GetProductionTotal();
  double GetPVGisData(TDateTime aDate, TPVGisData aData);
  double GetProdDayPVGis(TDateTime aDate);
  double GetProdMonthPVGis(int aMonth);

  // ---- Solar: simulation and climate stations (solar/).
  // Theoretical production of the current installation, or of all installations of its
  // site when the single-site view is on, written into cdsOnduleurAnalytic: one row per
  // 5 minutes from 05:00 to 22:00 local time (tiDay), or one row per day (tiMonth,
  // tiYear). aAngstrom is a TAngstromCoeff position; shade times are local clock times
  // (0 = none). Gives the period's surplus (kWh) and production duration (hours).
  // E_NoRiseSet ends a month or year run; the rows already written stay
  // (solar/dmDataSimulation.cpp).
  void FillAnalyticIrradiance(int aAngstrom, double aRendementOnduleur, double aTemp,
                              TDateTime aDate, TDateTime aMaskMatin, TDateTime aMaskSoir,
                              TTimeInterval aTime, bool aUsePMax, double &aSurplus,
                              double &aTimeProd);
  // Fills a site model from the current installation record (solar/dmDataPVSite.cpp).
  void LoadPVSite(TPVSite &aSite);
  // "ID" of the climate station nearest to aPosition (plain squared difference of
  // degrees); 1 when none lies within about 31.6 degrees (solar/dmDataClimate.cpp).
  int FindNearestClimateStation(const TGPSPosition &aPosition);
  // Relative humidity (%) of station aCalSolID interpolated at aDate; 0 without station.
  double GetClimateHR(int aCalSolID, TDateTime aDate);

  // ---- Equipment: catalogue import and evaluation (equipment/).
  // Draws the diagram of the current inverter with the current module (aNbString strings
  // of aNbModule modules) into aBitmap and gives the DC power ratio text; false when the
  // records cannot be read or the module cannot be fitted.
  bool EvaluateModule(QImage &aBitmap, const QFont &aFont, int aNbString, int aNbModule,
                      QString &aRapportPuissance);
  // Append a catalogue record read from a module (.mpv) or inverter (.ond) data file;
  // false when the file could not be read (the reader has shown why).
  bool ImportModule(const QString &aFile);
  bool ImportOnduleur(const QString &aFile);

  // ---- Web: PVGIS estimate and production database import (web/).
  // The program's HTTPS client, created at start-up; the production database import
  // sends its requests through it (a private one when none is set).
  TCustomHTTPS *HTTPS = nullptr;
  // PVGIS estimate of the current installation at aPosition (west-positive longitude):
  // yearly production, monthly PVGis row, monthly temperatures and nearest climate
  // station. aProduction is 0 when the production request failed; aAltitude is unused.
  void GetPVGisProd_CalsolID(const TGPSPosition &aPosition, int &aProduction, int &aAltitude);
  // Imports the measured production of BDPV member aUserBDPV into the current
  // installation and records the member on it; the database is saved in every case.
  bool LoadUserProduction(const QString &aUserBDPV);

private:
  // Installation table handlers (shell/dmData.cpp).
  void cdsDataBeforeOpen();
  void cdsDataAfterOpen();
  void cdsDataAfterInsert();
  void cdsDataBeforePost();
  void cdsDataAfterPost();
  void cdsDataAfterScroll();
  void AttachDataHandlers();
  void RebuildDataFile();
  void UpdateData(bool aScroll);
  // Sums aValue over the installations of the single-site view, or reads it for the
  // current installation when the view is off; the current installation is kept.
  double SumOverSite(const std::function<double()> &aValue);

  // Production records (production/dmDataProduction.cpp).
  bool LocateProduction(int aIDSource, bool aCreate);

  QString FApplicationPath;
  double FProdYearPVGis = 0.0;
  std::unique_ptr<ISiteModelList> FListPVSite;
};
