#include "SubstituteAnswers.h"

#include <QCryptographicHash>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>

namespace {

// The verbatim PVGIS 5.2 production answer (2000 kWp) that the answers are scaled from.
constexpr double kFixturePeakPower = 2000.0;

QStringList ResourceLines(const QString &aName)
{
  QFile file(QStringLiteral(":/substitute/") + aName);
  if (!file.open(QIODevice::ReadOnly))
    return {};
  return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
}

QByteArray JoinLines(const QStringList &aLines, bool aCrLf)
{
  return aLines.join(aCrLf ? QStringLiteral("\r\n") : QStringLiteral("\n")).toUtf8();
}

QString Value(const QUrlQuery &aQuery, const char *aName)
{
  return aQuery.queryItemValue(QLatin1String(aName), QUrl::FullyDecoded);
}

TAnswer Text(const QByteArray &aBody)
{
  TAnswer answer;
  answer.Body = aBody;
  return answer;
}

TAnswer Xml(const QByteArray &aBody)
{
  TAnswer answer;
  answer.ContentType = "text/xml; charset=utf-8";
  answer.Body = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n" + aBody;
  return answer;
}

TAnswer Refused(int aStatus, const QByteArray &aReason)
{
  TAnswer answer;
  answer.Status = aStatus;
  answer.Reason = aReason;
  answer.Body = aReason;
  return answer;
}

QString Md5(const QString &aText)
{
  return QString::fromLatin1(
      QCryptographicHash::hash(aText.toLatin1(), QCryptographicHash::Md5).toHex());
}

// The fixture's lines with the energy columns scaled to the asked peak power and the
// header lines showing the request's figures.
QStringList ScaledProduction(const QUrlQuery &aQuery)
{
  QStringList lines = ResourceLines(
      QStringLiteral("PVcalc_v52_csv_fixed_optimum_48.172_17.181_SARAH2_2000kWp.csv"));
  const double peakPower = Value(aQuery, "peakpower").toDouble();
  const double scale = peakPower / kFixturePeakPower;
  for (QString &line : lines) {
    const QString name = line.section(QLatin1Char('\t'), 0, 0);
    if (name.startsWith(QLatin1String("Latitude")))
      line = name + QLatin1Char('\t') + Value(aQuery, "lat");
    else if (name.startsWith(QLatin1String("Longitude")))
      line = name + QLatin1Char('\t') + Value(aQuery, "lon");
    else if (name.startsWith(QLatin1String("Nominal power")))
      line = name + QLatin1Char('\t') + QString::number(peakPower, 'f', 1);
    else if (name.startsWith(QLatin1String("System losses")))
      line = name + QLatin1Char('\t') + QString::number(Value(aQuery, "loss").toDouble(), 'f', 1);
    QStringList fields = line.split(QStringLiteral("\t\t"));
    bool monthRow = false;
    fields.value(0).toInt(&monthRow);
    if ((monthRow || fields.value(0) == QLatin1String("Year")) && fields.size() == 6) {
      for (const int energy : {1, 2, 5})
        fields[energy] = QString::number(fields[energy].toDouble() * scale, 'f', 2);
      line = fields.join(QStringLiteral("\t\t"));
    }
  }
  return lines;
}

double Column(const QStringList &aLines, int aColumn, bool aYearRow)
{
  double sum = 0;
  for (const QString &line : aLines) {
    const QStringList fields = line.split(QStringLiteral("\t\t"));
    bool monthRow = false;
    fields.value(0).toInt(&monthRow);
    if (fields.size() == 6 && (aYearRow ? fields[0] == QLatin1String("Year") : monthRow))
      sum += fields[aColumn].toDouble();
  }
  return sum;
}

QByteArray ResultPage(const QUrlQuery &aQuery, const TSubstituteData &aData)
{
  const QStringList lines = ScaledProduction(aQuery);
  const double yearly = Column(lines, 2, false);
  const double irradiation = Column(lines, 4, false);
  const QString cell = QStringLiteral("<td align=\"right\" colspan=2 ><b>%1</b></td>");
  QStringList page{
      QStringLiteral("<html><head><meta charset=\"utf-8\"><title>PVGIS</title></head><body>"),
      QStringLiteral("<p>Latitude: %1, Longitude: %2</p>").arg(Value(aQuery, "lat"), Value(aQuery, "lon")),
      QStringLiteral("<p>Élévation: %1 m</p>").arg(aData.Elevation),
      QStringLiteral("<table>"),
      QStringLiteral("<tr><td>Production annuelle (kWh)</td>") + cell.arg(yearly, 0, 'f', 1) +
          QStringLiteral("</tr>"),
      QStringLiteral("<tr><td>Irradiation annuelle (kWh/m2)</td>") + cell.arg(irradiation, 0, 'f', 1) +
          QStringLiteral("</tr>"),
      QStringLiteral("<tr><td>Pertes totales (%)</td>") + cell.arg(QStringLiteral("-20.69")) +
          QStringLiteral("</tr>"),
      QStringLiteral("</table></body></html>")};
  return page.join(QLatin1Char('\n')).toUtf8();
}

}  // namespace

TAnswer PVCalcAnswer(const QUrlQuery &aQuery, const TSubstituteData &aData)
{
  const QString format = Value(aQuery, "outputformat");
  if (format == QLatin1String("csv") || format == QLatin1String("basic"))
    return Text(JoinLines(ScaledProduction(aQuery), aData.CrLf));
  TAnswer answer = Text(ResultPage(aQuery, aData));
  answer.ContentType = "text/html; charset=utf-8";
  return answer;
}

TAnswer MRCalcAnswer(const QUrlQuery &aQuery, const TSubstituteData &aData)
{
  static const QStringList months{
      QStringLiteral("Jan"), QStringLiteral("Feb"), QStringLiteral("Mar"), QStringLiteral("Apr"),
      QStringLiteral("May"), QStringLiteral("Jun"), QStringLiteral("Jul"), QStringLiteral("Aug"),
      QStringLiteral("Sep"), QStringLiteral("Oct"), QStringLiteral("Nov"), QStringLiteral("Dec")};
  QStringList lines{QStringLiteral("Latitude (decimal degrees):\t") + Value(aQuery, "lat"),
                    QStringLiteral("Longitude (decimal degrees):\t") + Value(aQuery, "lon"),
                    QStringLiteral("Radiation database:\tPVGIS-SARAH2"), QString(),
                    QStringLiteral("year\t\tmonth\t\tT2m")};
  int year = 2005;
  for (const std::array<double, 12> &temperatures : aData.MonthlyTemperatures) {
    for (int m = 0; m < 12; ++m)
      lines << QStringLiteral("%1\t\t%2\t\t%3").arg(year).arg(months[m]).arg(temperatures[m], 0, 'f', 2);
    ++year;
  }
  lines << QString() << QStringLiteral("T2m: 24-hour average of temperature (degree Celsius)")
        << QString() << QStringLiteral("PVGIS (c) European Union, 2001-2024");
  return Text(JoinLines(lines, aData.CrLf));
}

TAnswer HorizonAnswer(const QUrlQuery &aQuery, const TSubstituteData &aData)
{
  QFile file(QStringLiteral(":/substitute/printhorizon_v53_json_prettyprinted_45_8.json"));
  if (!file.open(QIODevice::ReadOnly))
    return Refused(500, "Internal Server Error");
  const QJsonArray profile =
      QJsonDocument::fromJson(file.readAll()).object()[QLatin1String("outputs")].toObject()
          [QLatin1String("horizon_profile")].toArray();
  QStringList lines{QStringLiteral("Latitude (decimal degrees):\t") + Value(aQuery, "lat"),
                    QStringLiteral("Longitude (decimal degrees):\t") + Value(aQuery, "lon"), QString(),
                    QStringLiteral("A\t\tH_hor")};
  for (const QJsonValue &point : profile)
    lines << QStringLiteral("%1\t\t%2")
                 .arg(point[QLatin1String("A")].toDouble(), 0, 'f', 1)
                 .arg(point[QLatin1String("H_hor")].toDouble(), 0, 'f', 1);
  lines << QString() << QStringLiteral("PVGIS (c) European Union, 2001-2024");
  return Text(JoinLines(lines, aData.CrLf));
}

TAnswer GeocodeAnswer(const QString &aPath, const QUrlQuery &aQuery, const TSubstituteData &aData)
{
  if (aQuery.hasQueryItem(QStringLiteral("locate"))) {
    const QString locate = Value(aQuery, "locate");
    for (const TPlace &place : aData.Places)
      if (place.Locate.compare(locate, Qt::CaseInsensitive) == 0)
        return Xml(QStringLiteral("<geodata><latt>%1</latt><longt>%2</longt><standard><city>%3</city>"
                                  "<confidence>0.9</confidence></standard></geodata>")
                       .arg(place.Latt, 0, 'f', 5)
                       .arg(place.Longt, 0, 'f', 5)
                       .arg(place.City)
                       .toUtf8());
    return Xml("<geodata><error><description>Your request did not produce any results."
               "</description><code>008</code></error></geodata>");
  }
  // Reverse query: "/<lat>,<lon>".
  const QStringList position = aPath.mid(1).split(QLatin1Char(','));
  const double latt = position.value(0).toDouble();
  const double longt = position.value(1).toDouble();
  const TPlace *nearest = nullptr;
  double best = 1e9;
  for (const TPlace &place : aData.Places) {
    const double d = (place.Latt - latt) * (place.Latt - latt) + (place.Longt - longt) * (place.Longt - longt);
    if (d < best) {
      best = d;
      nearest = &place;
    }
  }
  if (nearest == nullptr || position.size() != 2)
    return Refused(400, "BAD REQUEST");
  return Xml(QStringLiteral("<geodata><latt>%1</latt><longt>%2</longt><city>%3</city>"
                            "<elevation>%4</elevation></geodata>")
                 .arg(latt, 0, 'f', 6)
                 .arg(longt, 0, 'f', 6)
                 .arg(nearest->City)
                 .arg(nearest->Elevation)
                 .toUtf8());
}

TAnswer BDPVMemberAnswer(const QUrlQuery &aQuery, const TSubstituteData &aData)
{
  const QString pseudo = Value(aQuery, "util");
  const QString expected = Md5(QLatin1String(kBDPVSecret) + QStringLiteral("api_demandeurxt57util") + pseudo);
  if (Value(aQuery, "api_sig") != expected || Value(aQuery, "api_demandeur") != QLatin1String("xt57"))
    return Refused(403, "Forbidden");
  if (!aData.BDPVMembers.contains(pseudo))
    return Xml("<util><pseudo>" + pseudo.toHtmlEscaped().toUtf8() + "</pseudo></util>");
  return Xml(QStringLiteral("<util><id>%1</id><pseudo>%2</pseudo></util>")
                 .arg(aData.BDPVMembers.value(pseudo))
                 .arg(pseudo.toHtmlEscaped())
                 .toUtf8());
}

TAnswer BDPVProductionAnswer(const QUrlQuery &aQuery, const TSubstituteData &aData)
{
  const QString id = Value(aQuery, "id_util");
  const QString expected = Md5(QLatin1String(kBDPVSecret) + QStringLiteral("annee") + Value(aQuery, "annee") +
                               QStringLiteral("api_demandeurxt57id_util") + id);
  if (Value(aQuery, "api_sig") != expected || Value(aQuery, "annee") != QLatin1String("tout"))
    return Refused(403, "Forbidden");
  QByteArray body = "<production>";
  const QMap<int, TBDPVYear> years = aData.BDPVProduction.value(id.toInt());
  for (auto year = years.cbegin(); year != years.cend(); ++year) {
    body += "<annee valeur=\"" + QByteArray::number(year.key()) + "\">";
    for (int m = 0; m < 12; ++m) {
      const TBDPVMonth &month = year.value()[static_cast<std::size_t>(m)];
      body += "<mois num=\"" + QByteArray::number(m + 1) + "\"><estimee>" + QByteArray::number(month.First) +
              "</estimee><reelle>" + QByteArray::number(month.Second) + "</reelle></mois>";
    }
    body += "</annee>";
  }
  return Xml(body + "</production>");
}
