// Fit of the single-diode model from the datasheet values.

#include "equipment/FloatChecks.h"
#include "equipment/unModule.h"
#include "equipment/unMultiModule.h"

#include <cmath>
#include <exception>

namespace {

constexpr int MaxInnerIterations = 101;
constexpr int MaxOuterIterations = 1001;
constexpr int MaxShuntRaisesReference = 50;
constexpr int MaxShuntRaisesBeta = 10;
constexpr double ShuntRaise = 100;

}  // namespace

bool TModule::Initialize(const TModuleData &aData)
{
  SetData(aData);
  return Initialize();
}

bool TModule::Initialize()
{
  FMultiModule.reset();
  if (BETA < 10) {
    FIncShunt = false;
    FIncShuntCompteur = 0;
  }
  return Fit();
}

bool TModule::Fit()
{
  try {
    ReferenceFit();
    TemperatureDerivatives();
    BandGapTerms();
    if (BETA > 10) {
      SetRShunt(Rsh + ShuntRaise);
      FIncShunt = true;
      ++FIncShuntCompteur;
      if (FIncShuntCompteur < MaxShuntRaisesBeta)
        return Initialize();
    }
    return true;
  } catch (const std::exception &) {
    return false;
  }
}

void TModule::Solve(int n)
{
  double det = 0;
  // A singular system leaves the unknowns undefined: the fit cannot go on.
  if (!GaussJordan(A, n, det))
    throw EMathError(FloatCheck::ZeroDivideMessage);
}

void TModule::ReferenceFit()
{
  for (;;) {
    ReferenceFitOnce();
    const double perCell = GAMMA / NbCell();
    if (FAmorphe || (perCell >= 1 && perCell <= 3))
      return;
    SetRShunt(Rsh + ShuntRaise);
    FIncShunt = true;
    ++FIncShuntCompteur;
    if (FIncShuntCompteur >= MaxShuntRaisesReference)
      return;
  }
}

void TModule::ReferenceFitOnce()
{
  using namespace FloatCheck;
  const double uoc = Uoc_Ref();
  const double isc = Isc_Ref();
  const double umpp = Umpp_Ref();
  const double impp = Impp_Ref();
  const double gsh = CondShunt;
  const double ns = NbCell();
  double gammaLow = 0.1 * ns;
  double gammaHigh = 15 * ns;
  for (int outer = 1;; ++outer) {
    GAMMA = (gammaLow + gammaHigh) * 0.5;
    double rsLow = -Divide(uoc, isc);
    double rsHigh = Divide(uoc, isc);
    const double x = Divide(Divide(QSurK, TK_Ref), GAMMA);
    for (int inner = 1;; ++inner) {
      RSerie_Ref = (rsLow + rsHigh) / 2;
      EXPO0 = Exp(uoc * x);
      A.Clear();
      A(1, 1) = 1;
      A(1, 2) = 1 - EXPO0;
      A(1, 3) = uoc * gsh;
      EXPOCC = Exp(isc * RSerie_Ref * x);
      A(2, 1) = 1;
      A(2, 2) = 1 - EXPOCC;
      A(2, 3) = Finite(isc + isc * RSerie_Ref * gsh);
      Solve(2);
      IL_Ref = A(1, 3);
      I0_Ref = A(2, 3);
      const double vp = umpp + impp * RSerie_Ref;
      EXPOP = Exp(vp * x);
      const double c = Finite(IL_Ref - (EXPOP - 1) * I0_Ref - vp * gsh - impp);
      if (c >= 0)
        rsLow = RSerie_Ref;
      else
        rsHigh = RSerie_Ref;
      if (std::fabs(c) < impp * 1e-8 || inner >= MaxInnerIterations)
        break;
    }
    const double g = Finite(I0_Ref * EXPOP * x + gsh);
    const double slope = -Divide(g, g * RSerie_Ref + 1);
    const double l = Finite(Divide(impp, umpp) + slope);
    if (l > 0)
      gammaHigh = GAMMA;
    else
      gammaLow = GAMMA;
    if (std::fabs(l) < Divide(impp * 1e-4, umpp) || outer >= MaxOuterIterations)
      return;
  }
}

void TModule::TemperatureDerivatives()
{
  using namespace FloatCheck;
  const double x = Divide(Divide(QSurK, GAMMA), TK_Ref);
  const double p = Finite(I0_Ref * x);
  const double T = TK_Ref;
  const double gsh = CondShunt;
  const double rs = RSerie_Ref;
  const double uoc = Uoc_Ref();
  const double isc = Isc_Ref();
  const double umpp = Umpp_Ref();
  const double impp = Impp_Ref();
  const double dUoc = DUoc_SDT_Ref();
  const double dIsc = DIsc_SDT_Ref();
  A.Clear();
  if (FCalculDTAvecPuissance) {
    const double dP = DPP_SDT_Ref();
    A(1, 1) = 1;
    A(1, 2) = 1 - EXPO0;
    A(1, 6) = Finite(dUoc * gsh + (dUoc - uoc / T) * p * EXPO0);
    A(2, 1) = 1;
    A(2, 2) = 1 - EXPOCC;
    A(2, 3) = Finite(-isc * (p * EXPOCC + gsh));
    A(2, 6) = Finite(dIsc * gsh * rs + dIsc + p * EXPOCC * (dIsc - isc / T) * rs);
    const double h = Finite(p * EXPOP + gsh);
    A(3, 1) = 1;
    A(3, 2) = 1 - EXPOP;
    A(3, 3) = -impp * h;
    A(3, 4) = -h;
    A(3, 5) = -h * rs - 1;
    A(3, 6) = Finite(-p * EXPOP * (umpp + impp * rs) / T);
    const double b = (umpp - impp * rs) * x;
    const double e = Finite(p * EXPOP);
    const double v = (umpp + impp * rs) * x;
    A(4, 2) = Finite(b * EXPOP);
    A(4, 3) = Finite(impp * ((b - 1) * e - gsh));
    A(4, 4) = Finite((b + 1) * e + gsh);
    A(4, 5) = Finite(((b - 1) * e - gsh) * rs - 1);
    A(4, 6) = Finite((umpp - impp * rs) * (v + 1) * e / T);
    A(5, 4) = impp;
    A(5, 5) = umpp;
    A(5, 6) = dP;
    Solve(5);
    DIL_SDT_Ref = A(1, 6);
    DI0_SDT_Ref = A(2, 6);
    DRSerie_SDT_Ref = A(3, 6);
  } else {
    A(1, 1) = 1;
    A(1, 2) = 1 - EXPO0;
    A(1, 3) = Finite((dUoc - uoc / T) * (p * EXPO0 + gsh));
    A(2, 1) = 1;
    A(2, 2) = 1 - EXPOCC;
    A(2, 3) = Finite(dIsc + (p * EXPOCC + gsh) *
                                (dIsc * rs + isc * DRSerie_SDT_Ref - isc * rs / T));
    Solve(2);
    DIL_SDT_Ref = A(1, 3);
    DI0_SDT_Ref = A(2, 3);
  }
}

void TModule::BandGapTerms()
{
  using namespace FloatCheck;
  if (FAmorphe) {
    GAP0 = 1.7;
    GAPA = 0;
    GAPB = 0;
  } else {
    GAP0 = 1.16;
    GAPA = 7.02e-4;
    GAPB = 1108;
  }
  const double T = TK_Ref;
  const double y = Divide(Divide(QSurK, Divide(GAMMA, NbCell())), T);
  const double z = Finite(I0_Ref * y);
  EG_Ref = GAP0 - GAPA * T * T / (T + GAPB);
  DEG_SDT_Ref = -GAPA * T * (T + 2 * GAPB) / ((T + GAPB) * (T + GAPB));
  GAMMAP = Divide(3 * I0_Ref, DI0_SDT_Ref * T - (EG_Ref - DEG_SDT_Ref * T) * z);
  BETA = Divide(DRSerie_SDT_Ref * T, RSerie_Ref);
}
