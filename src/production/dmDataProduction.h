#pragma once
// Source numbers of the production rows: 0 the PVGIS estimate, 2 PVGIS at optimal
// angles, 4 CalSol, 2·Y − 4004 the production measured in year Y (from 2007) and
// 2·Y − 4003 the SoDa estimate of year Y.

#include <QString>

int YearToIDSource(int aYear);
int IDSourceToYear(int aIDSource);
// "PVGis" for source 0, else "P. " followed by the source's year.
QString SourceName(int aIDSource);
