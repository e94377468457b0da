// The PVGIS estimate of the current installation.

#include "platform/DelphiFormat.h"
#include "platform/Numbers.h"
#include "shell/dmData.h"
#include "solar/unMoon.h"
#include "web/dmPVGis.h"

namespace {

void SetProductionRequest(TPVGisStringList &aList, const TGPSPosition &aPosition, TdtmData &aData)
{
  const TClientDataSet &installation = *aData.cdsData;
  aList.SetOutputFormatChoice(TPVGIS_Output::gisCSV);
  aList.SetPV_DataBase(TPVGIS_Base::gisSARAH);
  aList.SetMountingPlace(TPVGIS_Mounting::gisFree);
  aList.SetLatitude(aPosition.Latitude);
  aList.SetLongitude(-aPosition.Longitude);  // PVGIS counts east positive
  aList.SetAspectAngle(installation.FieldByName(QStringLiteral("Orientation")).AsInteger());
  aList.SetAngle(installation.FieldByName(QStringLiteral("Inclinaison")).AsInteger());
  aList.SetPeakPower(installation.FieldByName(QStringLiteral("Puissance")).AsFloat() / 1000);
  aList.SetPVTechChoice(TPVGIS_Techno::gisCrystSi);
  aList.SetLoss(14 - (aData.GetRendementOnduleur() - 94));
  aList.SetOptimalAngles(false);
  aList.SetTwoAxis(false);
  aList.SetPlotDataGraph(true);
  aList.SetShowHorizon(false);
}

}  // namespace

void TdtmData::GetPVGisProd_CalsolID(const TGPSPosition &aPosition, int &aProduction, int & /*aAltitude*/)
{
  TDataMonth monthly{};
  {
    TdtmPVGis pvgis;
    SetProductionRequest(pvgis.PVGisList(), aPosition, *this);
    pvgis.DoRequest(TPVGIS_Computation::gisPVCalc);
    aProduction = RoundToInt(pvgis.GetProduction(false, monthly));
  }
  if (aProduction != 0) {
    cdsData->Edit();
    cdsData->FieldByName(QStringLiteral("Production")).SetAsInteger(aProduction);
    cdsData->Post();
    TMonthData months{};
    for (std::size_t m = 0; m < 12; ++m)
      months[m] = RoundToInt(monthly[m]);
    SetProduction(0, months);
    FProdYearPVGis = aProduction;
  }

  TDataMonth temperatures{};
  bool withTemperatures = false;
  {
    TdtmPVGis pvgis;
    withTemperatures = pvgis.GetDailyTemperature(aPosition.Latitude, -aPosition.Longitude, temperatures);
  }
  cdsData->Edit();
  if (withTemperatures)
    for (int m = 1; m <= 12; ++m)
      cdsData->FieldByName(FormatArgs(QStringLiteral("Temp%.2d"), m)).SetAsFloat(temperatures[m - 1]);
  cdsData->FieldByName(QStringLiteral("CalSolID")).SetAsInteger(FindNearestClimateStation(aPosition));
  cdsData->Post();
}
