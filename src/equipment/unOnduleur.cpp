#include "equipment/unOnduleur.h"

#include "platform/Numbers.h"
#include "platform/UserDialogs.h"

#include <algorithm>
#include <cmath>
#include <exception>

namespace {

constexpr int BoundGuard = 10000;
constexpr double DefaultEfficiency = 0.95;
constexpr double NominalToMaxDC = 0.85;
constexpr double MaxOverNominal = 1.15;

const QString HardwareErrorMessage = QStringLiteral("Les données matérielles comportent des erreurs");

TTemperature DefaultTemperature()
{
  return {-10, 70, 15, 50};
}

// The search with default temperatures takes the highest MPP voltage at 10 °C.
TTemperature SearchDefaultTemperature()
{
  return {-10, 70, 10, 50};
}

}  // namespace

TOnduleur::TOnduleur() : TOnduleur(DefaultTemperature()) {}

TOnduleur::TOnduleur(const TTemperature &aTemp)
    : FTemperature(aTemp), FModule(std::make_unique<TModule>(true))
{
}

TOnduleur::~TOnduleur() = default;

void TOnduleur::SetModule(const TModule &aModule)
{
  FModule->Assign(aModule);
  FModule->Initialize();
}

void TOnduleur::SetOnduleur(const TOnduleurData &aData)
{
  FOnduleur = aData;
  TOnduleurData &o = FOnduleur;
  o.PCalculated = o.PNominal_DC == 0 || o.PMax_DC == 0 || o.PNominal_AC == 0 || o.PMax_AC == 0;
  const double eta = o.Rendement == 0 ? DefaultEfficiency : o.Rendement / 100;
  if (o.PNominal_DC == 0)
    o.PNominal_DC = o.PNominal_AC / eta;
  if (o.PMax_DC == 0)
    o.PMax_DC = o.PMax_AC / eta;
  if (o.PNominal_AC == 0)
    o.PNominal_AC = o.PNominal_DC * eta;
  if (o.PMax_AC == 0)
    o.PMax_AC = o.PMax_DC * eta;
  if (o.PNominal_DC == 0)
    o.PNominal_DC = o.PMax_DC * NominalToMaxDC;
  if (o.PMax_DC == 0)
    o.PMax_DC = o.PNominal_DC / NominalToMaxDC;
  if (o.PNominal_AC == 0)
    o.PNominal_AC = o.PMax_AC * NominalToMaxDC;
  if (o.PMax_AC == 0)
    o.PMax_AC = o.PNominal_AC / NominalToMaxDC;
}

void TOnduleur::SetStringConfiguration(std::int32_t aNbString, std::int32_t aNbModuleByString)
{
  FString.assign(static_cast<std::size_t>(std::max(aNbString, 0)), aNbModuleByString);
}

double TOnduleur::GetRapportPuissance(double aPuissancePV, bool aNominal) const
{
  const TOnduleurData &o = FOnduleur;
  if (aNominal) {
    if (o.PNominal_DC != 0)
      return aPuissancePV / (o.PNominal_DC * 1000) * 100;
    if (o.PMax_DC != 0)
      return aPuissancePV / (o.PMax_DC / MaxOverNominal * 1000) * 100;
    return 0;
  }
  if (o.PMax_DC != 0)
    return aPuissancePV / (o.PMax_DC * 1000) * 100;
  if (o.PNominal_DC != 0)
    return aPuissancePV / (MaxOverNominal * o.PNominal_DC * 1000) * 100;
  return 0;
}

bool TOnduleur::ComputeBounds(const TTemperature &t, double aIrr)
{
  const TModule &m = *FModule;
  const double uocCold = m.GetUoc(aIrr, t.Min);
  const double umppHigh = m.GetUmpp(aIrr, t.MinMPP);
  const double umppLow = m.GetUmpp(aIrr, t.Max);
  const double impp = m.GetImpp(aIrr, t.Fonc);

  std::int32_t moduleMax = 0;
  int k = 0;
  for (double su = uocCold, sm = umppHigh;
       m.UMax() > su && su < FOnduleur.UMax && sm <= FOnduleur.UMax_MPP && k < BoundGuard;
       su += uocCold, sm += umppHigh) {
    ++moduleMax;
    ++k;
  }
  if (k >= BoundGuard)
    return false;

  std::int32_t moduleMin = 0;
  k = 0;
  double s = 0;
  do {
    s += umppLow;
    ++moduleMin;
    ++k;
  } while (!(s >= FOnduleur.UMin_MPP || k > BoundGuard));
  if (k >= BoundGuard)
    return false;

  const double limit = FOnduleur.Nb_MPPT > 1 ? FOnduleur.IMax * FOnduleur.Nb_MPPT : FOnduleur.IMax;
  std::int32_t stringMax = 0;
  k = 0;
  for (double si = impp; si < limit && k < BoundGuard; si += impp) {
    ++stringMax;
    ++k;
  }
  if (k >= BoundGuard)
    return false;

  FModuleMin = moduleMin;
  FModuleMax = moduleMax;
  FStringMax = stringMax;
  return true;
}

std::int32_t TOnduleur::FoundSolution(double aDeltaR, double aIrr, bool aDefaultTemp)
{
  const TTemperature t = aDefaultTemp ? SearchDefaultTemperature() : FTemperature;
  try {
    if (!ComputeBounds(t, aIrr)) {
      if (FShowErrorMessage)
        UserDialogs().ShowMessage(HardwareErrorMessage);
      return 0;
    }
    auto list = std::make_unique<std::vector<TSolution>>();
    const TModule &m = *FModule;
    const TOnduleurData &o = FOnduleur;
    // The string voltage at 25 °C only depends on the series count: one MPP search.
    double umppSTC = 0;
    for (std::int32_t n = FModuleMin; n <= FModuleMax; ++n)
      for (std::int32_t s = 1; s <= FStringMax; ++s) {
        const double p = m.Puissance() * n * s;
        const double r = GetRapportPuissance(p, false);
        if (!(std::fabs(r - 100) < aDeltaR))
          continue;
        if (umppSTC == 0)
          umppSTC = m.GetUmpp(aIrr, 25);
        TSolution solution;
        solution.NModule = n;
        solution.NString = s;
        solution.Rendement = r;
        solution.Modules = n * s;
        solution.UNomSTC = umppSTC * n;
        solution.OverPMax = o.PMax_DC != 0 ? o.PMax_DC * 1000 < p
                                           : o.PNominal_DC * 1000 * MaxOverNominal < p;
        list->push_back(solution);
      }
    // Equal module counts keep the order of the search (series count ascending).
    std::stable_sort(list->begin(), list->end(), [](const TSolution &a, const TSolution &b) {
      if (a.Modules != b.Modules)
        return a.Modules < b.Modules;
      return RoundHalfEven(a.Rendement - 100) < RoundHalfEven(b.Rendement - 100);
    });
    FSolutionList = std::move(list);
    return SolutionCount();
  } catch (const std::exception &) {
    if (FShowErrorMessage)
      UserDialogs().ShowMessage(HardwareErrorMessage);
    throw;
  }
}

const TSolution *TOnduleur::GetSolution(int i) const
{
  if (!FSolutionList || i < 0 || i >= SolutionCount())
    return nullptr;
  return &(*FSolutionList)[static_cast<std::size_t>(i)];
}

const TSolution *TOnduleur::GetBestSolution(std::int32_t aNbModule) const
{
  if (!FSolutionList)
    return nullptr;
  const TSolution *best = nullptr;
  double distance = 1000;
  for (const TSolution &solution : *FSolutionList)
    if (solution.Modules == aNbModule) {
      const double d = std::fabs(solution.UNomSTC - FOnduleur.UNominale);
      if (d < distance) {
        best = &solution;
        distance = d;
      }
    }
  return best;
}
