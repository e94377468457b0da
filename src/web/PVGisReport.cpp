#include "web/PVGisReport.h"

#include "platform/DelphiFormat.h"
#include "platform/Numbers.h"
#include "platform/UserDialogs.h"
#include "web/dmPVGis.h"

#include <QFile>
#include <QRegularExpression>
#include <QStringList>

#include <array>

namespace {

const QString kCrLf = QStringLiteral("\r\n");
const QString kLeftCell = QStringLiteral("<tr><td style=\"text-align: left;\">");

const QStringList kMonthLabels{QStringLiteral("Janv."), QStringLiteral("Fév."),  QStringLiteral("Mars"),
                               QStringLiteral("Avril"), QStringLiteral("Mai"),   QStringLiteral("Juin"),
                               QStringLiteral("Juil."), QStringLiteral("Août"),  QStringLiteral("Sept."),
                               QStringLiteral("Oct."),  QStringLiteral("Nov."),  QStringLiteral("Déc.")};

const std::array<std::pair<const char *, const char *>, 12> kFrenchLabels{{
    {"Radiation database:", "Base de données de radiation solaire employée :"},
    {"Nominal power of the PV system", "Puissance nominale du système PV"},
    {"System losses(%):", "Pertes du système (%) :"},
    {"Fixed slope of modules (deg.):", "Inclinaison fixe des modules (deg.) :"},
    {"Orientation (azimuth) of modules:", "Orientation (azimuth) des modules :"},
    {"Average daily energy production from the given system",
     "Production d'electricité journalière moyenne pour le système défini"},
    {"Average monthly energy production from the given system",
     "Production d'electricité mensuelle moyenne pour le système défini"},
    {"Average daily sum of global irradiation per square meter received by the modules of the given system",
     "Moyenne journalière de la somme de l'irradiation globale par mètre carré reçue par les modules du système "
     "défini"},
    {"Average monthly sum of global irradiation per square meter received by the modules of the given system",
     "Somme moyenne de l'irradiation globale par mètre carré reçue par les modules du système défini"},
    {"Standard deviation of the monthly energy production due to year-to-year variation",
     "Déviation standard de la production d'énergie due à la variabilité interannuelle"},
    {"Fixed slope of modules (deg.) (optimum):", "Inclinaison fixe des modules (deg.) (optimum) :"},
    {"Orientation (azimuth) of modules (optimum):", "Orientation (azimuth) des modules (optimum) :"},
}};

void ReplaceFirst(QString &aText, const QString &aOld, const QString &aNew)
{
  const qsizetype at = aText.indexOf(aOld);
  if (at >= 0)
    aText.replace(at, aOld.size(), aNew);
}

QRegularExpression Expression(const QString &aPattern)
{
  return QRegularExpression(aPattern, QRegularExpression::CaseInsensitiveOption);
}

// aHead followed by n number groups separated by blanks, then "<br>".
QString NumberLine(const QString &aHead, int n, const QString &aNumber)
{
  QString pattern = aHead + QStringLiteral("\\s+(") + aNumber + QLatin1Char(')');
  for (int i = 1; i < n; ++i)
    pattern += QStringLiteral("\\s+(") + aNumber + QLatin1Char(')');
  return pattern + QStringLiteral("<br>");
}

double Number(const QString &aText)
{
  bool ok = false;
  const double value = aText.toDouble(&ok);
  return ok ? value : 0.0;
}

QString Cells(const QRegularExpressionMatch &aMatch, int n)
{
  QString row;
  for (int i = 1; i <= n; ++i)
    row = FormatArgs(QStringLiteral("%s <td>%s</td>"), row, aMatch.captured(i));
  return row;
}

QString TableHead(QString html, bool aTwoAxis)
{
  if (aTwoAxis) {
    ReplaceFirst(html, QStringLiteral("Fixed angle\t\t\t\t\tTwo-axis system<br>"),
                 QStringLiteral("<table>\r\n<tr><th>&nbsp;</th> <th colspan=\"5\">Inclinaison fixée</th> "
                                "<th colspan=\"5\">Trackeur 2D</th></tr>"));
    ReplaceFirst(html,
                 QStringLiteral("Month\t\tE_d\t\tE_m\t\tH(i)_d\t\tH(i)_m\t\tSD_m\t\tE_d\t\tE_m\t\tH(i)_d\t\tH(i)_m\t\tSD_m<br>"),
                 QStringLiteral("<tr><th>Mois</th> <th>E_d</th> <th>E_m</th> <th>H(i)_d</th> <th>H(i)_m</th> "
                                "<th>SD_m</th> <th>E_d</th> <th>E_m</th> <th>H(i)_d</th> <th>H(i)_m</th> "
                                "<th>SD_m</th></tr>"));
  } else {
    ReplaceFirst(html, QStringLiteral("Fixed angle<br>"),
                 QStringLiteral("<table>\r\n<tr><th>&nbsp;</th> <th colspan=\"5\">Inclinaison fixée</th></tr>"));
    ReplaceFirst(html, QStringLiteral("Month\t\tE_d\t\tE_m\t\tH(i)_d\t\tH(i)_m\t\tSD_m<br>"),
                 QStringLiteral("<tr><th>Mois</th> <th>E_d</th> <th>E_m</th> <th>H(i)_d</th> <th>H(i)_m</th> "
                                "<th>SD_m</th></tr>"));
  }
  return html;
}

struct TLosses {
  QStringList Fixed{QString(), QString(), QString(), QString()};
  QStringList TwoAxis{QString(), QString(), QString(), QString()};
};

// Notes the four figures of a loss line and removes the line.
void TakeLosses(QString &html, const QString &aHead, QStringList &aFigures)
{
  const QRegularExpressionMatch match =
      Expression(NumberLine(aHead, 4, QStringLiteral("[-\\d\\.]+"))).match(html);
  if (!match.hasMatch())
    return;
  for (int i = 0; i < 4; ++i)
    aFigures[i] = match.captured(i + 1);
  ReplaceFirst(html, match.captured(0), QString());
}

QString LossTable(const TLosses &aLosses, bool aTwoAxis)
{
  static const QStringList labels{QStringLiteral("&nbsp;"), QStringLiteral("Perte Angle d'incidence (%)"),
                                  QStringLiteral("Effets spectraux (%)"),
                                  QStringLiteral("Perte température et irradiance faible (%)"),
                                  QStringLiteral("Pertes totales (%)")};
  QString table = QStringLiteral("<br><table>\r\n");
  for (int row = 0; row < 5; ++row) {
    table += kLeftCell + labels[row] + QStringLiteral("</td><td>") +
             (row == 0 ? QStringLiteral("Inclinaison fixée") : aLosses.Fixed[row - 1]) + QStringLiteral("</td>");
    if (aTwoAxis)
      table += QStringLiteral("<td>") + (row == 0 ? QStringLiteral("Trackeur 2D") : aLosses.TwoAxis[row - 1]) +
               QStringLiteral("</td>");
    table += QStringLiteral("</tr>\r\n");
  }
  return table + QStringLiteral("</table>\r\n");
}

}  // namespace

void BuildReport(QString &html, int &Production, bool aTwoAxis)
{
  const int n = aTwoAxis ? 10 : 5;
  QString body = html;
  body.replace(kCrLf, QStringLiteral("<br>\r\n"));
  body = QStringLiteral("<!DOCTYPE html>\r\n") + QStringLiteral("<html>\r\n<head>\r\n<style>\r\n") +
         QStringLiteral("  table, th, td {border: 1px solid black;}\r\n") +
         QStringLiteral("  td {text-align: right;}\r\n") + QStringLiteral("  th {text-align: center;}\r\n") +
         QStringLiteral("  table {width: 80%;}\r\n") + QStringLiteral("</style>\r\n</head>\r\n<body>\r\n") + body;
  body = TableHead(body, aTwoAxis);

  // Month rows: matched in the text as it stands before any of them is replaced.
  std::array<double, 6> sums{};
  const QString monthsBefore = body;
  QRegularExpressionMatchIterator months =
      Expression(NumberLine(QStringLiteral("\\d+"), n, QStringLiteral("[\\d\\.]+"))).globalMatch(monthsBefore);
  for (int k = 1; months.hasNext(); ++k) {
    const QRegularExpressionMatch match = months.next();
    const QString label = k <= kMonthLabels.size() ? kMonthLabels[k - 1] : QString::number(k);
    const QString row = FormatArgs(kLeftCell + QStringLiteral("%s</td>"), label) + Cells(match, n) +
                        QStringLiteral("</tr>");
    const std::array<int, 6> columns{2, 4, 5, 7, 9, 10};
    for (std::size_t s = 0; s < (aTwoAxis ? 6u : 3u); ++s)
      sums[s] += Number(match.captured(columns[s]));
    ReplaceFirst(body, match.captured(0), row);
  }
  Production = RoundToInt(sums[0]);

  const QRegularExpressionMatch year =
      Expression(NumberLine(QStringLiteral("Year"), n, QStringLiteral("[\\d\\.]+"))).match(body);
  if (year.hasMatch()) {
    QString row = kLeftCell + QStringLiteral("Année</td>") + Cells(year, n) + QStringLiteral("</tr>\r\n");
    row += kLeftCell + QStringLiteral("Total</td><td>&nbsp;</td>") + FormatArgs(QStringLiteral("<td>%d</td>"), Production) +
           FormatArgs(QStringLiteral("<td>&nbsp;</td><td>%.0f</td><td>%.0f</td>"), sums[1], sums[2]);
    if (aTwoAxis) {
      Production = RoundToInt(sums[3]);
      row += QStringLiteral("<td>&nbsp;</td>") + FormatArgs(QStringLiteral("<td>%d</td>"), Production) +
             FormatArgs(QStringLiteral("<td>&nbsp;</td><td>%.0f</td><td>%.0f</td>"), sums[4], sums[5]);
    }
    row += QStringLiteral("</tr></table>\r\n");
    ReplaceFirst(body, year.captured(0), row);
  }

  TLosses losses;
  TakeLosses(body, QStringLiteral("Fixed angle:"), losses.Fixed);
  if (aTwoAxis)
    TakeLosses(body, QStringLiteral("Two-axis system:"), losses.TwoAxis);
  ReplaceFirst(body,
               QStringLiteral("\t\tAOI loss (%)\t\tSpectral effects (%)\t\tTemperature and low irradiance loss (%)"
                              "\t\tCombined loss (%)<br>"),
               LossTable(losses, aTwoAxis));
  body += QStringLiteral("</body>\r\n</html>");

  body.replace(QStringLiteral("decimal degrees"), QStringLiteral("degré décimal"));
  for (const auto &[english, french] : kFrenchLabels)
    ReplaceFirst(body, QString::fromUtf8(english), QString::fromUtf8(french));
  html = body;
}

bool TdtmPVGis::DoRequest(int &Production, QString &html)
{
  if (!DoRequest(TPVGIS_Computation::gisPVCalc)) {
    UserDialogs().ShowMessage(BadRequest() ? QStringLiteral("Localisation dans la mer !")
                                           : QStringLiteral("La requête a échouée"));
    return false;
  }
  html = ResponseString().join(kCrLf);
  BuildReport(html, Production, PVGisList().TwoAxis());
  FResponseString = html.split(kCrLf);
  QFile file(DataPath() + QStringLiteral("pvgis.htm"));
  if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
    file.write((FResponseString.join(kCrLf) + kCrLf).toUtf8());
  return true;
}
