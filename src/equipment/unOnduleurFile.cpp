// The inverter data file (.ond) and the reading of an inverter catalogue record.

#include "equipment/KeyValueFile.h"
#include "equipment/unOnduleur.h"
#include "platform/ClientDataSet.h"
#include "platform/DelphiFormat.h"
#include "platform/Numbers.h"
#include "platform/UserDialogs.h"

#include <QFileInfo>
#include <QLocale>

#include <cmath>
#include <exception>

namespace {

class EOnduleurValue : public std::runtime_error {
public:
  EOnduleurValue() : std::runtime_error("inverter value") {}
};

// A decimal number written with the user's decimal separator only (the other
// separator, group separators and an empty text are errors).
double StrToFloatUser(const QString &text)
{
  const QChar separator = DecimalSeparator();
  const QChar other = separator == QLatin1Char('.') ? QLatin1Char(',') : QLatin1Char('.');
  QString normalised = text.trimmed();
  if (normalised.isEmpty() || normalised.contains(other))
    throw EOnduleurValue();
  normalised.replace(separator, QLatin1Char('.'));
  QLocale c = QLocale::c();
  c.setNumberOptions(QLocale::RejectGroupSeparator);
  bool ok = false;
  const double value = c.toDouble(normalised, &ok);
  if (!ok || !std::isfinite(value))
    throw EOnduleurValue();
  return value;
}

TOnduleurData ReadOnduleurFile(const TKeyValues &values)
{
  const auto real = [&values](const char *key) {
    return StrToFloatUser(values.Value(QString::fromLatin1(key)));
  };
  TOnduleurData data;
  data.Transfo = values.Value(QStringLiteral("Transfo")) == QLatin1String("1");
  bool ok = false;
  data.Nb_MPPT = values.Value(QStringLiteral("Nb_mpp")).trimmed().toInt(&ok);
  if (!ok)
    throw EOnduleurValue();
  data.UMin_MPP = real("UMin_mpp");
  data.UMax_MPP = real("UMax_mpp");
  data.UNominale = real("UNominale");
  data.UMax = real("UMax");
  data.IMax = real("IMax");
  data.PMax_DC = real("PMax_DC");
  data.PNominal_DC = real("PNominal_DC");
  data.PMax_AC = real("PMax_AC");
  data.PNominal_AC = real("PNominal_AC");
  data.Rendement = real("Rendement");
  return data;
}

TOnduleurData ReadOnduleurRecord(const TClientDataSet &db)
{
  const auto real = [&db](const char *name) {
    const double value = db.FieldByName(QString::fromUtf8(name)).AsFloat();
    if (!std::isfinite(value))
      throw EOnduleurValue();
    return value;
  };
  TOnduleurData data;
  data.Transfo = db.FieldByName(QStringLiteral("Transfo")).AsBoolean();
  data.Nb_MPPT = db.FieldByName(QStringLiteral("Nombre MPP")).AsInteger();
  data.PNominal_DC = real("Puissance DC Nom");
  data.PMax_DC = real("Puissance DC Max");
  data.PNominal_AC = real("Puissance AC Nom");
  data.PMax_AC = real("Puissance AC Max");
  data.UMin_MPP = real("Tension MPP min");
  data.UMax_MPP = real("Tension MPP max");
  data.UNominale = real("Tension DC Nom");
  data.UMax = real("Tension DC Max");
  data.IMax = real("Courant DC Max");
  data.Rendement = real("Rendement Euro-eta");
  return data;
}

}  // namespace

bool TOnduleur::LoadFromFile(const QString &aFile)
{
  if (!QFileInfo::exists(aFile)) {
    UserDialogs().ShowMessage(QStringLiteral("Le fichier est introuvable"));
    return false;
  }
  TOnduleurData data;
  try {
    data = ReadOnduleurFile(TKeyValues::FromFile(aFile));
  } catch (const std::exception &) {
    UserDialogs().ShowMessage(QStringLiteral("Erreur lors de la lecture du fichier"));
    return false;
  }
  SetOnduleur(data);
  return true;
}

void TOnduleur::SaveToFile(const QString &aFile) const
{
  const TOnduleurData &o = FOnduleur;
  WriteKeyValueFile(aFile, {
    o.Transfo ? QStringLiteral("Transfo=1") : QStringLiteral("Transfo=0"),
    FormatArgs(QStringLiteral("Nb_mpp=%d"), o.Nb_MPPT),
    FormatArgs(QStringLiteral("UMin_mpp=%.6g"), o.UMin_MPP),
    FormatArgs(QStringLiteral("UMax_mpp=%.6g"), o.UMax_MPP),
    FormatArgs(QStringLiteral("UNominale=%.6g"), o.UNominale),
    FormatArgs(QStringLiteral("UMax=%.6g"), o.UMax),
    FormatArgs(QStringLiteral("IMax=%.6g"), o.IMax),
    FormatArgs(QStringLiteral("PMax_DC=%.6g"), o.PMax_DC),
    FormatArgs(QStringLiteral("PNominal_DC=%.6g"), o.PNominal_DC),
    FormatArgs(QStringLiteral("PMax_AC=%.6g"), o.PMax_AC),
    FormatArgs(QStringLiteral("PNominal_AC=%.6g"), o.PNominal_AC),
    FormatArgs(QStringLiteral("Rendement=%.6g"), o.Rendement),
    QString(),
  });
}

bool TOnduleur::LoadFromDB(TClientDataSet &aDataBase)
{
  if (!aDataBase.Active() || aDataBase.IsEmpty())
    return false;
  TOnduleurData data;
  try {
    data = ReadOnduleurRecord(aDataBase);
  } catch (const std::exception &) {
    UserDialogs().ShowMessage(QStringLiteral("Erreur lors de la lecture de la base"));
    return false;
  }
  SetOnduleur(data);
  return true;
}
