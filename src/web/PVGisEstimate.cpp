#include "web/PVGisEstimate.h"

#include "platform/DelphiFormat.h"
#include "platform/UserDialogs.h"
#include "shell/dmData.h"

int RunPVGisEstimate(TdtmData &aData, const TGPSPosition &aPosition)
{
  int production = 0;
  int altitude = 0;
  {
    const TBusyCursor busy;
    aData.GetPVGisProd_CalsolID(aPosition, production, altitude);
  }
  if (production != 0)
    UserDialogs().ShowMessage(FormatArgs(QStringLiteral("Production estimée : %d kWh an"), production));
  else
    UserDialogs().ShowMessage(QStringLiteral("La connexion à PVGis a échouée"));
  return production;
}
