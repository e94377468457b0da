// String-configuration operations of TModule: several modules through the owned array.

#include "equipment/unModule.h"
#include "equipment/unMultiModule.h"

#include <stdexcept>

namespace {

// Raised for a configuration that describes no array.
class EStringConfiguration : public std::invalid_argument {
public:
  explicit EStringConfiguration(const QString &message)
      : std::invalid_argument(message.toStdString())
  {
  }
};

void CheckConfiguration(const TStringConfiguration &aString)
{
  if (aString.empty())
    throw EStringConfiguration(QStringLiteral("Nombre de string ne peut être nul"));
  for (const std::int32_t modules : aString)
    if (modules < 1)
      throw EStringConfiguration(QStringLiteral("Nombre de module par string ne peut être nul"));
}

bool SameConfiguration(const TMultiModule &aArray, const TStringConfiguration &aString)
{
  if (aArray.NbString() != static_cast<int>(aString.size()))
    return false;
  for (std::size_t s = 0; s < aString.size(); ++s)
    if (aArray.Strings(static_cast<int>(s)).NbModule != aString[s])
      return false;
  return true;
}

}  // namespace

TMultiModule &TModule::MultiModuleFor(const TStringConfiguration &aString)
{
  if (!FMultiModule || !SameConfiguration(*FMultiModule, aString)) {
    FMultiModule.reset();
    FMultiModule = std::make_unique<TMultiModule>(aString, true);
    FMultiModule->Initialize(FData);
  }
  return *FMultiModule;
}

void TModule::I_F_U(const TStringConfiguration &aString, double aG, double aT, double aU,
                    double &aI, double &aP)
{
  CheckConfiguration(aString);
  if (aString.size() == 1 && aString.front() == 1)
    I_F_U(aG, aT, aU, aI, aP);
  else
    MultiModuleFor(aString).I_F_U(aG, aT, aU, aI, aP);
}

double TModule::GetUoc(const TStringConfiguration &aString, double aG, double aT)
{
  CheckConfiguration(aString);
  if (aString.size() == 1)
    return aString.front() * GetUoc(aG, aT);
  return MultiModuleFor(aString).GetUoc(aG, aT);
}

double TModule::GetIsc(const TStringConfiguration &aString, double aG, double aT)
{
  CheckConfiguration(aString);
  return static_cast<double>(aString.size()) * GetIsc(aG, aT);
}

void TModule::GetmppPoint(const TStringConfiguration &aString, double aG, double aT,
                          double &aU, double &aI, double &aP)
{
  CheckConfiguration(aString);
  if (aString.size() == 1) {
    GetmppPoint(aG, aT, aU, aI, aP);
    aU *= aString.front();
    aP *= aString.front();
    return;
  }
  TMultiModule &array = MultiModuleFor(aString);
  aU = array.GetUmpp(aG, aT);
  aI = array.GetImpp(aG, aT);
  aP = aU * aI;
}

double TModule::GetUmpp(const TStringConfiguration &aString, double aG, double aT)
{
  double u, i, p;
  GetmppPoint(aString, aG, aT, u, i, p);
  return u;
}

double TModule::GetImpp(const TStringConfiguration &aString, double aG, double aT)
{
  double u, i, p;
  GetmppPoint(aString, aG, aT, u, i, p);
  return i;
}

double TModule::GetPmpp(const TStringConfiguration &aString, double aG, double aT)
{
  double u, i, p;
  GetmppPoint(aString, aG, aT, u, i, p);
  return p;
}

void TModule::MultiStringCaracteristique(const TStringConfiguration &aString, double aG,
                                         double aT, std::span<double> aU, std::span<double> aI,
                                         double &aUmpp, double &aImpp)
{
  CheckConfiguration(aString);
  TMultiModule &array = MultiModuleFor(aString);
  array.GetCaracteristique(aG, aT, aU, aI);
  const TStringsProperty &whole = array.Strings(array.NbString());
  aUmpp = whole.Umpp;
  aImpp = whole.Impp;
}

int TModule::MultiStringCaracteristique_V2(const TStringConfiguration &aString, double aG,
                                           double aT, std::span<double> aU,
                                           std::span<double> aI, double &aUmpp, double &aImpp)
{
  CheckConfiguration(aString);
  if (aU.empty() || aU.size() != aI.size())
    throw std::invalid_argument("curve arrays must be non-empty and of equal length");
  const int n = static_cast<int>(aU.size()) - 1;
  const double seriesCount = aString.front();
  const double delta = n == 0 ? 0 : GetIsc(aG, aT) / n;
  double best = 0;
  aUmpp = aImpp = 0;
  double current = 0;
  for (int k = 0; k <= n; ++k) {
    double u = 0;
    double p = 0;
    U_F_I(aG, aT, current, u, p);
    aU[k] = seriesCount * u;
    aI[k] = current;
    if (aU[k] < 0) {
      // The curve reached the current axis: close it there and stop.
      aU[k] = 0;
      aI[k] = k == 0 ? current : (current + aI[k - 1]) / 2;
      return k + 1;
    }
    if (aU[k] * aI[k] > best) {
      best = aU[k] * aI[k];
      aUmpp = aU[k];
      aImpp = aI[k];
    }
    current += delta;
  }
  return n + 1;
}

void TModule::EvaluationCaracteristique(const TStringConfiguration &aString, double aG,
                                        double aT, TCaracteristiqueKind aKind, double &aX,
                                        double &aY)
{
  switch (aKind) {
  case TCaracteristiqueKind::Umpp: aY = GetUmpp(aString, aG, aT); break;
  case TCaracteristiqueKind::Impp: aY = GetImpp(aString, aG, aT); break;
  case TCaracteristiqueKind::Pmpp: aY = GetPmpp(aString, aG, aT); break;
  case TCaracteristiqueKind::MppLocus: {
    double p = 0;
    GetmppPoint(aString, aG, aT, aX, aY, p);
    break;
  }
  case TCaracteristiqueKind::Uoc: aY = GetUoc(aString, aG, aT); break;
  case TCaracteristiqueKind::Isc: aY = GetIsc(aString, aG, aT); break;
  case TCaracteristiqueKind::UocIsc:
    aX = GetUoc(aString, aG, aT);
    aY = GetIsc(aString, aG, aT);
    break;
  }
}

void TModule::GetTempCaracteristique(const TStringConfiguration &aString, double aG,
                                     double aTStart, double aTEnd, TCaracteristiqueKind aKind,
                                     std::span<double> aX, std::span<double> aY)
{
  if (aX.empty() || aX.size() != aY.size())
    throw std::invalid_argument("curve arrays must be non-empty and of equal length");
  const int n = static_cast<int>(aX.size()) - 1;
  for (int k = 0; k <= n; ++k) {
    const double t = n == 0 ? aTStart : aTStart + k * (aTEnd - aTStart) / n;
    aX[k] = t;
    EvaluationCaracteristique(aString, aG, t, aKind, aX[k], aY[k]);
  }
}

void TModule::GetIrradiationCaracteristique(const TStringConfiguration &aString, double aT,
                                            double aGStart, double aGEnd,
                                            TCaracteristiqueKind aKind, std::span<double> aX,
                                            std::span<double> aY)
{
  if (aX.empty() || aX.size() != aY.size())
    throw std::invalid_argument("curve arrays must be non-empty and of equal length");
  const int n = static_cast<int>(aX.size()) - 1;
  for (int k = 0; k <= n; ++k) {
    const double g = n == 0 ? aGStart : aGStart + k * (aGEnd - aGStart) / n;
    aX[k] = g;
    EvaluationCaracteristique(aString, g, aT, aKind, aX[k], aY[k]);
  }
}
