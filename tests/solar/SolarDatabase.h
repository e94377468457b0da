#pragma once
// An installation database over a fresh Data folder with the site models installed, a
// Paris time zone, and helpers that add catalogue rows, climate stations and
// installations.

#include "shell/DataModuleFixture.h"
#include "shell/unRoutine.h"
#include "solar/unListPVSite.h"

#include <QVariant>

class TSolarDatabase : public TTempDatabase {
public:
  TSolarDatabase()
  {
    SetStandardBiasSource([] { return -60; });  // Paris: 60 in winter, 120 in summer
    data.SetListPVSite(std::make_unique<TListPVSite>());
    data.Open();
  }
  ~TSolarDatabase() { SetStandardBiasSource({}); }
  TSolarDatabase(const TSolarDatabase &) = delete;
  TSolarDatabase &operator=(const TSolarDatabase &) = delete;

  TListPVSite &Sites() { return dynamic_cast<TListPVSite &>(*data.ListPVSite()); }

  int AddModule(double puissance, const QVariant &chute, const QVariant &noct)
  {
    return AddRow(*data.cdsModule, {{QStringLiteral("Modèle"), QStringLiteral("M")},
                                    {QStringLiteral("Puissance"), puissance},
                                    {QStringLiteral("Chute Puissance (%)"), chute},
                                    {QStringLiteral("NOCT"), noct}});
  }

  int AddInverter(const QString &acNom)
  {
    return AddRow(*data.cdsOnduleur, {{QStringLiteral("Modèle"), QStringLiteral("O")},
                                      {QStringLiteral("Puissance AC Nom"), acNom}});
  }

  // A station with the given monthly humidity texts, January first.
  void AddStation(int id, double latitude, double longitude, const QStringList &hr)
  {
    TValues values{{QStringLiteral("ID"), id},
                   {QStringLiteral("Latitude"), latitude},
                   {QStringLiteral("Longitude"), longitude}};
    for (int month = 1; month <= 12; ++month)
      values.emplace_back(QStringLiteral("HR%1").arg(month, 2, 10, QLatin1Char('0')), hr.value(month - 1));
    AddRow(*data.cdsCalSolClim, values);
  }

  // An installation at the worked site in Provence unless values say otherwise.
  int AddInstallation(int idSite, int idModule, int nbModule, const TValues &values = {})
  {
    TValues all{{QStringLiteral("IDSite"), idSite},
                {QStringLiteral("ID_Module"), idModule},
                {QStringLiteral("Nb_Module"), nbModule},
                {QStringLiteral("Latitude"), 43.6},
                {QStringLiteral("Longitude"), -6.394167},
                {QStringLiteral("Altitude"), 600},
                {QStringLiteral("Orientation"), 0},
                {QStringLiteral("Inclinaison"), 20}};
    const double temperatures[12] = {6, 7, 10, 13, 17, 21, 24, 24, 20, 16, 10, 7};
    for (int month = 1; month <= 12; ++month)
      all.emplace_back(QStringLiteral("Temp%1").arg(month, 2, 10, QLatin1Char('0')), temperatures[month - 1]);
    all.insert(all.end(), values.begin(), values.end());
    return AddRow(*data.cdsData, all);
  }
};
