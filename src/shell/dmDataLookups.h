#pragma once
// Reading of the inverter catalogue's figures, which may hold text typed by hand.

#include <QVariant>

// The first "," becomes ".", spaces are removed, and the text is read with "." as
// decimal separator; an empty, missing or non-numeric value gives 0.
double CatalogueNumber(const QVariant &aValue);
