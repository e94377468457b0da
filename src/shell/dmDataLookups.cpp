#include "shell/dmData.h"

#include "shell/dmDataLookups.h"

namespace {

// The inverter catalogue row of the current installation, one field of it.
QVariant OnduleurValue(TdtmData &data, const QString &field)
{
  if (!data.cdsOnduleur->Active() || !data.cdsData->Active() || data.cdsData->IsEmpty())
    return {};
  return data.cdsOnduleur->Lookup(QStringLiteral("ID"),
                                  data.cdsData->FieldByName(QStringLiteral("ID_Onduleur")).AsVariant(), field);
}

}  // namespace

double CatalogueNumber(const QVariant &aValue)
{
  QString text = aValue.toString();
  const qsizetype comma = text.indexOf(QLatin1Char(','));
  if (comma >= 0)
    text[comma] = QLatin1Char('.');
  text.remove(QLatin1Char(' '));
  bool ok = false;
  const double value = text.toDouble(&ok);
  return ok ? value : 0.0;
}

double TdtmData::GetRendementOnduleur()
{
  const double efficiency = CatalogueNumber(OnduleurValue(*this, QStringLiteral("Rendement Euro-eta")));
  return efficiency == 0.0 ? 94.0 : efficiency;
}

double TdtmData::GetPOnduleurACMax()
{
  double power = CatalogueNumber(OnduleurValue(*this, QStringLiteral("Puissance AC Max")));
  if (power == 0.0)
    power = CatalogueNumber(OnduleurValue(*this, QStringLiteral("Puissance AC Nom")));
  if (power == 0.0)
    return 0.0;
  return power * cdsData->FieldByName(QStringLiteral("Nb_Onduleur")).AsInteger() * 1000.0;
}

double TdtmData::Puissance()
{
  if (!cdsData->Active() || cdsData->IsEmpty())
    return 0.0;
  return cdsData->FieldByName(QStringLiteral("Puissance")).AsFloat();
}
