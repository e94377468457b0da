#pragma once
// The PVGIS estimate of the current installation as the main window runs it: busy
// cursor, the estimate, then the result or the failure told to the user.

class TdtmData;
struct TGPSPosition;

// Runs TdtmData::GetPVGisProd_CalsolID at aPosition and shows "Production estimée : %d
// kWh an" or "La connexion à PVGis a échouée". Returns the yearly production (0 on
// failure).
int RunPVGisEstimate(TdtmData &aData, const TGPSPosition &aPosition);
