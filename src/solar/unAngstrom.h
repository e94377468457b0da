#pragma once
// Sky colours and their Angström turbidity coefficients, with the texts the windows show.

#include <QString>

enum class TAngstromCoeff {
  acBleuProfond,
  acBleuFonce,
  acBleuPur,
  acBleu,
  acBleuDelave,
  acBleuLaiteux,
  acBleuVoile,
  acBleuBlanc
};

inline constexpr int AngstromCoeffCount = 8;

// Angström coefficient β of a sky colour.
double AngstromBeta(TAngstromCoeff colour);
// "Bleu foncé (B = 0,02)", as listed for the user.
QString AngstromLongText(TAngstromCoeff colour);
// "Bleu foncé", as named in chart titles.
QString AngstromShortText(TAngstromCoeff colour);
// The colour at a list position; positions outside 0..7 are clamped to the list.
TAngstromCoeff AngstromFromIndex(int index);
