#include "equipment/unMultiModule.h"

#include "equipment/TableInterpolation.h"

#include <cmath>
#include <exception>
#include <map>
#include <stdexcept>

namespace {

// One sampled string curve with its MPP.
struct TStringCurve {
  std::vector<double> U;
  std::vector<double> I;
  double Umpp = 0;
  double Impp = 0;
};

}  // namespace

TMultiModule::TMultiModule(const TStringConfiguration &aString, bool aSameModule)
    : FSameModule(aSameModule), FNbString(static_cast<int>(aString.size()))
{
  FStrings.resize(aString.size() + 1);
  std::int32_t total = 0;
  for (std::size_t s = 0; s < aString.size(); ++s) {
    FStrings[s].NbModule = aString[s];
    for (std::int32_t p = 0; p < aString[s]; ++p)
      FListModule.push_back(std::make_unique<TModule>(true));
    total += aString[s];
  }
  Whole().NbModule = total;
}

TMultiModule::~TMultiModule() = default;

TModule &TMultiModule::Module(int s, int p) const
{
  int index = p;
  for (int k = 0; k < s; ++k)
    index += FStrings[static_cast<std::size_t>(k)].NbModule;
  return *FListModule.at(static_cast<std::size_t>(index));
}

bool TMultiModule::Initialize()
{
  FUpdated = false;
  FMPPComputed = false;
  try {
    for (const auto &module : FListModule)
      module->Initialize();
  } catch (const std::exception &) {
    return false;
  }
  return true;
}

bool TMultiModule::Initialize(const TModuleData &aData)
{
  FUpdated = false;
  FMPPComputed = false;
  FSameModule = true;
  if (FListModule.empty())
    return true;
  try {
    // The fit is deterministic: one fit, copied to the other modules, gives each the
    // model it would fit itself from the same data.
    TModule &first = *FListModule.front();
    first.Initialize(aData);
    for (std::size_t k = 1; k < FListModule.size(); ++k)
      FListModule[k]->Assign(first);
  } catch (const std::exception &) {
    return false;
  }
  return true;
}

void TMultiModule::Update(double aG, double aT)
{
  if (FUpdated && aG == FG && aT == FT)
    return;
  // Invalid until the new results are complete, so that a failure is not cached.
  FUpdated = false;
  FG = aG;
  FT = aT;
  for (TStringsProperty &entry : FStrings) {
    entry.Uoc = entry.Isc = entry.Umpp = entry.Impp = 0;
    entry.NUocMax = entry.NIscMax = entry.NUocMin = 0;
  }
  if (FSameModule)
    UpdateSameModules(aG, aT);
  else
    UpdateDifferentModules(aG, aT);
  FUpdated = true;
  FMPPComputed = false;
}

void TMultiModule::UpdateSameModules(double aG, double aT)
{
  // at(): an array built without any module raises instead of reading past its list.
  const TModule &first = *FListModule.at(0);
  const double u = first.GetUoc(aG, aT);
  const double c = first.GetIsc(aG, aT);
  TStringsProperty &whole = Whole();
  for (int i = 0; i < FNbString; ++i) {
    TStringsProperty &string = FStrings[static_cast<std::size_t>(i)];
    string.NUocMax = string.NIscMax = string.NUocMin = 0;
    string.Uoc = string.NbModule * u;
    if (string.Uoc > whole.Uoc) {
      whole.Uoc = string.Uoc;
      whole.NUocMax = i;
    }
    if (string.Uoc < whole.Uoc)
      whole.NUocMin = i;
    string.Isc = c;
  }
  whole.Isc = FNbString * c;
  whole.NIscMax = 0;
}

void TMultiModule::UpdateDifferentModules(double aG, double aT)
{
  TStringsProperty &whole = Whole();
  double highestStringIsc = 0;
  for (int i = 0; i < FNbString; ++i) {
    TStringsProperty &string = FStrings[static_cast<std::size_t>(i)];
    double highestUoc = 0;
    double lowestUoc = 1000000;
    double highestIsc = 0;
    double sum = 0;
    for (int p = 0; p < string.NbModule; ++p) {
      const TModule &module = Module(i, p);
      const double u = module.GetUoc(aG, aT);
      sum += u;
      if (u > highestUoc) {
        highestUoc = u;
        string.NUocMax = p;
      }
      if (u < lowestUoc) {
        lowestUoc = u;
        string.NUocMin = p;
      }
      const double c = module.GetIsc(aG, aT);
      if (c > highestIsc) {
        highestIsc = c;
        string.NIscMax = p;
      }
    }
    string.Uoc = sum;
    if (sum > whole.Uoc) {
      whole.Uoc = sum;
      whole.NUocMax = i;
    }
    if (sum < whole.Uoc)
      whole.NUocMin = i;
    string.Isc = highestIsc;
    whole.Isc += string.Isc;
    if (string.Isc > highestStringIsc) {
      highestStringIsc = string.Isc;
      whole.NIscMax = i;
    }
  }
}

void TMultiModule::StringCurve(int s, double aG, double aT, std::span<double> aU,
                               std::span<double> aI)
{
  TStringsProperty &string = FStrings[static_cast<std::size_t>(s)];
  const int n = static_cast<int>(aU.size()) - 1;
  if (FSameModule) {
    const double um = Module(s, string.NUocMax).GetUoc(aG, aT);
    const double delta = n == 0 ? 0 : um / n;
    const TModule &module = Module(s, 0);
    double u = 0;
    for (int k = 0; k <= n; ++k) {
      double p = 0;
      module.I_F_U(aG, aT, u, aI[k], p);
      aU[k] = string.NbModule * u;
      u += delta;
    }
  } else {
    // Currents on a logarithmic scale, denser near Isc where the voltage changes fast.
    std::vector<double> tableU(aU.size());
    std::vector<double> tableI(aU.size());
    const double is = string.Isc;
    const double c = n == 0 ? 0 : (std::exp(5.0) - 1) / n;
    for (int j = 0; j <= n; ++j) {
      const double current = std::log(1 + j * c) * is * 0.2;
      double voltage = 0;
      for (int p = 0; p < string.NbModule; ++p) {
        double u = 0;
        double power = 0;
        Module(s, p).U_F_I(aG, aT, current, u, power);
        voltage += u;
      }
      tableU[static_cast<std::size_t>(n - j)] = voltage;
      tableI[static_cast<std::size_t>(n - j)] = current;
    }
    tableU[0] = 0;
    const double us = tableU[static_cast<std::size_t>(n)];
    const TTableInterpolator current(tableU, tableI);
    for (int k = 0; k <= n; ++k) {
      aU[k] = n == 0 ? 0 : k * us / n;
      aI[k] = current(aU[k]);
    }
    aI[n] = 0;
  }
  double best = 0;
  string.Umpp = string.Impp = 0;
  for (int k = 0; k <= n; ++k)
    if (aU[k] * aI[k] > best) {
      best = aU[k] * aI[k];
      string.Umpp = aU[k];
      string.Impp = aI[k];
    }
  string.Pmpp = string.Umpp * string.Impp;
}

void TMultiModule::GetCaracteristique(double aG, double aT, std::span<double> aU,
                                      std::span<double> aI)
{
  if (aU.empty() || aU.size() != aI.size())
    throw std::invalid_argument("curve arrays must be non-empty and of equal length");
  Update(aG, aT);
  TStringsProperty &whole = Whole();
  const int m = whole.NUocMax;
  StringCurve(m, aG, aT, aU, aI);
  const TStringsProperty &highest = FStrings[static_cast<std::size_t>(m)];
  whole.Umpp = highest.Umpp;
  whole.Impp = highest.Impp;
  whole.Pmpp = highest.Umpp * highest.Impp;
  if (FNbString >= 2) {
    // Identical modules give identical curves to strings of equal length: each length
    // is sampled once.
    std::map<std::int32_t, TStringCurve> sampled;
    if (FSameModule)
      sampled.emplace(highest.NbModule, TStringCurve{{aU.begin(), aU.end()}, {aI.begin(), aI.end()},
                                                     highest.Umpp, highest.Impp});
    for (int i = 0; i < FNbString; ++i) {
      if (i == m)
        continue;
      TStringsProperty &string = FStrings[static_cast<std::size_t>(i)];
      auto found = sampled.find(string.NbModule);
      if (!FSameModule || found == sampled.end()) {
        TStringCurve curve{std::vector<double>(aU.size()), std::vector<double>(aU.size()), 0, 0};
        StringCurve(i, aG, aT, curve.U, curve.I);
        curve.Umpp = string.Umpp;
        curve.Impp = string.Impp;
        found = sampled.insert_or_assign(string.NbModule, std::move(curve)).first;
      } else {
        string.Umpp = found->second.Umpp;
        string.Impp = found->second.Impp;
        string.Pmpp = string.Umpp * string.Impp;
      }
      const TTableInterpolator current(found->second.U, found->second.I);
      for (std::size_t k = 0; k < aU.size(); ++k)
        aI[k] += current(aU[k]);
    }
    aI.back() = 0;
    std::size_t best = 0;
    for (std::size_t k = 1; k < aU.size(); ++k)
      if (aU[k] * aI[k] > aU[best] * aI[best])
        best = k;
    whole.Umpp = aU[best];
    whole.Impp = aI[best];
    whole.Pmpp = aU[best] * aI[best];
  }
  FMPPComputed = true;
}

void TMultiModule::EnsureMpp(double aG, double aT)
{
  Update(aG, aT);
  if (FMPPComputed)
    return;
  FMPPComputed = true;
  std::vector<double> u(CurvePoints);
  std::vector<double> i(CurvePoints);
  try {
    GetCaracteristique(aG, aT, u, i);
  } catch (const std::exception &) {
    FMPPComputed = false;
  }
}

double TMultiModule::GetUoc(double aG, double aT)
{
  Update(aG, aT);
  return Whole().Uoc;
}

double TMultiModule::GetIsc(double aG, double aT)
{
  Update(aG, aT);
  return Whole().Isc;
}

double TMultiModule::GetUmpp(double aG, double aT)
{
  EnsureMpp(aG, aT);
  return Whole().Umpp;
}

double TMultiModule::GetImpp(double aG, double aT)
{
  EnsureMpp(aG, aT);
  return Whole().Impp;
}

double TMultiModule::GetPmpp(double aG, double aT)
{
  EnsureMpp(aG, aT);
  return Whole().Pmpp;
}

void TMultiModule::GetmppPoint(double aG, double aT, double &aU, double &aI, double &aP)
{
  EnsureMpp(aG, aT);
  aU = Whole().Umpp;
  aI = Whole().Impp;
  aP = Whole().Pmpp;
}

void TMultiModule::I_F_U(double aG, double aT, double aU, double &aI, double &aP)
{
  std::vector<double> u(CurvePoints);
  std::vector<double> i(CurvePoints);
  try {
    GetCaracteristique(aG, aT, u, i);
    aI = Interpolate(u, i, aU);
    aP = aU * aI;
  } catch (const std::exception &) {
  }
}

void TMultiModule::U_F_I(double aG, double aT, double aI, double &aU, double &aP)
{
  std::vector<double> u(CurvePoints);
  std::vector<double> i(CurvePoints);
  try {
    GetCaracteristique(aG, aT, u, i);
    aU = InverseInterpolate(u, i, aI);
    aP = aI * aU;
  } catch (const std::exception &) {
  }
}
