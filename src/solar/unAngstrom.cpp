#include "solar/unAngstrom.h"

#include <algorithm>
#include <array>

namespace {

struct TSkyColour {
  double Beta;
  const char *LongText;
  const char *ShortText;
};

constexpr std::array<TSkyColour, AngstromCoeffCount> kColours = {{
    {0.01, "Bleu profond (B = 0,01)", "Bleu profond"},
    {0.02, "Bleu foncé (B = 0,02)", "Bleu foncé"},
    {0.035, "Bleu pur (B = 0,035)", "Bleu pur"},
    {0.05, "Bleu (B = 0,05)", "Bleu"},
    {0.07, "Bleu délavé (B = 0,07)", "Bleu délavé"},
    {0.15, "Bleu laiteux (B = 0,15)", "Bleu laiteux"},
    {0.25, "Bleu voilé (B = 0,25)", "Bleu voilé"},
    {0.5, "Bleu blanc (B = 0,5)", "Bleu blanc"},
}};

const TSkyColour &Colour(TAngstromCoeff colour) { return kColours[static_cast<std::size_t>(colour)]; }

}  // namespace

double AngstromBeta(TAngstromCoeff colour) { return Colour(colour).Beta; }

QString AngstromLongText(TAngstromCoeff colour) { return QString::fromUtf8(Colour(colour).LongText); }

QString AngstromShortText(TAngstromCoeff colour) { return QString::fromUtf8(Colour(colour).ShortText); }

TAngstromCoeff AngstromFromIndex(int index)
{
  return static_cast<TAngstromCoeff>(std::clamp(index, 0, AngstromCoeffCount - 1));
}
