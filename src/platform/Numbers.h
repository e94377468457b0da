#pragma once
// Number helpers with the rules the program relies on: rounding halves to even and
// reading numbers written with either decimal separator.

#include <QString>

#include <cstdint>

// Rounds to the nearest integer, halves to the even neighbour (1.5 → 2, 2.5 → 2).
// A value that is not finite or lies beyond the 64-bit range gives 0.
std::int64_t RoundHalfEven(double value);
// The same into an int: a value beyond the int range gives 0, like any other figure
// that cannot be read as a whole number.
int RoundToInt(double value);

// The user's decimal separator (from the default QLocale).
QChar DecimalSeparator();

// Reads a decimal number written with "," or "." as separator, surrounding blanks
// allowed. Returns false (and leaves value alone) when the text is not a number.
bool TryParseNumber(const QString &text, double &value);

// Writes a number with the user's decimal separator and the given number of decimals.
QString FloatToStrLocal(double value, int decimals);
