// The inverter diagram: the inverter's voltage, current and power windows against what
// the array delivers at the design temperatures; and the operating-point diagram.

#include "equipment/FloatChecks.h"
#include "equipment/unOnduleur.h"
#include "platform/DelphiFormat.h"
#include "platform/Numbers.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QPicture>

#include <algorithm>
#include <exception>

namespace {

const QColor Yellow(255, 255, 0);
const QColor Magenta(255, 0, 255);
const QColor Blue(0, 0, 255);
const QColor Red(255, 0, 0);
const QColor Green(0, 255, 0);
const QColor Black(0, 0, 0);
const QColor White(255, 255, 255);

QPen Pen(const QColor &colour, int width)
{
  return QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

// Text whose top-left corner is at (x, y).
void TextOut(QPainter &canvas, int x, int y, const QString &text, const QColor &colour)
{
  canvas.setPen(colour);
  canvas.drawText(QPoint(x, y + canvas.fontMetrics().ascent()), text);
}

// Text centred on x; a text at x = 0 starts at x = 2.
void CentredText(QPainter &canvas, int x, int y, const QString &text, const QColor &colour)
{
  const int left = x == 0 ? 2 : x - canvas.fontMetrics().horizontalAdvance(text) / 2;
  TextOut(canvas, left, y, text, colour);
}

QString Volts(double value)
{
  return QString::number(RoundHalfEven(value));
}

QString TwoDecimals(double value)
{
  return FormatArgs(QStringLiteral("%.2f"), value);
}

void HorizontalLine(QPainter &canvas, int x1, int x2, int y, const QColor &colour, int width)
{
  canvas.setPen(Pen(colour, width));
  canvas.drawLine(x1, y, x2, y);
}

}  // namespace

void TOnduleur::SetTrackBase(int aBase)
{
  FTrackR = aBase;
  FTrackG = aBase;
  FTrackB = 255;
  DTrackR = 255 - aBase;
  DTrackG = 0;
  DTrackB = aBase - 255;
}

QColor TOnduleur::TrackColor(int k) const
{
  const int n = RoundToInt(k * 255.0 / 9);
  const auto component = [n](int start, int increment) {
    return std::clamp(start + RoundToInt(n * static_cast<double>(increment) / 255), 0, 255);
  };
  return QColor(component(FTrackR, DTrackR), component(FTrackG, DTrackG),
                component(FTrackB, DTrackB));
}

void TOnduleur::GradientSegment(QPainter &aCanvas, QPointF aFrom, QPointF aTo, int aBase)
{
  SetTrackBase(aBase);
  const int width = aCanvas.pen().width();
  QPoint previous(RoundToInt(aFrom.x()), RoundToInt(aFrom.y()));
  for (int i = 1; i <= 10; ++i) {
    const QPointF along = aFrom + i * (aTo - aFrom) / 10;
    const QPoint next(RoundToInt(along.x()), RoundToInt(along.y()));
    aCanvas.setPen(Pen(TrackColor(i - 1), width));
    aCanvas.drawLine(previous, next);
    previous = next;
  }
}

void TOnduleur::PaintOnduleur(QPainter &aCanvas, int aWidth, int aHeight, int aIrradiation)
{
  TModule &m = *FModule;
  const TStringConfiguration &cfg = FString;
  const TOnduleurData &o = FOnduleur;
  const TTemperature &t = FTemperature;
  const double g = aIrradiation;
  const int w = aWidth - 12;

  aCanvas.fillRect(0, 0, aWidth, aHeight, White);
  aCanvas.setFont(FFont);
  const int lh = aCanvas.fontMetrics().height() + 1;

  // 1. Values.
  const double ustc = m.GetUmpp(cfg, 1000, 25);
  const double uocMin = m.GetUoc(cfg, g, t.Min);
  const double sv = w / std::max(o.UMax, uocMin);
  const auto xv = [sv](double volts) { return RoundToInt(volts * sv); };
  const double uocMax = m.GetUoc(cfg, g, t.Max);
  const double uocMin100 = m.GetUoc(cfg, 100, t.Min);
  const double uocMax100 = m.GetUoc(cfg, 100, t.Max);
  const double umppMinMpp = m.GetUmpp(cfg, g, t.MinMPP);
  const double umppMax = m.GetUmpp(cfg, g, t.Max);
  const double umppMinMpp100 = m.GetUmpp(cfg, 100, t.MinMPP);
  const double umppMax100 = m.GetUmpp(cfg, 100, t.Max);
  const double icc = m.GetIsc(cfg, g, t.Fonc);
  const double imax = o.Nb_MPPT > 1 ? o.IMax * o.Nb_MPPT : o.IMax;
  const double pinst = m.GetPmpp(cfg, g, 25) / 1000;

  // 3. Voltage band.
  const int top = lh + 1;
  const int b = aHeight - 4 * lh - 17;
  aCanvas.setPen(Pen(Black, 1));
  aCanvas.setBrush(Qt::NoBrush);
  aCanvas.drawRect(0, top, w - 1, b - 1);
  const auto band = [&](int x1, int x2, const QColor &colour) {
    if (x2 > x1)
      aCanvas.fillRect(x1, top + 1, x2 - x1, b - 2, colour);
  };
  band(xv(o.UMin_MPP), xv(o.UMax_MPP), Yellow);
  band(xv(o.UMax_MPP), xv(o.UMax), Magenta);
  band(xv(o.UMax), w - 1, Black);
  band(xv(ustc), xv(ustc) + 1, Black);
  if (o.UNominale != 0)
    band(xv(o.UNominale), xv(o.UNominale) + 1, Red);

  // 4. Temperature bars, cold to hot.
  const double s = (b - 20) / 3.0;
  aCanvas.setPen(Pen(Black, 5));
  const auto bar = [&](double y, double cold, double hot, int base) {
    GradientSegment(aCanvas, QPointF(xv(cold), RoundToInt(y)), QPointF(xv(hot), RoundToInt(y)), base);
  };
  bar(top + s, uocMin100, uocMax100, 150);
  bar(top + s + 5, uocMin, uocMax, 0);
  bar(top + 2 * s + 10, umppMinMpp100, umppMax100, 150);
  bar(top + 2 * s + 15, umppMinMpp, umppMax, 0);

  // 5. Voltage labels.
  TextOut(aCanvas, 2, 1, QStringLiteral("UmppT ond."), Black);
  CentredText(aCanvas, xv(o.UMin_MPP), 1, Volts(o.UMin_MPP), Black);
  CentredText(aCanvas, xv(o.UMax_MPP), 1, Volts(o.UMax_MPP), Black);
  CentredText(aCanvas, xv(o.UMax), 1, Volts(o.UMax), Black);
  if (o.UNominale != 0)
    CentredText(aCanvas, xv(o.UNominale), 1, Volts(o.UNominale), Red);
  const int labels = lh + b + 1;
  TextOut(aCanvas, 2, labels - lh, QStringLiteral("Umpp Tmax,"), Black);
  TextOut(aCanvas, 2, labels, QStringLiteral("Umpp STC, Uoc Tmin"), Black);
  CentredText(aCanvas, xv(ustc), labels, Volts(ustc), Black);
  CentredText(aCanvas, xv(uocMin), labels, Volts(uocMin), Blue);
  CentredText(aCanvas, xv(umppMax100), labels, Volts(umppMax100), Red);

  // 6. Current row.
  const int currentRow = 2 * lh + b + 6;
  const double si = w / std::max(imax, icc);
  HorizontalLine(aCanvas, 2, RoundToInt(imax * si), currentRow, o.Nb_MPPT < 2 ? Yellow : Green, 5);
  HorizontalLine(aCanvas, 1, RoundToInt(icc * si), currentRow, Red, 2);
  TextOut(aCanvas, 2, currentRow + 5,
          imax > icc ? QStringLiteral("Icc, Imax ond.") : QStringLiteral("Imax ond., Icc"), Black);
  CentredText(aCanvas, RoundToInt(imax * si) - 5, currentRow + 5, TwoDecimals(imax), Black);
  CentredText(aCanvas, RoundToInt(icc * si), currentRow + 5, TwoDecimals(icc), Red);

  // 7. Power row.
  const int powerRow = currentRow + lh + 8;
  const double sp = w / std::max(o.PMax_DC, pinst);
  HorizontalLine(aCanvas, 2, RoundToInt(o.PMax_DC * sp), powerRow, Yellow, 5);
  HorizontalLine(aCanvas, 1, RoundToInt(pinst * sp), powerRow, Blue, 2);
  const int xNominalAC = RoundToInt(o.PNominal_AC * sp);
  aCanvas.setPen(Pen(Red, 1));
  aCanvas.drawLine(xNominalAC, powerRow - 5, xNominalAC, powerRow + 5);
  QString order;
  if (o.PMax_DC > pinst && pinst > o.PNominal_AC)
    order = QStringLiteral("Pnom AC, Pinst (Irr Max), Pmax DC");
  else if (o.PMax_DC > pinst)
    order = QStringLiteral("Pinst (Irr Max), Pnom AC, Pmax DC");
  else
    order = QStringLiteral("Pnom AC, Pmax DC, Pinst (Irr Max)");
  TextOut(aCanvas, 2, powerRow + 5, order, Black);
  CentredText(aCanvas, RoundToInt(o.PMax_DC * sp), powerRow + 5, TwoDecimals(o.PMax_DC), Black);
  CentredText(aCanvas, RoundToInt(pinst * sp), powerRow + 5, TwoDecimals(pinst), Blue);
  CentredText(aCanvas, xNominalAC, powerRow + 5, TwoDecimals(o.PNominal_AC), Red);
}

void TOnduleur::DrawOnduleur(int aWidth, int aHeight, int aIrradiation, QPicture &aDiagram)
{
  aDiagram = QPicture();
  aDiagram.setBoundingRect(QRect(0, 0, aWidth, aHeight));
  QPainter canvas(&aDiagram);
  PaintOnduleur(canvas, aWidth, aHeight, aIrradiation);
}

void TOnduleur::DrawOnduleur(int aWidth, int aHeight, int aIrradiation, QImage &aDiagram)
{
  aDiagram = QImage(aWidth, aHeight, QImage::Format_RGB32);
  aDiagram.fill(White);
  QPainter canvas(&aDiagram);
  try {
    PaintOnduleur(canvas, aWidth, aHeight, aIrradiation);
  } catch (const std::exception &) {
    // The bitmap keeps whatever was drawn before the failure.
  }
}

void TOnduleur::DrawOnduleurPI(const TRectSides &aZone, const TRectSides &aValue,
                               int aIrradiation, QImage &aDessin)
{
  using FloatCheck::Divide;
  TModule &m = *FModule;
  const double scaleX = Divide(aZone.Right - aZone.Left, aValue.Right - aValue.Left);
  const double scaleY = Divide(aZone.Bottom - aZone.Top, aValue.Top - aValue.Bottom);
  const auto point = [&](double g, double t) {
    double u = 0, i = 0, p = 0;
    m.GetmppPoint(FString, g, t, u, i, p);
    const double x = Divide(p / 10, FOnduleur.PNominal_DC);
    return QPoint(RoundToInt(aZone.Left + (x - aValue.Left) * scaleX),
                  RoundToInt(aZone.Bottom - (u - aValue.Bottom) * scaleY));
  };
  const auto pixel = [&aDessin](QPoint p) {
    return aDessin.valid(p) ? aDessin.pixelColor(p) : Black;
  };

  QPainter canvas(&aDessin);
  canvas.setPen(Pen(Black, 3));
  std::vector<QPoint> nominal;
  QPoint previousCold, previousHot;
  int base = 0;
  for (int g = aIrradiation; g > 99; g -= 50, base += 5) {
    const QPoint cold = point(g, -10);
    const QPoint hot = point(g, 70);
    canvas.setPen(Pen(Black, 3));
    GradientSegment(canvas, cold, hot, base);
    if (g != aIrradiation) {
      canvas.setPen(Pen(pixel(previousCold), 3));
      canvas.drawLine(previousCold, cold);
      canvas.setPen(Pen(pixel(previousHot), 3));
      canvas.drawLine(previousHot, hot);
    }
    previousCold = cold;
    previousHot = hot;
    nominal.push_back(point(g, 25));
  }
  for (std::size_t k = 1; k < nominal.size(); ++k) {
    const int shade = static_cast<int>(5 * (k - 1));
    canvas.setPen(Pen(QColor(std::min(shade, 255), 255, std::min(shade, 255)), 3));
    canvas.drawLine(nominal[k - 1], nominal[k]);
  }
}
