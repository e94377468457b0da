#pragma once
// Delphi's FormatFloat for the display formats of table fields: "0" a digit always
// shown, "#" a digit shown when significant, "." the user's decimal separator, ","
// grouping of thousands; other characters are copied. "#0.00" gives "0,50", "#.00"
// gives ",50" (French locale). Only the first ";"-separated section is used.

#include <QString>

QString FormatFloat(const QString &format, double value);

// Delphi's FloatToStrF in general format: at most `precision` significant digits,
// no trailing zeros, user's decimal separator, no grouping.
QString FloatToStrGeneral(double value, int precision = 15);
