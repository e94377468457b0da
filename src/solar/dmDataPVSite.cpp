#include "platform/DelphiFormat.h"
#include "platform/Numbers.h"
#include "shell/dmData.h"
#include "solar/dmDataPVSiteLoad.h"
#include "solar/unRecordText.h"

namespace {

const QString kID = QStringLiteral("ID");
// The NOCT assumed when the module's is unknown, as the estimation method announces.
constexpr double kUnknownNoct = 45.0;

QVariant LookupText(const TClientDataSet &aTable, const QVariant &aKey, const QString &aField)
{
  if (!aTable.Active() || aTable.FindField(aField) == nullptr)
    return {};
  return aTable.Lookup(kID, aKey, aField);
}

TPVSite::TMonthValues MonthValues(const std::function<double(const QString &)> &aValue,
                                  const char *aFormat)
{
  TPVSite::TMonthValues values{};
  for (int month = 1; month <= 12; ++month)
    values[static_cast<std::size_t>(month - 1)] = static_cast<int>(
        RoundHalfEven(aValue(FormatArgs(QString::fromLatin1(aFormat), month))));
  return values;
}

}  // namespace

void LoadPVSiteFromRecord(TPVSite &aSite, const TRecordField &aRecord,
                          const TClientDataSet &aModule, const TClientDataSet &aClimate)
{
  TGPSPosition position;
  position.Latitude = aRecord(QStringLiteral("Latitude")).toDouble();
  position.Longitude = aRecord(QStringLiteral("Longitude")).toDouble();
  position.Altitude = aRecord(QStringLiteral("Altitude")).toInt();
  position.Orientation = aRecord(QStringLiteral("Orientation")).toInt();
  position.Inclinaison = aRecord(QStringLiteral("Inclinaison")).toInt();
  aSite.SetPosition(position);
  aSite.SetPuissance(aRecord(QStringLiteral("Puissance")).toDouble());

  const QVariant module = aRecord(QStringLiteral("ID_Module"));
  aSite.SetTempCoeffPuissance(
      RecordTextToNumber(LookupText(aModule, module, QStringLiteral("Chute Puissance (%)"))));
  const double noct = RecordTextToNumber(LookupText(aModule, module, QStringLiteral("NOCT")));
  aSite.SetNoct(noct == 0 ? kUnknownNoct : noct);

  aSite.SetArrayTemperature(
      MonthValues([&](const QString &field) { return aRecord(field).toDouble(); }, "Temp%.2d"));
  const QVariant station = aRecord(QStringLiteral("CalSolID"));
  aSite.SetArrayHR(MonthValues(
      [&](const QString &field) { return RecordTextToNumber(LookupText(aClimate, station, field)); },
      "HR%.2d"));
}

void TdtmData::LoadPVSite(TPVSite &aSite)
{
  LoadPVSiteFromRecord(
      aSite, [this](const QString &field) { return cdsData->FieldByName(field).AsVariant(); },
      *cdsModule, *cdsCalSolClim);
}
