#pragma once
// The worked module and inverter of the equipment examples.

#include "equipment/unModule.h"
#include "equipment/unOnduleur.h"

// 60 cells, Uoc 37.5 V, Isc 8.8 A, MPP 30.5 V × 8.2 A, −0.33 / 0.06 / −0.43 %/K,
// no shunt resistance given, maximum system voltage 1000 V.
inline TModuleData WorkedModuleData()
{
  TModuleData d;
  d.TypeSI = QStringLiteral("MONO");
  d.T_Real = true;
  d.NbCell = 60;
  d.U_CO = 37.5;
  d.I_CC = 8.8;
  d.U_MPP = 30.5;
  d.I_MPP = 8.2;
  d.Puissance = 30.5 * 8.2;
  d.T_U_CO_P = -0.33;
  d.T_I_CC_P = 0.06;
  d.T_P_P = -0.43;
  d.T_U_CO = d.T_U_CO_P * d.U_CO / 100;
  d.T_I_CC = d.T_I_CC_P * d.I_CC / 100;
  d.T_P = d.T_P_P * d.U_MPP * d.I_MPP / 100;
  d.UMax = 1000;
  d.NOCT = 45;
  return d;
}

// MPP window 125–440 V, 500 V maximum, 18 A, one tracker, 3.3 kW maximum DC power.
inline TOnduleurData WorkedOnduleurData()
{
  TOnduleurData o;
  o.Nb_MPPT = 1;
  o.UMin_MPP = 125;
  o.UMax_MPP = 440;
  o.UMax = 500;
  o.IMax = 18;
  o.PMax_DC = 3.3;
  return o;
}

// A module fitted on the worked data (the fit is checked by the module tests).
inline void FitWorkedModule(TModule &aModule)
{
  aModule.Initialize(WorkedModuleData());
}
