// Equipment operations of the data module: evaluation of a module with an inverter and
// the import of equipment data files into the catalogues.

#include "equipment/unModule.h"
#include "equipment/unOnduleur.h"
#include "platform/DelphiFormat.h"
#include "platform/Numbers.h"
#include "shell/dmData.h"

#include <QFileInfo>
#include <QFont>
#include <QImage>

bool TdtmData::EvaluateModule(QImage &aBitmap, const QFont &aFont, int aNbString, int aNbModule,
                              QString &aRapportPuissance)
{
  aRapportPuissance.clear();
  if (!cdsModule->Active() || cdsModule->IsEmpty())
    return false;
  TOnduleur onduleur;
  onduleur.SetFont(aFont);
  if (!onduleur.LoadFromDB(*cdsOnduleur))
    return false;
  if (!onduleur.Module().LoadFromDB(*cdsModule, true))
    return false;
  onduleur.SetStringConfiguration(aNbString, aNbModule);
  onduleur.DrawOnduleur(aBitmap.width(), aBitmap.height(), 1000, aBitmap);
  const double puissance = static_cast<double>(aNbModule) *
                           static_cast<double>(RoundHalfEven(
                               cdsModule->FieldByName(QStringLiteral("Puissance")).AsFloat())) *
                           aNbString;
  aRapportPuissance = FormatArgs(
      QStringLiteral("Rapport de puissance DC du PV sur l'onduleur : %.0f%% du nominal, %.0f%% du max."),
      onduleur.GetRapportPuissance(puissance, true), onduleur.GetRapportPuissance(puissance, false));
  return true;
}

bool TdtmData::ImportModule(const QString &aFile)
{
  TModule module(true);
  if (!module.LoadFromFile(aFile, false))
    return false;
  const TModuleData &d = module.Data();
  TMyClientDataSet &t = *cdsModule;
  const auto set = [&t](const QString &field, const QVariant &value) {
    t.FieldByName(field).SetAsVariant(value);
  };
  t.Append();
  // The model is named after the file, without its folder and its extension.
  set(QStringLiteral("Modèle"), QFileInfo(aFile).completeBaseName());
  set(QStringLiteral("Type Module"), d.TypeSI);
  set(QStringLiteral("Nombre Cellule"), d.NbCell);
  set(QStringLiteral("Puissance"), d.Puissance);
  set(QStringLiteral("Tension MPP"), d.U_MPP);
  set(QStringLiteral("Courant MPP"), d.I_MPP);
  set(QStringLiteral("Tension CO"), d.U_CO);
  set(QStringLiteral("Courant CC"), d.I_CC);
  set(QStringLiteral("Chute Tension (%)"), d.T_U_CO_P);
  set(QStringLiteral("Chute Courant (%)"), d.T_I_CC_P);
  set(QStringLiteral("Chute Puissance (%)"), d.T_P_P);
  set(QStringLiteral("NOCT"), d.NOCT);
  set(QStringLiteral("Résistance Shunt"), d.R_Shunt);
  set(QStringLiteral("Longueur_HT"), d.Longueur);
  set(QStringLiteral("Largeur_HT"), d.Largeur);
  set(QStringLiteral("Epaisseur"), d.Epaisseur);
  set(QStringLiteral("Poids"), d.Poids);
  t.Post();
  return true;
}

bool TdtmData::ImportOnduleur(const QString &aFile)
{
  TOnduleur onduleur;
  if (!onduleur.LoadFromFile(aFile))
    return false;
  const TOnduleurData &o = onduleur.Onduleur();
  TMyClientDataSet &t = *cdsOnduleur;
  const auto set = [&t](const QString &field, const QVariant &value) {
    t.FieldByName(field).SetAsVariant(value);
  };
  t.Append();
  // The model is named after the file up to its first "." (the whole name without one).
  set(QStringLiteral("Modèle"), QFileInfo(aFile).baseName());
  set(QStringLiteral("Transfo"), o.Transfo);
  set(QStringLiteral("Nombre MPP"), o.Nb_MPPT);
  set(QStringLiteral("Puissance DC Nom"), o.PNominal_DC);
  set(QStringLiteral("Puissance DC Max"), o.PMax_DC);
  set(QStringLiteral("Puissance AC Nom"), o.PNominal_AC);
  set(QStringLiteral("Puissance AC Max"), o.PMax_AC);
  set(QStringLiteral("Tension MPP min"), o.UMin_MPP);
  set(QStringLiteral("Tension MPP max"), o.UMax_MPP);
  set(QStringLiteral("Tension DC Nom"), o.UNominale);
  set(QStringLiteral("Tension DC Max"), o.UMax);
  set(QStringLiteral("Courant DC Max"), o.IMax);
  set(QStringLiteral("Rendement Euro-eta"), o.Rendement);
  t.Post();
  return true;
}
