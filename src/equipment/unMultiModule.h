#pragma once
// A PV array: strings in parallel, each a number of modules in series. It keeps one
// TModule per module, computes the strings' and the array's open-circuit voltage and
// short-circuit current, builds each string's current–voltage curve, adds the strings'
// currents at common voltages and finds the array's maximum power point. Results are
// cached for the last irradiance and cell temperature.

#include "equipment/unModule.h"

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

// Results of one string, or of the whole array (last entry).
struct TStringsProperty {
  std::int32_t NbModule = 0;
  double Uoc = 0;
  double Isc = 0;
  double Umpp = 0;
  double Impp = 0;
  double Pmpp = 0;
  std::int32_t NUocMax = 0;
  std::int32_t NIscMax = 0;
  std::int32_t NUocMin = 0;
};

class TMultiModule {
public:
  // Points of the curves behind I_F_U, U_F_I and the MPP.
  static constexpr int CurvePoints = 1000;

  TMultiModule(const TStringConfiguration &aString, bool aSameModule);
  virtual ~TMultiModule();
  TMultiModule(const TMultiModule &) = delete;
  TMultiModule &operator=(const TMultiModule &) = delete;

  int NbModule() const { return static_cast<int>(FListModule.size()); }
  int NbString() const { return FNbString; }
  bool SameModule() const { return FSameModule; }
  // Module at position p of string s.
  TModule &Module(int s, int p) const;
  // Results of string s; s = NbString() is the whole array.
  const TStringsProperty &Strings(int s) const { return FStrings.at(static_cast<std::size_t>(s)); }

  bool Initialize();
  bool Initialize(const TModuleData &aData);

  double GetUoc(double aG, double aT);
  double GetIsc(double aG, double aT);
  double GetUmpp(double aG, double aT);
  double GetImpp(double aG, double aT);
  double GetPmpp(double aG, double aT);
  void GetmppPoint(double aG, double aT, double &aU, double &aI, double &aP);
  // The array's curve into equal-length arrays; the array MPP goes to the last entry.
  void GetCaracteristique(double aG, double aT, std::span<double> aU, std::span<double> aI);
  // Exceptions are swallowed: aI, aP (aU, aP) are then unchanged.
  void I_F_U(double aG, double aT, double aU, double &aI, double &aP);
  void U_F_I(double aG, double aT, double aI, double &aU, double &aP);

private:
  TStringsProperty &Whole() { return FStrings.back(); }
  void Update(double aG, double aT);
  void UpdateSameModules(double aG, double aT);
  void UpdateDifferentModules(double aG, double aT);
  void StringCurve(int s, double aG, double aT, std::span<double> aU, std::span<double> aI);
  void EnsureMpp(double aG, double aT);

  std::vector<std::unique_ptr<TModule>> FListModule;
  std::vector<TStringsProperty> FStrings;
  bool FSameModule = false;
  int FNbString = 0;
  bool FUpdated = false;
  double FG = 0;
  double FT = 0;
  bool FMPPComputed = false;
};
