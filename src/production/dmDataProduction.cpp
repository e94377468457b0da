#include "production/dmDataProduction.h"

#include "platform/DelphiFormat.h"
#include "platform/Numbers.h"
#include "shell/DataSetGuards.h"
#include "shell/dmData.h"
#include "shell/unRoutine.h"

namespace {

const int kPVGisSource = 0;

void CheckMonth(int aMonth)
{
  if (aMonth < 1 || aMonth > 12)
    throw EDatabaseError(FormatArgs(QStringLiteral("Mois invalide : %d"), aMonth));
}

QString MonthField(int aMonth) { return FormatArgs(QStringLiteral("Mois%.2d"), aMonth); }

}  // namespace

int YearToIDSource(int aYear) { return 2 * aYear - 4004; }

int IDSourceToYear(int aIDSource)
{
  return aIDSource % 2 == 0 ? 2007 + (aIDSource - 10) / 2 : 2007 + (aIDSource - 11) / 2;
}

QString SourceName(int aIDSource)
{
  if (aIDSource == kPVGisSource)
    return QStringLiteral("PVGis");
  return FormatArgs(QStringLiteral("P. %d"), IDSourceToYear(aIDSource));
}

bool TdtmData::LocateProduction(int aIDSource, bool aCreate)
{
  // The production table follows the current installation only while notifications run.
  const TControlsResumed resumed(*cdsData);
  const int id = cdsData->FieldByName(QStringLiteral("ID")).AsInteger();
  const bool found =
      cdsProd->Locate(QStringLiteral("ID_Producteur;ID_Source"), QVariantList{id, aIDSource});
  if (!aCreate)
    return found;
  if (found) {
    cdsProd->Edit();
  } else {
    cdsProd->Append();
    try {
      cdsProd->FieldByName(QStringLiteral("ID_Producteur")).SetAsInteger(id);
      cdsProd->FieldByName(QStringLiteral("ID_Source")).SetAsInteger(aIDSource);
      cdsProd->FieldByName(QStringLiteral("Source")).SetAsString(SourceName(aIDSource));
    } catch (...) {
      // A key the table refuses must not leave a half-made row to be posted by the next move.
      cdsProd->Cancel();
      throw;
    }
  }
  return true;
}

void TdtmData::SetProduction(int aIDSource, int aMonth, int aProd)
{
  CheckMonth(aMonth);
  LocateProduction(aIDSource, true);
  TField &month = cdsProd->FieldByName(MonthField(aMonth));
  TField &total = cdsProd->FieldByName(QStringLiteral("Total"));
  const int old = month.AsInteger();
  month.SetAsInteger(aProd);
  total.SetAsInteger(total.AsInteger() - old + aProd);
  cdsProd->Post();
  cdsProd->SaveToFile(QString(), TDataPacketFormat::dfBinary, true);
}

void TdtmData::SetProduction(int aIDSource, const TMonthData &aData)
{
  int sum = 0;
  for (const int value : aData)
    sum += value;
  // A year without data leaves no empty row behind.
  if (sum == 0)
    return;
  LocateProduction(aIDSource, true);
  for (int month = 1; month <= 12; ++month)
    cdsProd->FieldByName(MonthField(month)).SetAsInteger(aData[month - 1]);
  cdsProd->FieldByName(QStringLiteral("Total")).SetAsInteger(sum);
  cdsProd->Post();
  cdsProd->SaveToFile(QString(), TDataPacketFormat::dfBinary, true);
}

bool TdtmData::GetProduction(int aIDSource, int aMonth, int &aProd)
{
  CheckMonth(aMonth);
  if (!LocateProduction(aIDSource, false))
    return false;
  aProd = cdsProd->FieldByName(MonthField(aMonth)).AsInteger();
  return true;
}

bool TdtmData::GetProduction(int aIDSource, TMonthData &aData)
{
  if (!LocateProduction(aIDSource, false))
    return false;
  for (int month = 1; month <= 12; ++month)
    aData[month - 1] = cdsProd->FieldByName(MonthField(month)).AsInteger();
  return true;
}

double TdtmData::GetProductionTotal()
{
  const double production = cdsData->FieldByName(QStringLiteral("Production")).AsFloat();
  return static_cast<double>(RoundHalfEven(production)) * cdsData->FieldByName(QStringLiteral("Prix_kWh")).AsFloat();
}

double TdtmData::GetPVGisData(TDateTime aDate, TPVGisData aData)
{
  TInterpPoint points[3];
  GetMonthPoints(aDate, points[0], points[1], points[2]);
  if (aData == TPVGisData::pvgisTemp) {
    for (TInterpPoint &point : points)
      point.Y = cdsData->FieldByName(FormatArgs(QStringLiteral("Temp%.2d"), static_cast<int>(point.Y))).AsFloat();
  } else {
    if (!LocateProduction(kPVGisSource, false))
      return 0.0;
    for (TInterpPoint &point : points)
      point.Y = cdsProd->FieldByName(MonthField(static_cast<int>(point.Y))).AsInteger();
  }
  return InterpolateQuadratic(points[0], points[1], points[2], DayOfTheYear(aDate));
}

double TdtmData::GetProdDayPVGis(TDateTime aDate)
{
  return SumOverSite([this, aDate] { return GetPVGisData(aDate, TPVGisData::pvgisProd); });
}

double TdtmData::GetProdMonthPVGis(int aMonth)
{
  CheckMonth(aMonth);
  return SumOverSite([this, aMonth] {
    return LocateProduction(kPVGisSource, false) ? cdsProd->FieldByName(MonthField(aMonth)).AsInteger() : 0.0;
  });
}
