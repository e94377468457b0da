// The module data file (.mpv) and the reading of a module catalogue record.

#include "equipment/KeyValueFile.h"
#include "equipment/unModule.h"
#include "platform/ClientDataSet.h"
#include "platform/DelphiFormat.h"
#include "platform/UserDialogs.h"
#include "shell/unRoutine.h"

#include <QFileInfo>

#include <cmath>
#include <exception>
#include <limits>

namespace {

const QString DegreeKey = QStringLiteral("NOCT(°C)");
constexpr std::int32_t DefaultNOCT = 48;

// Raised for a value that cannot be taken; the reader turns it into its message.
class EModuleValue : public std::runtime_error {
public:
  EModuleValue() : std::runtime_error("module value") {}
};

double ReadReal(const TKeyValues &values, const QString &key)
{
  const double value = StrToFloatLocal(values.Value(key));
  if (!std::isfinite(value))
    throw EModuleValue();
  return value;
}

std::int32_t ToInt32(double value)
{
  const double rounded = std::nearbyint(value);
  if (!std::isfinite(rounded) || rounded < std::numeric_limits<std::int32_t>::min() ||
      rounded > std::numeric_limits<std::int32_t>::max())
    throw EModuleValue();
  return static_cast<std::int32_t>(rounded);
}

TModuleData ReadModuleFile(const TKeyValues &values)
{
  TModuleData data;
  data.Amorphe = values.Value(QStringLiteral("Amorphe")) == QLatin1String("OUI");
  data.TypeSI = values.Value(QStringLiteral("TypeSI"));
  bool ok = false;
  data.NbCell = values.Value(QStringLiteral("NbCell")).trimmed().toInt(&ok);
  if (!ok)
    throw EModuleValue();
  data.Puissance = ReadReal(values, QStringLiteral("Pmpp(W)"));
  data.U_MPP = ReadReal(values, QStringLiteral("Umpp(V)"));
  data.I_MPP = ReadReal(values, QStringLiteral("Impp(A)"));
  if (data.Puissance == 0)
    data.Puissance = data.U_MPP * data.I_MPP;
  data.U_CO = ReadReal(values, QStringLiteral("Uco(V)"));
  data.I_CC = ReadReal(values, QStringLiteral("Icc(A)"));
  data.T_U_CO_P = ReadReal(values, QStringLiteral("TempUco(%)"));
  data.T_U_CO = data.T_U_CO_P * data.U_CO / 100;
  data.T_I_CC_P = ReadReal(values, QStringLiteral("TempIcc(%)"));
  data.T_I_CC = data.T_I_CC_P * data.I_CC / 100;
  data.T_P_P = ReadReal(values, QStringLiteral("TempPmpp(%)"));
  data.T_P = data.T_P_P * data.U_MPP * data.I_MPP / 100;
  data.R_Shunt = ReadReal(values, QStringLiteral("RShunt(ohm)"));
  data.NOCT = ToInt32(ReadReal(values, DegreeKey));
  if (data.NOCT == 0)
    data.NOCT = DefaultNOCT;
  data.Longueur = ReadReal(values, QStringLiteral("Longueur(mm)"));
  data.Largeur = ReadReal(values, QStringLiteral("Largeur(mm)"));
  data.Epaisseur = ReadReal(values, QStringLiteral("Epaisseur(mm)"));
  data.Poids = ReadReal(values, QStringLiteral("Poids(kg)"));
  data.T_Real = true;
  return data;
}

struct TDefaultCoefficients {
  double Voltage;
  double Current;
  double Power;
};

TDefaultCoefficients DefaultCoefficients(const QString &cellType)
{
  if (cellType == QLatin1String("MONO"))
    return {-0.36, 0.03, -0.47};
  if (cellType == QLatin1String("POLY"))
    return {-0.33, 0.07, -0.42};
  return {-0.32, 0.25, -0.25};
}

// Cells in series from the open-circuit voltage (about 0.6 V a cell), preferring a count
// that fills a rectangle of 4, 5 or 6 rows.
std::int32_t EstimateCellCount(double uoc)
{
  const std::int32_t v = ToInt32(uoc / 0.6);
  for (std::int32_t a = 4; a <= 6; ++a) {
    std::int32_t found = 0;
    for (std::int32_t b = 2; b <= 30; ++b)
      if (std::abs(static_cast<std::int64_t>(a) * b - v) < 2)
        found = a * b;
    if (found != 0)
      return found;
  }
  return v;
}

double Coefficient(double given, double byDefault, bool &real)
{
  if (given != 0)
    return given;
  real = false;
  return byDefault;
}

TModuleData ReadModuleRecord(const TClientDataSet &db)
{
  const auto real = [&db](const char *name) {
    const double value = db.FieldByName(QString::fromUtf8(name)).AsFloat();
    if (!std::isfinite(value))
      throw EModuleValue();
    return value;
  };
  TModuleData data;
  data.TypeSI = db.FieldByName(QStringLiteral("Type Cellule")).AsString();
  const QString cellType = data.TypeSI.toUpper();
  data.Amorphe = cellType != QLatin1String("MONO") && cellType != QLatin1String("POLY") &&
                 cellType != QLatin1String("HIT");
  data.NbCell = db.FieldByName(QStringLiteral("Nombre Cellule")).AsInteger();
  data.Puissance = real("Puissance");
  data.U_MPP = real("Tension MPP");
  data.I_MPP = real("Courant MPP");
  data.U_CO = real("Tension CO");
  data.I_CC = real("Courant CC");
  data.R_Shunt = real("Résistance Shunt");
  data.UMax = real("Tension Max");
  data.NOCT = ToInt32(real("NOCT"));
  if (data.NOCT == 0)
    data.NOCT = DefaultNOCT;
  data.Longueur = real("Longueur_HT");
  data.Largeur = real("Largeur_HT");
  data.Epaisseur = real("Epaisseur");
  data.Poids = real("Poids");
  const TDefaultCoefficients defaults = DefaultCoefficients(cellType);
  data.T_Real = true;
  data.T_U_CO_P = Coefficient(real("Chute Tension (%)"), defaults.Voltage, data.T_Real);
  data.T_I_CC_P = Coefficient(real("Chute Courant (%)"), defaults.Current, data.T_Real);
  data.T_P_P = Coefficient(real("Chute Puissance (%)"), defaults.Power, data.T_Real);
  data.T_U_CO = data.T_U_CO_P * data.U_CO / 100;
  data.T_I_CC = data.T_I_CC_P * data.I_CC / 100;
  data.T_P = data.T_P_P * data.U_MPP * data.I_MPP / 100;
  if (data.NbCell == 0 && !data.Amorphe)
    data.NbCell = EstimateCellCount(data.U_CO);
  return data;
}

}  // namespace

bool TModule::LoadFromFile(const QString &aFile, bool aInitialize)
{
  if (!QFileInfo::exists(aFile)) {
    UserDialogs().ShowMessage(QStringLiteral("Le fichier module est introuvable"));
    return false;
  }
  TModuleData data;
  try {
    data = ReadModuleFile(TKeyValues::FromFile(aFile));
  } catch (const std::exception &) {
    UserDialogs().ShowMessage(QStringLiteral("Erreur lors de la lecture du fichier module"));
    return false;
  }
  SetData(data);
  return aInitialize ? Initialize() : true;
}

void TModule::SaveToFile(const QString &aFile, bool aCleanFileName) const
{
  QString file = aFile;
  if (aCleanFileName) {
    // Only the name is cleaned: the folder separators of the path must stay.
    const QFileInfo info(aFile);
    QString name = info.fileName();
    CleanFileName(name);
    file = info.path() + QLatin1Char('/') + name;
  }
  const TModuleData &d = FData;
  WriteKeyValueFile(file, {
    d.Amorphe ? QStringLiteral("Amorphe=OUI") : QStringLiteral("Amorphe=NON"),
    FormatArgs(QStringLiteral("TypeSI=%s"), d.TypeSI),
    FormatArgs(QStringLiteral("NbCell=%d"), d.NbCell),
    FormatArgs(QStringLiteral("Pmpp(W)=%.6g"), d.Puissance),
    FormatArgs(QStringLiteral("Umpp(V)=%.6g"), d.U_MPP),
    FormatArgs(QStringLiteral("Impp(A)=%.6g"), d.I_MPP),
    FormatArgs(QStringLiteral("Uco(V)=%.6g"), d.U_CO),
    FormatArgs(QStringLiteral("Icc(A)=%.6g"), d.I_CC),
    FormatArgs(QStringLiteral("TempUco(%%)=%.6g"), d.T_U_CO_P),
    FormatArgs(QStringLiteral("TempIcc(%%)=%.6g"), d.T_I_CC_P),
    FormatArgs(QStringLiteral("TempPmpp(%%)=%.6g"), d.T_P_P),
    FormatArgs(QStringLiteral("RShunt(ohm)=%.6g"), d.R_Shunt),
    FormatArgs(QStringLiteral("NOCT(°C)=%d"), d.NOCT),
    FormatArgs(QStringLiteral("Longueur(mm)=%.6g"), d.Longueur),
    FormatArgs(QStringLiteral("Largeur(mm)=%.6g"), d.Largeur),
    FormatArgs(QStringLiteral("Epaisseur(mm)=%.6g"), d.Epaisseur),
    FormatArgs(QStringLiteral("Poids(kg)=%.6g"), d.Poids),
  });
}

bool TModule::LoadFromDB(TClientDataSet &aDataBase, bool aInitialize)
{
  if (!aDataBase.Active() || aDataBase.IsEmpty())
    return false;
  TModuleData data;
  try {
    data = ReadModuleRecord(aDataBase);
  } catch (const std::exception &) {
    UserDialogs().ShowMessage(QStringLiteral("Erreur lors de la lecture de la base"));
    return false;
  }
  SetData(data);
  return aInitialize ? Initialize() : true;
}
