#pragma once
// Field layouts of the program's tables.

#include "platform/ClientDataSet.h"

// Installations; the lookup fields "Module" and "Onduleur" read the two catalogues.
void DefineDataFields(TClientDataSet &aTable, TClientDataSet *aModule, TClientDataSet *aOnduleur);
// Monthly production per installation and source.
void DefineProdFields(TClientDataSet &aTable);
void DefineModuleFields(TClientDataSet &aTable);
void DefineOnduleurFields(TClientDataSet &aTable);
// Climate stations with their monthly relative humidity (HR01…HR12, kept as text).
void DefineCalSolClimFields(TClientDataSet &aTable);
// Results of the analytic simulation.
void DefineAnalyticFields(TClientDataSet &aTable);
