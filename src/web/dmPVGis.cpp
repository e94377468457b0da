#include "web/dmPVGis.h"

#include "platform/Numbers.h"
#include "shell/unFileLoader.h"
#include "web/ServiceSettings.h"

#include <QFile>
#include <QRegularExpression>

namespace {

const QString kElevation = QStringLiteral("Élévation:([ \\d-]*)");

int Index(TPVGIS_Computation aComputation) { return static_cast<int>(aComputation); }

}  // namespace

TdtmPVGis::TdtmPVGis(QObject *aOwner)
    : TCustomHTTPS(aOwner), FCSVFile(std::make_unique<TCSVLoader>()),
      FPVGisList(std::make_unique<TPVGisStringList>())
{
  const TServiceSettings services = ServiceSettings();
  FPVGis_Computation_URL[Index(TPVGIS_Computation::gisPVCalc)] = services.PVGisBase + services.PVCalcPath;
  FPVGis_Computation_URL[Index(TPVGIS_Computation::gisMRCalc)] = services.PVGisBase + services.MRCalcPath;
  FPVGis_Computation_URL[Index(TPVGIS_Computation::gisDRCalc)] = services.PVGisBase + services.DRCalcPath;
  FPVGis_Computation_URL[Index(TPVGIS_Computation::gisHorizon)] = services.PVGisBase + services.HorizonPath;
}

TdtmPVGis::~TdtmPVGis() = default;

QString TdtmPVGis::ComputationURL(TPVGIS_Computation aComputation) const
{
  return FPVGis_Computation_URL[Index(aComputation)];
}

QString TdtmPVGis::Query(TPVGIS_Computation aComputation) const
{
  if (aComputation == TPVGIS_Computation::gisHorizon)
    return QStringLiteral("lat=") + FPVGisList->Value(QStringLiteral("lat")) + QStringLiteral("&lon=") +
           FPVGisList->Value(QStringLiteral("lon")) + QStringLiteral("&browser=1&cbhorizon1=calculated");
  QStringList reversed;
  const QStringList &lines = FPVGisList->Lines();
  for (auto line = lines.crbegin(); line != lines.crend(); ++line)
    reversed << *line;
  return reversed.join(QLatin1Char('&'));
}

bool TdtmPVGis::DoRequest(TPVGIS_Computation aComputation)
{
  SetOutputs(nullptr, &FResponseString);
  const bool ok = GetURL(ComputationURL(aComputation) + QLatin1Char('?') + Query(aComputation));
  if (ok && FPVGisList->IsCsvFormat) {
    QString text = FResponseString.join(QLatin1Char('\n'));
    text.remove(QLatin1Char('\''));
    FResponseString = text.split(QLatin1Char('\n'));
    FCSVFile->LoadFromStringList(FResponseString, QLatin1Char('\t'));
  }
  return ok;
}

QVariant TdtmPVGis::GetData(const QString &aRegDataFormat, bool aFloat)
{
  return TCustomHTTPS::GetData(aRegDataFormat, aFloat, 1);
}

double TdtmPVGis::GetProduction(bool aTracker, TDataMonth &aProd)
{
  const QString column = aTracker ? QStringLiteral("O") : QStringLiteral("E");
  double sum = 0;
  for (int m = 1; m <= 12; ++m) {
    aProd[m - 1] = FCSVFile->GetAsInteger(column, m + 10);
    sum += aProd[m - 1];
  }
  return sum;
}

void TdtmPVGis::GetIrradiation(TDataMonth &aIrr)
{
  for (int m = 1; m <= 12; ++m)
    aIrr[m - 1] = FCSVFile->GetAsInteger(QStringLiteral("I"), m + 10);
}

void TdtmPVGis::GetHorizon(TPVGis_Horizon &aHor)
{
  for (int i = 1; i <= 49; ++i)
    aHor[i - 1] = FCSVFile->GetAsInteger(QStringLiteral("C"), i + 4);
}

bool TdtmPVGis::GetDailyTemperature(double aLatitude, double aLongitude, TDataMonth &aTemp)
{
  FPVGisList->SetOutputFormatChoice(TPVGIS_Output::gisCSV);
  FPVGisList->SetPV_DataBase(TPVGIS_Base::gisSARAH);
  FPVGisList->SetLatitude(aLatitude);
  FPVGisList->SetLongitude(aLongitude);
  FPVGisList->SetMR_Chosen_angle(90);
  FPVGisList->SetMR_Average_daytime_temperature(true);
  FPVGisList->SetMR_Daily_average_temperature(true);
  FPVGisList->SetMR_Number_heating_days(true);
  aTemp.fill(0);
  if (!DoRequest(TPVGIS_Computation::gisMRCalc))
    return false;
  // Five header rows, twelve rows per year, four closing rows.
  const int years = (FCSVFile->RowCount() - 9) / 12;
  if (years <= 0)
    return false;
  TDataMonth sum{};
  for (int y = 1; y <= years; ++y)
    for (int m = 1; m <= 12; ++m)
      sum[m - 1] += FCSVFile->GetAsDouble(QStringLiteral("E"), 12 * (y - 1) + 5 + m);
  for (int m = 0; m < 12; ++m)
    aTemp[m] = sum[m] / years;
  return true;
}

int TdtmPVGis::GetAltitude(double aLatitude, double aLongitude)
{
  FPVGisList->SetOutputFormatChoice(TPVGIS_Output::gisWindow);
  FPVGisList->SetMountingPlace(TPVGIS_Mounting::gisFree);
  FPVGisList->SetPV_DataBase(TPVGIS_Base::gisSARAH);
  FPVGisList->SetLatitude(aLatitude);
  FPVGisList->SetLongitude(aLongitude);
  FPVGisList->SetAspectAngle(0);
  FPVGisList->SetAngle(20);
  FPVGisList->SetPVTechChoice(TPVGIS_Techno::gisCrystSi);
  FPVGisList->SetPeakPower(1);
  FPVGisList->SetLoss(14);
  FPVGisList->SetOptimalAngles(false);
  FPVGisList->SetShowHorizon(false);
  FPVGisList->SetTwoAxis(false);
  if (!DoRequest(TPVGIS_Computation::gisPVCalc))
    return 0;
  return RoundToInt(GetData(kElevation, true).toDouble());
}

bool TdtmPVGis::DoRequest(int &Production, int &Altitude)
{
  if (!DoRequest(TPVGIS_Computation::gisPVCalc))
    return false;
  Production = PageValue(1);
  Altitude = RoundToInt(GetData(kElevation, true).toDouble());
  return true;
}

int TdtmPVGis::PageValue(int n) const
{
  static const QRegularExpression value(
      QStringLiteral("<td align=\"right\" colspan=2 ><b>(.*)</b>"),
      QRegularExpression::CaseInsensitiveOption | QRegularExpression::InvertedGreedinessOption);
  if (n < 1 || n > 3)
    n = 3;
  QRegularExpressionMatchIterator matches = value.globalMatch(FResponseString.join(QStringLiteral("\r\n")));
  for (int i = 1; matches.hasNext(); ++i) {
    const QRegularExpressionMatch match = matches.next();
    if (i < n)
      continue;
    bool ok = false;
    const double number = match.captured(1).trimmed().toDouble(&ok);
    return ok ? RoundToInt(number) : 0;
  }
  return 0;
}

bool TdtmPVGis::SaveToFile(const QString &aFileName) const
{
  QFile file(aFileName);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text))
    return false;
  for (const QString &line : FResponseString)
    file.write(line.toUtf8() + '\n');
  return file.error() == QFileDevice::NoError;
}
