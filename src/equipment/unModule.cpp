#include "equipment/unModule.h"

#include "equipment/FloatChecks.h"
#include "equipment/unMultiModule.h"
#include "platform/Numbers.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace {

// Guards of the iterative searches: far beyond what any real module needs (a few
// hundred 1 V steps at most), so that only a pathological model reaches them.
constexpr int MaxBisectionSteps = 4000;
constexpr int MaxSearchSteps = 10000;
constexpr double Tolerance = 1e-8;

void CheckCurveArrays(std::span<double> a, std::span<double> b)
{
  if (a.empty() || a.size() != b.size())
    throw std::invalid_argument("curve arrays must be non-empty and of equal length");
}

}  // namespace

TModule::TModule(bool aCalculDTAvecPuissance) : FCalculDTAvecPuissance(aCalculDTAvecPuissance) {}

TModule::~TModule() = default;

void TModule::SetAmorphe(bool aValue)
{
  FAmorphe = aValue;
  FData.Amorphe = aValue;
}

void TModule::SetNbCell(std::int32_t aValue)
{
  FNbCell = aValue;
  FData.NbCell = aValue;
}

double TModule::GetValue(int aIndex) const
{
  switch (aIndex) {
  case 1: return FPuissance;
  case 2: return FUmpp_Ref;
  case 3: return FImpp_Ref;
  case 4: return FUoc_Ref;
  case 5: return FIsc_Ref;
  case 6: return FDUoc_SDT_Ref;
  case 7: return FDIsc_SDT_Ref;
  case 8: return FDPP_SDT_Ref;
  case 9: return FUMax;
  case 10: return FNOCT == 0 ? 48 : FNOCT;
  default: return 0;
  }
}

void TModule::SetValue(int aIndex, double aValue)
{
  switch (aIndex) {
  case 1: FPuissance = FData.Puissance = aValue; break;
  case 2: FUmpp_Ref = FData.U_MPP = aValue; break;
  case 3: FImpp_Ref = FData.I_MPP = aValue; break;
  case 4: FUoc_Ref = FData.U_CO = aValue; break;
  case 5: FIsc_Ref = FData.I_CC = aValue; break;
  case 6: FDUoc_SDT_Ref = FData.T_U_CO = aValue; break;
  case 7: FDIsc_SDT_Ref = FData.T_I_CC = aValue; break;
  case 8: FDPP_SDT_Ref = FData.T_P = aValue; break;
  case 9: FUMax = FData.UMax = aValue; break;
  case 10:
    FNOCT = aValue;
    // Kept within the integer's range: the record holds a whole number of degrees.
    FData.NOCT = std::isnan(aValue) ? 0
                                    : static_cast<std::int32_t>(RoundHalfEven(
                                          std::clamp(aValue, -2147483648.0, 2147483647.0)));
    break;
  default: break;
  }
}

void TModule::SetData(const TModuleData &aData)
{
  FData.TypeSI = aData.TypeSI;
  SetAmorphe(aData.Amorphe);
  SetNbCell(aData.NbCell);
  SetPuissance(aData.Puissance);
  SetUMax(aData.UMax);
  SetUmpp_Ref(aData.U_MPP);
  SetImpp_Ref(aData.I_MPP);
  SetUoc_Ref(aData.U_CO);
  SetIsc_Ref(aData.I_CC);
  SetDUoc_SDT_Ref(aData.T_U_CO);
  SetDIsc_SDT_Ref(aData.T_I_CC);
  SetDPP_SDT_Ref(aData.T_P);
  DRSerie_SDT_Ref = aData.T_RSerie;
  SetRShunt(aData.R_Shunt);
  FData.T_Real = aData.T_Real;
  FData.T_U_CO_P = aData.T_U_CO_P;
  FData.T_I_CC_P = aData.T_I_CC_P;
  FData.T_P_P = aData.T_P_P;
  FData.NOCT = aData.NOCT;
  FNOCT = aData.NOCT;
  FData.Longueur = aData.Longueur;
  FData.Largeur = aData.Largeur;
  FData.Epaisseur = aData.Epaisseur;
  FData.Poids = aData.Poids;
}

void TModule::SetRShunt(double aValue)
{
  Rsh = aValue == 0 ? 300 : aValue;
  FData.R_Shunt = Rsh;
  CondShunt = 1 / Rsh;
}

void TModule::Assign(const TModule &Source)
{
  FCalculDTAvecPuissance = Source.FCalculDTAvecPuissance;
  SetData(Source.Data());
  IL_Ref = Source.IL_Ref;
  I0_Ref = Source.I0_Ref;
  // The per-cell ideality times this module's cell count (the source's own value when
  // the counts agree, so that the copy evaluates exactly like its source).
  GAMMA = NbCell() == Source.NbCell() ? Source.GAMMA : Source.GAMMA / Source.NbCell() * NbCell();
  RSerie_Ref = Source.RSerie_Ref;
  DIL_SDT_Ref = Source.DIL_SDT_Ref;
  DI0_SDT_Ref = Source.DI0_SDT_Ref;
  DRSerie_SDT_Ref = Source.DRSerie_SDT_Ref;
  EG_Ref = Source.EG_Ref;
  DEG_SDT_Ref = Source.DEG_SDT_Ref;
  GAMMAP = Source.GAMMAP;
  BETA = Source.BETA;
  FIncShunt = Source.FIncShunt;
  FIncShuntCompteur = Source.FIncShuntCompteur;
  GAP0 = Source.GAP0;
  GAPA = Source.GAPA;
  GAPB = Source.GAPB;
}

void TModule::GetModelParameter(TModuleParameter &aData) const
{
  aData.IL_Ref = IL_Ref;
  aData.I0_Ref = I0_Ref;
  aData.GAMMA = GAMMA / NbCell();
  aData.RSerie_Ref = RSerie_Ref;
  aData.DIL_SDT_Ref = DIL_SDT_Ref;
  aData.DI0_SDT_Ref = DI0_SDT_Ref;
  aData.DRSerie_SDT_Ref = DRSerie_SDT_Ref;
  aData.EG_Ref = EG_Ref;
  aData.DEG_SDT_Ref = DEG_SDT_Ref;
  aData.GAMMAP = GAMMAP;
  aData.BETA = BETA;
  aData.RShuntInc = FIncShunt;
}

double TModule::GetCellTemperature(double aTAmbiante, double aIrradiance) const
{
  return aTAmbiante + (NOCT() - 20) * aIrradiance / 800;
}

// ---- Evaluation of one module.

TModule::TOperatingState TModule::StateAt(double aG, double aT) const
{
  using namespace FloatCheck;
  const double T = aT + ZeroCelsius;
  const double Tr = TK_Ref;
  const double Ns = NbCell();
  TOperatingState s;
  s.IL = Finite(Divide(IL_Ref + DIL_SDT_Ref * (aT - TC_Ref), G_Ref) * aG);
  const double eg = GAP0 - Divide(GAPA * T * T, T + GAPB);
  s.I0 = Finite(I0_Ref * Power(T / Tr, Divide(3, GAMMAP)) *
                Exp(Divide(QSurK, Divide(GAMMA, Ns)) * (EG_Ref / Tr - Divide(eg, T))));
  s.Rs = Finite(RSerie_Ref * Power(T / Tr, BETA));
  s.Theta = Divide(Divide(QSurK, GAMMA), T);
  s.CondShunt = Finite(CondShunt);
  return s;
}

double TModule::CurrentAt(const TOperatingState &s, double aU)
{
  double lower = aU >= 0 ? 0 : aU;
  double upper = aU >= 0 ? aU + s.IL * s.Rs : s.IL * s.Rs;
  double current = 0;
  for (int step = 0; step < MaxBisectionSteps; ++step) {
    const double vd = FloatCheck::Finite((lower + upper) * 0.5);
    current = FloatCheck::Finite(s.IL - s.I0 * (FloatCheck::Exp(s.Theta * vd) - 1) -
                                 vd * s.CondShunt);
    // An interval too narrow to be halved again is as close as doubles get.
    if (vd == lower || vd == upper)
      return current;
    if (vd - s.Rs * current > aU)
      upper = vd;
    else
      lower = vd;
    if (std::fabs(upper - lower) < Tolerance)
      return current;
  }
  return current;
}

double TModule::VoltageForCurrent(const TOperatingState &s, double aTarget,
                                  bool aStopOnNegative) const
{
  double u = FUoc_Ref;
  double step = 1;
  double last = u;
  double d = CurrentAt(s, u) - aTarget;
  const bool rising = d > 0;
  for (int n = 0; std::fabs(d) > Tolerance; ++n) {
    if (aStopOnNegative && u < 0)
      return u;
    if (n >= MaxSearchSteps)
      throw EMathError(FloatCheck::NoConvergenceMessage);
    const double previous = u;
    if (rising) {
      if (d > 0) {
        last = u;
        u = u + step;
      } else {
        step = step / 2;
        u = last + step;
      }
    } else {
      if (d > 0) {
        step = step / 2;
        u = last - step;
      } else {
        last = u;
        u = u - step;
      }
    }
    // The step is below the resolution of U: U is as close as it can get.
    if (u == previous)
      return u;
    d = CurrentAt(s, u) - aTarget;
  }
  return u;
}

void TModule::I_F_U(double aG, double aT, double aU, double &aI, double &aP) const
{
  aI = CurrentAt(StateAt(aG, aT), aU);
  aP = aU * aI;
}

void TModule::U_F_I(double aG, double aT, double aI, double &aU, double &aP) const
{
  aU = VoltageForCurrent(StateAt(aG, aT), aI, true);
  aP = aI * aU;
}

double TModule::GetUoc(double aG, double aT) const
{
  return VoltageForCurrent(StateAt(aG, aT), 0, false);
}

double TModule::GetIsc(double aG, double aT) const
{
  return CurrentAt(StateAt(aG, aT), 0);
}

void TModule::MppSearch(const TOperatingState &s, double aUoc, double &aU, double &aI,
                        double &aP) const
{
  double step = -1;
  double previous = 0;
  double u = aUoc + step;
  for (int n = 0; n < MaxSearchSteps; ++n) {
    const double i = CurrentAt(s, u);
    const double p = FloatCheck::Finite(u * i);
    const double dP = p - previous;
    if (std::fabs(dP) <= Tolerance) {
      aU = u;
      aI = i;
      aP = p;
      return;
    }
    if (dP < 0)
      step = -step / 2;
    previous = p;
    u = FloatCheck::Finite(u + step);
  }
  throw EMathError(FloatCheck::NoConvergenceMessage);
}

void TModule::GetmppPoint(double aG, double aT, double &aU, double &aI, double &aP) const
{
  const TOperatingState s = StateAt(aG, aT);
  MppSearch(s, VoltageForCurrent(s, 0, false), aU, aI, aP);
}

double TModule::GetUmpp(double aG, double aT) const
{
  double u, i, p;
  GetmppPoint(aG, aT, u, i, p);
  return u;
}

double TModule::GetImpp(double aG, double aT) const
{
  double u, i, p;
  GetmppPoint(aG, aT, u, i, p);
  return i;
}

double TModule::GetPmpp(double aG, double aT) const
{
  double u, i, p;
  GetmppPoint(aG, aT, u, i, p);
  return p;
}

TModuleData TModule::DataAtNoSTCCondition(double aG, double aT) const
{
  TModuleData data = FData;
  GetmppPoint(aG, aT, data.U_MPP, data.I_MPP, data.Puissance);
  data.U_CO = GetUoc(aG, aT);
  data.I_CC = GetIsc(aG, aT);
  return data;
}

void TModule::GetCaracteristique(double aG, double aT, std::span<double> aU,
                                 std::span<double> aI, double &aPMax, double &aUPMax) const
{
  CheckCurveArrays(aU, aI);
  const TOperatingState s = StateAt(aG, aT);
  const int n = static_cast<int>(aU.size()) - 1;
  const double delta = n == 0 ? 0 : VoltageForCurrent(s, 0, false) / n;
  aPMax = 0;
  aUPMax = 0;
  double u = 0;
  for (int k = 0; k <= n; ++k) {
    aU[k] = u;
    aI[k] = CurrentAt(s, u);
    if (u * aI[k] > aPMax) {
      aPMax = u * aI[k];
      aUPMax = u;
    }
    u += delta;
  }
}

void TModule::GetCaracteristique2(double aG, double aT, std::span<double> aU,
                                  std::span<double> aI, double &aPMax, double &aUPMax) const
{
  CheckCurveArrays(aU, aI);
  const TOperatingState s = StateAt(aG, aT);
  const int n = static_cast<int>(aU.size()) - 1;
  const double delta = n == 0 ? 0 : CurrentAt(s, 0) / n;
  aPMax = 0;
  aUPMax = 0;
  double i = 0;
  for (int k = 0; k <= n; ++k) {
    aI[k] = i;
    aU[k] = VoltageForCurrent(s, i, true);
    if (aU[k] * i > aPMax) {
      aPMax = aU[k] * i;
      aUPMax = aU[k];
    }
    i += delta;
  }
}
