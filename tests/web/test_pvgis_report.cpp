// The French report made from a PVGIS production answer.

#include "support/QtPrinters.h"
#include "web/PVGisReport.h"

#include <QFile>

#include <gtest/gtest.h>

namespace {

const QString kCrLf = QStringLiteral("\r\n");

// A production answer (lines joined by CR LF) with the given fixed-system E_m values,
// and two-axis columns when aTwoAxis.
QString Answer(const QStringList &aFixedEm, bool aTwoAxis, bool aYear, bool aLosses, const QString &aTwoAxisEm = {})
{
  QStringList lines{QStringLiteral("Latitude (decimal degrees):\t45"), QStringLiteral("Radiation database:\tPVGIS-SARAH"),
                    QStringLiteral("Nominal power of the PV system (c-Si) (kWp):\t3.0"), QString()};
  const QString block = QStringLiteral("\t\tE_d\t\tE_m\t\tH(i)_d\t\tH(i)_m\t\tSD_m");
  lines << (aTwoAxis ? QStringLiteral("Fixed angle\t\t\t\t\tTwo-axis system") : QStringLiteral("Fixed angle"));
  lines << QStringLiteral("Month") + block + (aTwoAxis ? block : QString());
  for (int m = 0; m < aFixedEm.size(); ++m) {
    QString line = QStringLiteral("%1\t\t10.5\t\t%2\t\t1.5\t\t30.25\t\t5.5").arg(m + 1).arg(aFixedEm[m]);
    if (aTwoAxis)
      line += QStringLiteral("\t\t12.5\t\t%1\t\t2.5\t\t40.5\t\t6.5").arg(aTwoAxisEm);
    lines << line;
  }
  if (aYear)
    lines << QStringLiteral("Year\t\t10.5\t\t360.13\t\t1.5\t\t30.25\t\t5.5") +
                 (aTwoAxis ? QStringLiteral("\t\t12.5\t\t400.0\t\t2.5\t\t40.5\t\t6.5") : QString());
  lines << QStringLiteral("\t\tAOI loss (%)\t\tSpectral effects (%)\t\tTemperature and low irradiance loss (%)\t\tCombined loss (%)");
  if (aLosses) {
    lines << QStringLiteral("Fixed angle:\t\t-2.81\t\t1.41\t\t-6.43\t\t-20.69");
    if (aTwoAxis)
      lines << QStringLiteral("Two-axis system:\t\t-1.5\t\t1.2\t\t-7.1\t\t-19.9");
  }
  lines << QStringLiteral("E_m: Average monthly energy production from the given system (kWh/mo)");
  return lines.join(kCrLf);
}

QStringList Twelve(const QString &aValue) { return QStringList(12, aValue); }

}  // namespace

TEST(PVGisReport, TotalIsTheRoundedSumOfTheMonths)
{
  QStringList months = Twelve(QStringLiteral("360"));
  months[11] = QStringLiteral("361.6");  // 11 × 360 + 361.6 = 4321.6
  QString html = Answer(months, false, true, true);
  int production = 0;
  BuildReport(html, production, false);
  EXPECT_EQ(production, 4322);
  EXPECT_TRUE(html.contains(QStringLiteral("<tr><td style=\"text-align: left;\">Total</td><td>&nbsp;</td><td>4322</td>"
                                           "<td>&nbsp;</td><td>363</td><td>66</td></tr></table>\r\n")))
      << html.toStdString();
  EXPECT_TRUE(html.contains(QStringLiteral("<tr><td style=\"text-align: left;\">Déc.</td> <td>10.5</td> <td>361.6</td> "
                                           "<td>1.5</td> <td>30.25</td> <td>5.5</td></tr>")));
  EXPECT_TRUE(html.contains(QStringLiteral("<tr><td style=\"text-align: left;\">Année</td> <td>10.5</td> <td>360.13</td>")));
  EXPECT_TRUE(html.startsWith(QStringLiteral("<!DOCTYPE html>\r\n<html>\r\n<head>\r\n<style>\r\n")));
  EXPECT_TRUE(html.endsWith(QStringLiteral("</body>\r\n</html>")));
}

TEST(PVGisReport, TwoAxisProductionNeedsTheYearLine)
{
  struct Case {
    bool year;
    int production;
  };
  for (const Case c : {Case{true, 12 * 410}, Case{false, 12 * 300}}) {
    QString html = Answer(Twelve(QStringLiteral("300")), true, c.year, true, QStringLiteral("410"));
    int production = 0;
    BuildReport(html, production, true);
    EXPECT_EQ(production, c.production) << c.year;
    EXPECT_TRUE(html.contains(QStringLiteral("<th colspan=\"5\">Trackeur 2D</th>")));
    EXPECT_TRUE(html.contains(QStringLiteral("<tr><td style=\"text-align: left;\">Pertes totales (%)</td><td>-20.69</td>"
                                             "<td>-19.9</td></tr>")));
    EXPECT_EQ(html.contains(QStringLiteral("</tr></table>")), c.year);
  }
}

TEST(PVGisReport, LossTableWithAndWithoutLossLines)
{
  struct Case {
    bool losses;
    QString totalRow;
  };
  const Case cases[] = {
      {true, QStringLiteral("<tr><td style=\"text-align: left;\">Perte Angle d'incidence (%)</td><td>-2.81</td></tr>")},
      {false, QStringLiteral("<tr><td style=\"text-align: left;\">Perte Angle d'incidence (%)</td><td></td></tr>")},
  };
  for (const Case &c : cases) {
    QString html = Answer(Twelve(QStringLiteral("1")), false, true, c.losses);
    int production = 0;
    BuildReport(html, production, false);
    EXPECT_TRUE(html.contains(c.totalRow)) << html.toStdString();
    EXPECT_FALSE(html.contains(QStringLiteral("Fixed angle:")));
  }
}

TEST(PVGisReport, CapturedAnswerGetsFrenchLabels)
{
  QFile file(QStringLiteral(QUELTA_TEST_FIXTURES "/pvgis/PVcalc_v52_csv_fixed_optimum_48.172_17.181_SARAH2_2000kWp.csv"));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  QString html = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n')).join(kCrLf);
  int production = 0;
  BuildReport(html, production, false);
  EXPECT_EQ(production, 2405686);  // the twelve E_m figures of the capture
  for (const char *french : {"Latitude (degré décimal):", "Base de données de radiation solaire employée :",
                             "Puissance nominale du système PV", "Pertes du système (%) :",
                             "Inclinaison fixe des modules (deg.) (optimum) :",
                             "Production d'electricité mensuelle moyenne pour le système défini",
                             "<td style=\"text-align: left;\">Janv.</td> <td>2988.01</td> <td>92628.28</td>",
                             "<td style=\"text-align: left;\">Effets spectraux (%)</td><td>1.41</td>"})
    EXPECT_TRUE(html.contains(QString::fromUtf8(french))) << french;
  EXPECT_FALSE(html.contains(QStringLiteral("decimal degrees")));
}
