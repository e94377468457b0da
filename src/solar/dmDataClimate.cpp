#include "platform/DelphiFormat.h"
#include "shell/dmData.h"
#include "shell/unRoutine.h"
#include "solar/unMoon.h"
#include "solar/unRecordText.h"

namespace {

// Squared degrees beyond which no station counts as near (about 31.6 degrees).
constexpr double kFarthest = 1000.0;
// The station given when none is near.
constexpr int kDefaultStation = 1;

}  // namespace

int TdtmData::FindNearestClimateStation(const TGPSPosition &aPosition)
{
  const TClientDataSet &stations = *cdsCalSolClim;
  if (!stations.Active())
    return kDefaultStation;
  const int idField = stations.FieldIndex(QStringLiteral("ID"));
  const int latitudeField = stations.FieldIndex(QStringLiteral("Latitude"));
  const int longitudeField = stations.FieldIndex(QStringLiteral("Longitude"));
  if (idField < 0 || latitudeField < 0 || longitudeField < 0)
    return kDefaultStation;

  double best = kFarthest;
  int result = kDefaultStation;
  for (int row = 0; row < stations.RecordCount(); ++row) {
    // Plain squared difference of degrees, as the stations were chosen for.
    const double dLatitude = aPosition.Latitude - stations.ValueAt(row, latitudeField).toDouble();
    const double dLongitude = aPosition.Longitude - stations.ValueAt(row, longitudeField).toDouble();
    const double distance = dLatitude * dLatitude + dLongitude * dLongitude;
    if (distance < best) {
      best = distance;
      result = stations.ValueAt(row, idField).toInt();
    }
  }
  return result;
}

double TdtmData::GetClimateHR(int aCalSolID, TDateTime aDate)
{
  TInterpPoint points[3];
  GetMonthPoints(aDate, points[0], points[1], points[2]);
  for (TInterpPoint &point : points) {
    const QString field = FormatArgs(QStringLiteral("HR%.2d"), static_cast<int>(point.Y));
    point.Y = cdsCalSolClim->Active() && cdsCalSolClim->FindField(field)
                  ? RecordTextToNumber(cdsCalSolClim->Lookup(QStringLiteral("ID"), aCalSolID, field))
                  : 0.0;
  }
  return InterpolateQuadratic(points[0], points[1], points[2], DayOfTheYear(aDate));
}
