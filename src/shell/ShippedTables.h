#pragma once
// The table files supplied with the program: the module and inverter catalogues and the
// climate stations made from the CSV sources of the project's data folder, and the
// installation and production tables empty with their layouts. Only missing files are
// created, so a user's installations, productions or edited catalogues are never
// overwritten.

#include "platform/ClientDataSet.h"

#include <QString>
#include <QStringList>

// Creates in aDataDir (made when missing) every shipped table file that is missing,
// filling the catalogues from aSourceDir's modules.csv, inverters.csv and
// climate_stations.csv. Returns the names of the files created.
QStringList MakeShippedTables(const QString &aSourceDir, const QString &aDataDir);

// Same, but every table is left empty: a blank Data folder for tests and demonstrations.
QStringList MakeEmptyTables(const QString &aDataDir);

// Appends the rows of a comma-separated file (UTF-8, header of field names, nothing
// quoted) to an open table. Columns are matched to fields by name; columns the table
// lacks are dropped, text longer than its field is cut, an empty cell stays null.
// Returns the number of rows appended; fails with EDatabaseError on an unreadable file
// or a value that does not fit its field.
int LoadCsvRows(const QString &aCsvPath, TClientDataSet &aTable);
