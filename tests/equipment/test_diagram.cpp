// The inverter diagram and the operating-point diagram.

#include "WorkedExamples.h"
#include "equipment/FloatChecks.h"

#include <QDir>
#include <QFontMetrics>
#include <QImage>
#include <QPicture>

#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr int Width = 683;
constexpr int Height = 136;
const QColor Yellow(255, 255, 0), Magenta(255, 0, 255), Black(0, 0, 0), Red(255, 0, 0),
    Green(0, 255, 0);

struct Rendering {
  const char *name;
  int trackers;
  double uNominale;
  TStringConfiguration strings;
};

// Where the diagram puts its rows and voltages for one rendering.
struct Layout {
  int top, band, currentRow, w;
  double sv;
  int X(double volts) const { return static_cast<int>(std::lround(volts * sv)); }
};

class Diagram : public ::testing::TestWithParam<Rendering> {
protected:
  void SetUp() override
  {
    TOnduleurData o = WorkedOnduleurData();
    o.Nb_MPPT = GetParam().trackers;
    o.UNominale = GetParam().uNominale;
    onduleur.SetOnduleur(o);
    FitWorkedModule(onduleur.Module());
    onduleur.SetStringConfiguration(GetParam().strings);
    onduleur.DrawOnduleur(Width, Height, 1000, image);

    const int lh = QFontMetrics(onduleur.Font(), &image).height() + 1;
    layout.top = lh + 1;
    layout.band = Height - 4 * lh - 17;
    layout.currentRow = 2 * lh + layout.band + 6;
    layout.w = Width - 12;
    const double uocCold = onduleur.Module().GetUoc(GetParam().strings, 1000, -10);
    layout.sv = layout.w / std::max(500.0, uocCold);
  }
  QColor At(int x, int y) const { return image.pixelColor(x, y); }
  // Pure red pixels of a row inside the voltage band.
  int RedPixelsInBand(int y) const
  {
    int count = 0;
    for (int x = 1; x < layout.w - 1; ++x)
      count += At(x, y) == Red;
    return count;
  }

  TOnduleur onduleur;
  QImage image;
  Layout layout;
};

}  // namespace

TEST_P(Diagram, VoltageBandCurrentLineAndNominalVoltage)
{
  const Rendering &r = GetParam();
  const Layout &l = layout;
  ASSERT_EQ(image.size(), QSize(Width, Height));
  const int row = l.top + 2;  // inside the band, above the temperature bars
  EXPECT_EQ(At(l.X(125) + 2, row), Yellow);
  EXPECT_EQ(At(l.X(440) - 2, row), Yellow);
  EXPECT_EQ(At((l.X(440) + l.X(500)) / 2, row), Magenta);
  EXPECT_EQ(At(l.X(125) - 3, row), QColor(Qt::white));
  // The black band lies beyond the inverter's maximum voltage, when the array exceeds it.
  const bool overVoltage = l.X(500) < l.w - 2;
  EXPECT_EQ(At(l.w - 3, row), overVoltage ? Black : Magenta);
  EXPECT_EQ(At(0, row), Black);  // outline

  // Reddish pixels of the label row above the band: the nominal voltage's label.
  int redLabel = 0;
  for (int y = 0; y < l.top; ++y)
    for (int x = 0; x < Width; ++x) {
      const QColor c = At(x, y);
      redLabel += c.red() > 150 && c.green() < 100 && c.blue() < 100;
    }
  if (r.uNominale != 0) {
    EXPECT_EQ(At(l.X(r.uNominale), row), Red);
    EXPECT_EQ(RedPixelsInBand(row), 1);
    EXPECT_GT(redLabel, 0);
  } else {
    EXPECT_EQ(RedPixelsInBand(row), 0);
    EXPECT_EQ(redLabel, 0);
  }
  // The current line is green at twice the current with two trackers, else yellow.
  const QColor currentColour = r.trackers >= 2 ? Green : Yellow;
  EXPECT_EQ(At(100, l.currentRow - 2), currentColour);
  EXPECT_EQ(At(400, l.currentRow - 2), currentColour);
}

INSTANTIATE_TEST_SUITE_P(
    WorkedInverter, Diagram,
    ::testing::Values(Rendering{"two_strings_of_seven", 1, 0, {7, 7}},
                      Rendering{"thirteen_in_series_two_trackers", 2, 300, {13}}),
    [](const ::testing::TestParamInfo<Rendering> &info) { return std::string(info.param.name); });

TEST(DiagramArtefact, WorkedRenderingIsSavedAsPng)
{
  TOnduleur onduleur;
  onduleur.SetOnduleur(WorkedOnduleurData());
  FitWorkedModule(onduleur.Module());
  onduleur.SetStringConfiguration(2, 7);
  QImage image;
  onduleur.DrawOnduleur(Width, Height, 1000, image);
  const QString path = QDir(QStringLiteral(QUELTA_TEST_ARTEFACTS)).filePath(QStringLiteral("onduleur_diagram.png"));
  ASSERT_TRUE(image.save(path, "PNG"));
  EXPECT_EQ(QImage(path).size(), QSize(Width, Height));

  QPicture picture;
  onduleur.DrawOnduleur(Width, Height, 1000, picture);
  EXPECT_EQ(picture.boundingRect(), QRect(0, 0, Width, Height));
  EXPECT_GT(picture.size(), 0u);
}

TEST(DiagramFailure, BitmapKeepsWhatWasDrawnAndPictureRaises)
{
  TOnduleur onduleur;
  onduleur.SetOnduleur(WorkedOnduleurData());
  onduleur.Module().SetData(WorkedModuleData());  // not fitted
  onduleur.SetStringConfiguration(1, 7);
  QImage image;
  EXPECT_NO_THROW(onduleur.DrawOnduleur(Width, Height, 1000, image));
  EXPECT_EQ(image.size(), QSize(Width, Height));
  EXPECT_EQ(image.pixelColor(Width / 2, Height / 2), QColor(Qt::white));
  QPicture picture;
  EXPECT_THROW(onduleur.DrawOnduleur(Width, Height, 1000, picture), EMathError);
}

TEST(OperatingPointDiagram, NominalLineStartsGreenAtTheFullIrradiancePoint)
{
  TOnduleur onduleur;
  TOnduleurData o = WorkedOnduleurData();
  o.PNominal_DC = 3;
  onduleur.SetOnduleur(o);
  FitWorkedModule(onduleur.Module());
  onduleur.SetStringConfiguration(2, 7);
  QImage image(400, 300, QImage::Format_RGB32);
  image.fill(Qt::white);
  const TRectSides zone{20, 20, 380, 280};
  const TRectSides value{0, 300, 120, 100};  // x: % of nominal DC power, y: volts
  onduleur.DrawOnduleurPI(zone, value, 1000, image);

  const double p = onduleur.Module().GetPmpp({7, 7}, 1000, 25);
  const double u = onduleur.Module().GetUmpp({7, 7}, 1000, 25);
  const QPoint full(static_cast<int>(std::lround(20 + p / 10 / 3 * 360 / 120)),
                    static_cast<int>(std::lround(280 - (u - 100) * 260 / 200)));
  EXPECT_EQ(image.pixelColor(full), Green);
  int drawn = 0;
  for (int y = 0; y < 300; ++y)
    for (int x = 0; x < 400; ++x)
      drawn += image.pixelColor(x, y) != QColor(Qt::white);
  EXPECT_GT(drawn, 100);
}
