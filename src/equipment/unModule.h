#pragma once
// Single-diode model of a photovoltaic module: fitted from its datasheet values at
// standard test conditions (1000 W/m², 25 °C) and its temperature coefficients, it
// gives current, voltage, open-circuit voltage, short-circuit current and maximum
// power point at any irradiance and cell temperature. The string-configuration
// operations combine modules through an owned module array (TMultiModule).
//
// Units: V, A, W, W/m², °C (kelvin = °C + 273.15), Ω.

#include "equipment/GaussJordan.h"

#include <QString>

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

class TClientDataSet;
class TMultiModule;

// Datasheet values of one module.
struct TModuleData {
  bool Amorphe = false;
  QString TypeSI;
  bool T_Real = false;  // temperature coefficients are the manufacturer's
  std::int32_t NbCell = 0;
  double Puissance = 0;
  double U_MPP = 0;
  double I_MPP = 0;
  double U_CO = 0;
  double I_CC = 0;
  double T_U_CO = 0;  // V/K
  double T_I_CC = 0;  // A/K
  double T_P = 0;     // W/K
  double T_U_CO_P = 0;  // %/K
  double T_I_CC_P = 0;
  double T_P_P = 0;
  double T_RSerie = 0;  // Ω/K
  double R_Shunt = 0;
  double UMax = 0;
  std::int32_t NOCT = 0;
  double Longueur = 0;
  double Largeur = 0;
  double Epaisseur = 0;
  double Poids = 0;
};

// The fitted model; GAMMA is per cell.
struct TModuleParameter {
  double IL_Ref = 0;
  double I0_Ref = 0;
  double GAMMA = 0;
  double RSerie_Ref = 0;
  double DIL_SDT_Ref = 0;
  double DI0_SDT_Ref = 0;
  double DRSerie_SDT_Ref = 0;
  double EG_Ref = 0;
  double DEG_SDT_Ref = 0;
  double GAMMAP = 0;
  double BETA = 0;
  bool RShuntInc = false;
};

// A string configuration: one entry per string, the number of modules in series.
using TStringConfiguration = std::vector<std::int32_t>;

// Kinds of the temperature and irradiance characteristics.
enum class TCaracteristiqueKind {
  Umpp = 0,
  Impp = 1,
  Pmpp = 2,
  MppLocus = 3,  // abscissa receives Umpp, value Impp
  Uoc = 4,
  Isc = 5,
  UocIsc = 6,  // abscissa receives Uoc, value Isc
};

class TModule {
public:
  // q/k in K/V.
  static constexpr double QSurK = 11601.013758146271;
  static constexpr double ZeroCelsius = 273.15;

  explicit TModule(bool aCalculDTAvecPuissance);
  virtual ~TModule();
  TModule(const TModule &) = delete;
  TModule &operator=(const TModule &) = delete;

  // ---- Properties.
  bool Amorphe() const { return FAmorphe; }
  void SetAmorphe(bool aValue);
  bool T_Real() const { return FData.T_Real; }
  std::int32_t NbCell() const { return FNbCell == 0 ? 100 : FNbCell; }
  void SetNbCell(std::int32_t aValue);
  // The ten indexed values: 1 Puissance, 2 Umpp_Ref, 3 Impp_Ref, 4 Uoc_Ref, 5 Isc_Ref,
  // 6 DUoc_SDT_Ref, 7 DIsc_SDT_Ref, 8 DPP_SDT_Ref, 9 UMax, 10 NOCT; others read 0.
  double GetValue(int aIndex) const;
  void SetValue(int aIndex, double aValue);
  double Puissance() const { return GetValue(1); }
  void SetPuissance(double v) { SetValue(1, v); }
  double Umpp_Ref() const { return GetValue(2); }
  void SetUmpp_Ref(double v) { SetValue(2, v); }
  double Impp_Ref() const { return GetValue(3); }
  void SetImpp_Ref(double v) { SetValue(3, v); }
  double Uoc_Ref() const { return GetValue(4); }
  void SetUoc_Ref(double v) { SetValue(4, v); }
  double Isc_Ref() const { return GetValue(5); }
  void SetIsc_Ref(double v) { SetValue(5, v); }
  double DUoc_SDT_Ref() const { return GetValue(6); }
  void SetDUoc_SDT_Ref(double v) { SetValue(6, v); }
  double DIsc_SDT_Ref() const { return GetValue(7); }
  void SetDIsc_SDT_Ref(double v) { SetValue(7, v); }
  double DPP_SDT_Ref() const { return GetValue(8); }
  void SetDPP_SDT_Ref(double v) { SetValue(8, v); }
  double UMax() const { return GetValue(9); }
  void SetUMax(double v) { SetValue(9, v); }
  double NOCT() const { return GetValue(10); }
  void SetNOCT(double v) { SetValue(10, v); }
  const TModuleData &Data() const { return FData; }
  void SetData(const TModuleData &aData);
  double RShunt() const { return Rsh; }
  void SetRShunt(double aValue);
  bool IncShunt() const { return FIncShunt; }
  std::int32_t IncShuntCompteur() const { return FIncShuntCompteur; }
  bool CalculDTAvecPuissance() const { return FCalculDTAvecPuissance; }
  void SetCalculDTAvecPuissance(bool aValue) { FCalculDTAvecPuissance = aValue; }
  TMultiModule *MultiModule() const { return FMultiModule.get(); }

  // ---- Data and fit.
  void Assign(const TModule &Source);
  bool Initialize();
  bool Initialize(const TModuleData &aData);
  void GetModelParameter(TModuleParameter &aData) const;
  double GetCellTemperature(double aTAmbiante, double aIrradiance) const;

  // Module data file (.mpv) and the current record of the module catalogue.
  bool LoadFromFile(const QString &aFile, bool aInitialize);
  void SaveToFile(const QString &aFile, bool aCleanFileName) const;
  bool LoadFromDB(TClientDataSet &aDataBase, bool aInitialize);

  // ---- One module. Arithmetic failures raise EMathError.
  void I_F_U(double aG, double aT, double aU, double &aI, double &aP) const;
  void U_F_I(double aG, double aT, double aI, double &aU, double &aP) const;
  double GetUoc(double aG, double aT) const;
  double GetIsc(double aG, double aT) const;
  void GetmppPoint(double aG, double aT, double &aU, double &aI, double &aP) const;
  double GetUmpp(double aG, double aT) const;
  double GetImpp(double aG, double aT) const;
  double GetPmpp(double aG, double aT) const;
  TModuleData DataAtNoSTCCondition(double aG, double aT) const;

  // Curves of N + 1 points (N = high index of the equal-length arrays): U from 0 to
  // Uoc, or I from 0 to Isc; aPMax and aUPMax receive the highest U × I and its U.
  void GetCaracteristique(double aG, double aT, std::span<double> aU, std::span<double> aI,
                          double &aPMax, double &aUPMax) const;
  void GetCaracteristique2(double aG, double aT, std::span<double> aU, std::span<double> aI,
                           double &aPMax, double &aUPMax) const;

  // ---- A string configuration (one entry per string). An empty configuration raises
  // "Nombre de string ne peut être nul".
  void I_F_U(const TStringConfiguration &aString, double aG, double aT, double aU, double &aI,
             double &aP);
  double GetUoc(const TStringConfiguration &aString, double aG, double aT);
  double GetIsc(const TStringConfiguration &aString, double aG, double aT);
  void GetmppPoint(const TStringConfiguration &aString, double aG, double aT, double &aU,
                   double &aI, double &aP);
  double GetUmpp(const TStringConfiguration &aString, double aG, double aT);
  double GetImpp(const TStringConfiguration &aString, double aG, double aT);
  double GetPmpp(const TStringConfiguration &aString, double aG, double aT);

  // The module array's curve; aUmpp, aImpp receive the array's MPP.
  void MultiStringCaracteristique(const TStringConfiguration &aString, double aG, double aT,
                                  std::span<double> aU, std::span<double> aI, double &aUmpp,
                                  double &aImpp);
  // I from 0 to the module's Isc, U = n × U_F_I(I) (n modules of the first string);
  // sampling stops at the first negative voltage. Returns the number of points written.
  int MultiStringCaracteristique_V2(const TStringConfiguration &aString, double aG, double aT,
                                    std::span<double> aU, std::span<double> aI, double &aUmpp,
                                    double &aImpp);
  void GetTempCaracteristique(const TStringConfiguration &aString, double aG, double aTStart,
                              double aTEnd, TCaracteristiqueKind aKind, std::span<double> aX,
                              std::span<double> aY);
  void GetIrradiationCaracteristique(const TStringConfiguration &aString, double aT,
                                     double aGStart, double aGEnd, TCaracteristiqueKind aKind,
                                     std::span<double> aX, std::span<double> aY);

  // ---- Model state. Public like the original unit's fields: the fitted values are
  // read by reports and tests; nothing outside the fit writes them.
  TSolverMatrix A;  // working matrix of the linear solver
  double TC_Ref = 25;      // reference cell temperature, °C
  double TK_Ref = 298.15;  // reference temperature, K
  double G_Ref = 1000;     // reference irradiance, W/m²
  double Rsh = 0;          // shunt resistance in use
  double CondShunt = 0;    // 1 / Rsh
  double EXPO0 = 0;        // diode exponentials at open circuit, MPP and short circuit
  double EXPOP = 0;
  double EXPOCC = 0;
  double GAP0 = 0;  // band-gap law
  double GAPA = 0;
  double GAPB = 0;
  double IL_Ref = 0;
  double I0_Ref = 0;
  double GAMMA = 0;  // whole module (per-cell ideality × cell count)
  double RSerie_Ref = 0;
  double DIL_SDT_Ref = 0;
  double DI0_SDT_Ref = 0;
  double EG_Ref = 0;
  double DEG_SDT_Ref = 0;
  double GAMMAP = 0;
  double BETA = 0;
  double DRSerie_SDT_Ref = 0;

private:
  // Model quantities at one irradiance and cell temperature.
  struct TOperatingState {
    double IL = 0;
    double I0 = 0;
    double Rs = 0;
    double Theta = 0;
    double CondShunt = 0;
  };
  TOperatingState StateAt(double aG, double aT) const;
  static double CurrentAt(const TOperatingState &aState, double aU);
  // Step search of the voltage at which the current equals aTarget, from Uoc_Ref.
  double VoltageForCurrent(const TOperatingState &aState, double aTarget,
                           bool aStopOnNegative) const;
  void MppSearch(const TOperatingState &aState, double aUoc, double &aU, double &aI,
                 double &aP) const;

  // Fit steps.
  bool Fit();
  void ReferenceFit();
  void ReferenceFitOnce();
  void TemperatureDerivatives();
  void BandGapTerms();
  void Solve(int n);

  // String configurations.
  TMultiModule &MultiModuleFor(const TStringConfiguration &aString);
  void EvaluationCaracteristique(const TStringConfiguration &aString, double aG, double aT,
                                 TCaracteristiqueKind aKind, double &aX, double &aY);

  bool FCalculDTAvecPuissance = false;
  TModuleData FData;
  bool FAmorphe = false;
  std::int32_t FNbCell = 0;
  double FPuissance = 0;
  double FUmpp_Ref = 0;
  double FImpp_Ref = 0;
  double FUoc_Ref = 0;
  double FIsc_Ref = 0;
  double FDUoc_SDT_Ref = 0;
  double FDIsc_SDT_Ref = 0;
  double FDPP_SDT_Ref = 0;
  double FUMax = 0;
  double FNOCT = 0;
  bool FIncShunt = false;
  std::int32_t FIncShuntCompteur = 0;
  std::unique_ptr<TMultiModule> FMultiModule;
};
