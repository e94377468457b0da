#pragma once
// Delphi's FormatFloat for the display formats of table fields: "0" a digit always
// shown, "#" a digit shown when significant, "." the user's decimal separator, ","
// grouping of thousands; other characters are copied. "#0.00" gives "0,50", "#.00"
// gives ",50" (French locale). Only the first ";"-separated section is used.

#include <QString>

QString FormatFloat(const QString &format, double value);

// Delphi's general number form: at most `precision` significant digits, no trailing
// zeros, no grouping; fixed notation when the integer digits fit in the precision and
// |value| ≥ 0.00001, else "1.5E20" / "1E-6" (no "+", no leading zeros in the exponent).
// The user's decimal separator, or "." when dotDecimal is true.
QString FloatToStrGeneral(double value, int precision = 15, bool dotDecimal = false);
