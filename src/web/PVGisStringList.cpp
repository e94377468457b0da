#include "web/PVGisStringList.h"

#include "platform/FloatFormat.h"

// Numbers are written like Delphi's FloatToStr, with "." whatever the user's locale.
QString PVGisNumber(double aValue) { return FloatToStrGeneral(aValue, 15, true); }

TPVGisStringList::TPVGisStringList()
    : FLines{QStringLiteral("lat=43.580391"),         QStringLiteral("lon=6.064453"),
             QStringLiteral("usehorizon=1"),          QStringLiteral("raddatabase=PVGIS-CMSAF"),
             QStringLiteral("peakpower=3"),           QStringLiteral("pvtechchoice=crystSi"),
             QStringLiteral("mountingplace=free"),    QStringLiteral("loss=14"),
             QStringLiteral("angle=35"),              QStringLiteral("aspect=0"),
             QStringLiteral("outputformat=csv")}
{
}

qsizetype TPVGisStringList::IndexOfName(const QString &aName) const
{
  for (qsizetype i = 0; i < FLines.size(); ++i)
    if (FLines[i].section(QLatin1Char('='), 0, 0).compare(aName, Qt::CaseInsensitive) == 0)
      return i;
  return -1;
}

QString TPVGisStringList::Value(const QString &aName) const
{
  const qsizetype index = IndexOfName(aName);
  return index < 0 ? QString() : FLines[index].mid(FLines[index].indexOf(QLatin1Char('=')) + 1);
}

void TPVGisStringList::SetValue(const QString &aName, const QString &aValue)
{
  const qsizetype index = IndexOfName(aName);
  const QString line = aName + QLatin1Char('=') + aValue;
  if (index < 0)
    FLines.append(line);
  else
    FLines[index] = line;
}

void TPVGisStringList::Switch(const QString &aName, bool aOn)
{
  const qsizetype index = IndexOfName(aName);
  if (aOn)
    SetValue(aName, QStringLiteral("1"));
  else if (index >= 0)
    FLines.removeAt(index);
}

void TPVGisStringList::SetLatitude(double aValue) { SetValue(QStringLiteral("lat"), PVGisNumber(aValue)); }
void TPVGisStringList::SetLongitude(double aValue) { SetValue(QStringLiteral("lon"), PVGisNumber(aValue)); }
void TPVGisStringList::SetPeakPower(double aValue)
{
  SetValue(QStringLiteral("peakpower"), PVGisNumber(aValue));
}
void TPVGisStringList::SetLoss(double aValue) { SetValue(QStringLiteral("loss"), PVGisNumber(aValue)); }
void TPVGisStringList::SetAngle(int aValue) { SetValue(QStringLiteral("angle"), QString::number(aValue)); }
void TPVGisStringList::SetAspectAngle(int aValue)
{
  SetValue(QStringLiteral("aspect"), QString::number(aValue));
}

void TPVGisStringList::SetMountingPlace(TPVGIS_Mounting aValue)
{
  SetValue(QStringLiteral("mountingplace"),
           aValue == TPVGIS_Mounting::gisFree ? QStringLiteral("free") : QStringLiteral("building"));
}

void TPVGisStringList::SetPVTechChoice(TPVGIS_Techno aValue)
{
  static const QStringList names{QStringLiteral("crystSi"), QStringLiteral("CIS"),
                                 QStringLiteral("CdTe"), QStringLiteral("Unknown")};
  SetValue(QStringLiteral("pvtechchoice"), names[static_cast<int>(aValue)]);
}

void TPVGisStringList::SetPV_DataBase(TPVGIS_Base aValue)
{
  static const QStringList names{QStringLiteral("PVGIS-SARAH"), QStringLiteral("PVGIS-CMSAF"),
                                 QStringLiteral("PVGIS-NSRDB"), QStringLiteral("PVGIS-ERA5"),
                                 QStringLiteral("PVGIS-COSMO")};
  SetValue(QStringLiteral("raddatabase"), names[static_cast<int>(aValue)]);
}

void TPVGisStringList::SetOutputFormatChoice(TPVGIS_Output aValue)
{
  static const QStringList names{QStringLiteral("window"), QStringLiteral("csv"),
                                 QStringLiteral("pdf"), QStringLiteral("basic")};
  SetValue(QStringLiteral("outputformat"), names[static_cast<int>(aValue)]);
  IsCsvFormat = aValue == TPVGIS_Output::gisCSV;
  if (IsCsvFormat)
    SetPlotDataGraph(false);
}

void TPVGisStringList::SetOptimalAngles(bool aValue) { Switch(QStringLiteral("optimalangles"), aValue); }
void TPVGisStringList::SetOptimalInclination(bool aValue)
{
  Switch(QStringLiteral("optimalinclination"), aValue);
}
void TPVGisStringList::SetShowHorizon(bool aValue) { Switch(QStringLiteral("usehorizon"), aValue); }

void TPVGisStringList::SetTwoAxis(bool aValue)
{
  FTwoAxis = aValue;
  Switch(QStringLiteral("twoaxis"), aValue);
}

void TPVGisStringList::SetPlotDataGraph(bool aValue)
{
  // A graph cannot go with a CSV answer.
  Switch(QStringLiteral("plotdatagraph"), aValue && !IsCsvFormat);
}

void TPVGisStringList::SetMR_Average_daytime_temperature(bool aValue)
{
  Switch(QStringLiteral("avdaytemp"), aValue);
}
void TPVGisStringList::SetMR_Daily_average_temperature(bool aValue) { Switch(QStringLiteral("avtemp"), aValue); }
void TPVGisStringList::SetMR_Dif_global_radiation(bool aValue) { Switch(QStringLiteral("d2g"), aValue); }
void TPVGisStringList::SetMR_Horizontal_irradiation(bool aValue) { Switch(QStringLiteral("horirrad"), aValue); }
void TPVGisStringList::SetMR_Irradiation_chosen_angle(bool aValue)
{
  Switch(QStringLiteral("selectrad"), aValue);
}
void TPVGisStringList::SetMR_Irradiation_optimal_angle(bool aValue) { Switch(QStringLiteral("optrad"), aValue); }
void TPVGisStringList::SetMR_Linke_turbidity(bool aValue) { Switch(QStringLiteral("linketurb"), aValue); }
void TPVGisStringList::SetMR_Number_heating_days(bool aValue) { Switch(QStringLiteral("degreedays"), aValue); }
void TPVGisStringList::SetMR_Optimal_inclination_angle(bool aValue) { Switch(QStringLiteral("optincl"), aValue); }
void TPVGisStringList::SetMR_Chosen_angle(int aValue)
{
  SetValue(QStringLiteral("angle"), QString::number(aValue));
}
