#pragma once
// A grid inverter: its datasheet values with the missing power ratings completed, its
// data file (.ond), its catalogue record, the DC power ratio of an array, the search of
// every string sizing that fits its voltage and current windows at design temperatures,
// and its diagram. It owns the module it is judged with and a string configuration.
//
// Inverter powers in kW, array powers in W, V, A, °C, W/m².

#include "equipment/unModule.h"

#include <QColor>
#include <QFont>
#include <QPointF>
#include <QString>

#include <cstdint>
#include <memory>
#include <vector>

class QImage;
class QPainter;
class QPicture;
class TClientDataSet;

struct TOnduleurData {
  bool Transfo = false;
  std::int32_t Nb_MPPT = 0;
  double PNominal_DC = 0;
  double PNominal_AC = 0;
  double PMax_DC = 0;
  double PMax_AC = 0;
  double UMin_MPP = 0;
  double UMax_MPP = 0;
  double UNominale = 0;
  double UMax = 0;
  double IMax = 0;  // per tracker when there are several
  double Rendement = 0;  // European efficiency, %
  bool PCalculated = false;  // at least one power was derived
};

// Design cell temperatures of the sizing search.
struct TTemperature {
  double Min = 0;     // coldest: highest open-circuit voltage
  double Max = 0;     // hottest: lowest MPP voltage
  double MinMPP = 0;  // highest MPP voltage
  double Fonc = 0;    // operating: MPP current
};

class TSolution {
public:
  std::int32_t NModule = 0;  // modules in series per string
  std::int32_t NString = 0;  // strings in parallel
  std::int32_t Modules = 0;
  double UNomSTC = 0;   // string MPP voltage at 25 °C
  double Rendement = 0; // DC power ratio, % of the maximum DC power
  bool OverPMax = false;
};

// A rectangle given by its four sides (right and bottom need not exceed left and top).
struct TRectSides {
  double Left = 0;
  double Top = 0;
  double Right = 0;
  double Bottom = 0;
};

class TOnduleur {
public:
  TOnduleur();
  explicit TOnduleur(const TTemperature &aTemp);
  virtual ~TOnduleur();
  TOnduleur(const TOnduleur &) = delete;
  TOnduleur &operator=(const TOnduleur &) = delete;

  const QFont &Font() const { return FFont; }
  void SetFont(const QFont &aFont) { FFont = aFont; }
  const TTemperature &Temperature() const { return FTemperature; }
  void SetTemperature(const TTemperature &aTemp) { FTemperature = aTemp; }
  TModule &Module() { return *FModule; }
  // Takes the given module's data and fitted model, then refits.
  void SetModule(const TModule &aModule);
  const TOnduleurData &Onduleur() const { return FOnduleur; }
  // Copies the record and completes the missing powers.
  void SetOnduleur(const TOnduleurData &aData);
  std::int32_t ModuleMin() const { return FModuleMin; }
  std::int32_t ModuleMax() const { return FModuleMax; }
  std::int32_t StringMax() const { return FStringMax; }
  int SolutionCount() const { return FSolutionList ? static_cast<int>(FSolutionList->size()) : 0; }
  bool ShowErrorMessage() const { return FShowErrorMessage; }
  void SetShowErrorMessage(bool aValue) { FShowErrorMessage = aValue; }
  const TStringConfiguration &StringConfiguration() const { return FString; }

  bool LoadFromFile(const QString &aFile);
  void SaveToFile(const QString &aFile) const;
  bool LoadFromDB(TClientDataSet &aDataBase);

  void SetStringConfiguration(const TStringConfiguration &aString) { FString = aString; }
  void SetStringConfiguration(std::int32_t aNbString, std::int32_t aNbModuleByString);

  // DC power ratio in % of the nominal (aNominal) or maximum DC power; aPuissancePV in W.
  double GetRapportPuissance(double aPuissancePV, bool aNominal) const;
  // Lists every sizing whose ratio to the maximum DC power is within aDeltaR of 100 %;
  // returns the number of solutions.
  std::int32_t FoundSolution(double aDeltaR, double aIrr, bool aDefaultTemp);
  // Null when there is no such solution.
  const TSolution *GetSolution(int i) const;
  const TSolution *GetBestSolution(std::int32_t aNbModule) const;

  // The diagram of the inverter's windows against the array, aWidth × aHeight pixels.
  void DrawOnduleur(int aWidth, int aHeight, int aIrradiation, QPicture &aDiagram);
  void DrawOnduleur(int aWidth, int aHeight, int aIrradiation, QImage &aDiagram);
  // Operating points (Pmpp in % of the nominal DC power, Umpp) of the array from
  // aIrradiation down to 100 W/m², mapped from aValue to the pixels of aZone.
  void DrawOnduleurPI(const TRectSides &aZone, const TRectSides &aValue, int aIrradiation,
                      QImage &aDessin);

private:
  // False when a bound runs into its guard (data that make no sense).
  bool ComputeBounds(const TTemperature &t, double aIrr);
  void PaintOnduleur(QPainter &aCanvas, int aWidth, int aHeight, int aIrradiation);
  // Colour ramp of the diagram: base a, colour k from (a, a, 255) to (255, a, a).
  void SetTrackBase(int aBase);
  QColor TrackColor(int k) const;
  void GradientSegment(QPainter &aCanvas, QPointF aFrom, QPointF aTo, int aBase);

  TOnduleurData FOnduleur;
  TTemperature FTemperature;
  std::int32_t FModuleMin = 0;
  std::int32_t FModuleMax = 0;
  std::int32_t FStringMax = 0;
  std::unique_ptr<std::vector<TSolution>> FSolutionList;
  std::unique_ptr<TModule> FModule;
  TStringConfiguration FString;
  std::int32_t FTrackR = 0, FTrackG = 0, FTrackB = 0;
  std::int32_t DTrackR = 0, DTrackG = 0, DTrackB = 0;
  bool FShowErrorMessage = false;
  QFont FFont;
};
