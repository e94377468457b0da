#pragma once
// The French HTML report made from the text answer of a PVGIS production request: the
// monthly table with a yearly total, the loss table and French labels.

#include <QString>

// Turns html (the answer's lines joined by CR LF) into the report page and sets
// Production to the yearly production (the two-axis one in two-axis mode when the answer
// has its year line).
void BuildReport(QString &html, int &Production, bool aTwoAxis);
