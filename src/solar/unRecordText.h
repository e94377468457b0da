#pragma once
// Catalogue and climate figures stored as text typed by hand ("-0,45 ", "78,5").

#include <QVariant>

// Every "," becomes ".", every blank is removed, and the text is read as a decimal
// number; a null, empty or unreadable value gives 0. A value stored as a number is
// taken as it is.
double RecordTextToNumber(const QVariant &aValue);
