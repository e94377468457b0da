#include "shell/dmDataTables.h"

#include "platform/DelphiFormat.h"

namespace {

using enum TFieldType;

TFieldDef &Add(TClientDataSet &table, const QString &name, TFieldType type, int size = 0,
               const QString &label = {}, const QString &format = {})
{
  TFieldDef &def = table.AddFieldDef(name, type, size);
  def.DisplayLabel = label;
  def.DisplayFormat = format;
  return def;
}

QString MonthField(const char *format, int month) { return FormatArgs(QString::fromLatin1(format), month); }

}  // namespace

void DefineDataFields(TClientDataSet &aTable, TClientDataSet *aModule, TClientDataSet *aOnduleur)
{
  Add(aTable, "ID", ftAutoInc);
  Add(aTable, "IDSite", ftInteger, 0, "Numéro du Site");
  Add(aTable, "Site", ftString, 30, "Nom du site");
  Add(aTable, "BDPV_User", ftString, 25);
  Add(aTable, "BDPV_IDPrimary", ftInteger);
  Add(aTable, "ID_Module", ftInteger);
  aTable.AddLookupField("Module", ftString, 40, "ID_Module", aModule, "ID", "Modèle");
  Add(aTable, "Puissance", ftInteger, 0, "Puissance de l'installation en Wc");
  Add(aTable, "Nb_Module", ftInteger, 0, "Nombre de module");
  Add(aTable, "ID_Onduleur", ftInteger);
  aTable.AddLookupField("Onduleur", ftString, 50, "ID_Onduleur", aOnduleur, "ID", "Modèle");
  Add(aTable, "Nb_Onduleur", ftInteger, 0, "Nombre_d'onduleur");
  Add(aTable, "Latitude", ftFloat, 0, "Latitude en °");
  Add(aTable, "Longitude", ftFloat, 0, "Longitude en °");
  Add(aTable, "Altitude", ftInteger);
  Add(aTable, "Orientation", ftInteger, 0, "Orientation en ° (Sud = 0°, Est = -90°, Ouest = +90°)");
  Add(aTable, "Inclinaison", ftInteger, 0, "Inclinaison en °");
  Add(aTable, "CalSolID", ftInteger);
  Add(aTable, "Production", ftFloat, 0, "Estimation de production PVGis en kWh");
  Add(aTable, "Prix_kWh", ftFloat);
  Add(aTable, "Puissance_Fond", ftFloat);
  for (int month = 1; month <= 12; ++month)
    Add(aTable, MonthField("Temp%.2d", month), ftFloat);
}

void DefineProdFields(TClientDataSet &aTable)
{
  Add(aTable, "ID", ftAutoInc);
  Add(aTable, "ID_Producteur", ftWord);
  Add(aTable, "ID_Source", ftWord);
  Add(aTable, "Source", ftString, 15);
  Add(aTable, "Total", ftInteger);
  for (int month = 1; month <= 12; ++month)
    Add(aTable, MonthField("Mois%.2d", month), ftInteger);
}

void DefineModuleFields(TClientDataSet &aTable)
{
  Add(aTable, "ID", ftAutoInc);
  Add(aTable, "PI_ID", ftInteger);
  Add(aTable, "PI_ID_Manufacturer", ftInteger);
  Add(aTable, "Fabricant", ftString, 20);
  Add(aTable, "Modèle", ftString, 40);
  Add(aTable, "Puissance", ftFloat, 0, "Puissance en Wc");
  Add(aTable, "Tolérance", ftString, 10).Alignment = Qt::AlignCenter;
  Add(aTable, "Type Module", ftString, 30);
  Add(aTable, "Type Cellule", ftString, 20);
  Add(aTable, "Rendement Cellule", ftFloat);
  Add(aTable, "Nombre Cellule", ftInteger);
  Add(aTable, "Longueur_HT", ftFloat, 0, "Longueur en mm");
  Add(aTable, "Largeur_HT", ftFloat, 0, "Largeur en mm");
  Add(aTable, "Surface_HT", ftFloat, 0, {}, "#0.00").Precision = 4;
  Add(aTable, "Longueur", ftFloat);
  Add(aTable, "Largeur", ftFloat);
  Add(aTable, "Surface", ftFloat, 0, {}, "#0.00").Precision = 4;
  Add(aTable, "Epaisseur", ftFloat, 0, "Epaisseur en mm");
  Add(aTable, "Poids", ftFloat, 0, "Poids en kg");
  Add(aTable, "Rendement", ftFloat, 0, {}, "#.00").Precision = 4;
  Add(aTable, "Tension MPP", ftFloat, 0, "Tension MPP en V", "#.00");
  Add(aTable, "Courant MPP", ftFloat, 0, "Courant MPP en A", "#.00");
  Add(aTable, "Tension CO", ftFloat, 0, "Tension CO en V", "#.00");
  Add(aTable, "Courant CC", ftFloat, 0, "Courant CC en A", "#.00");
  Add(aTable, "Chute Tension (%)", ftFloat, 0, "Coefficient Température Tension (%)", "#0.00");
  Add(aTable, "Chute Courant (%)", ftFloat, 0, "Coefficient Température Courant (%)", "#0.00");
  Add(aTable, "Chute Puissance (%)", ftFloat, 0, "Coefficient Température Puissance (%)", "#0.00");
  Add(aTable, "Tension Max", ftFloat);
  Add(aTable, "NOCT", ftFloat);
  Add(aTable, "Résistance Série", ftFloat);
  Add(aTable, "Résistance Shunt", ftFloat);
  Add(aTable, "Garantie Matérielle", ftInteger);
  Add(aTable, "Garantie Prod_Années1", ftInteger);
  Add(aTable, "Garantie Prod_PNom1", ftInteger);
  Add(aTable, "Garantie Prod_Années2", ftInteger);
  Add(aTable, "Garantie Prod_PNom2", ftInteger);
  Add(aTable, "Data", ftString, 30);
}

void DefineOnduleurFields(TClientDataSet &aTable)
{
  Add(aTable, "ID", ftAutoInc);
  Add(aTable, "PI_ID", ftInteger);
  Add(aTable, "PI_ID_Manufacturer", ftInteger);
  Add(aTable, "PI_Grade", ftString, 10);
  Add(aTable, "PI_Graph", ftString, 25);
  Add(aTable, "Fabricant", ftString, 40);
  Add(aTable, "Modèle", ftString, 50);
  Add(aTable, "Transfo", ftBoolean);
  Add(aTable, "Nombre MPP", ftInteger);
  Add(aTable, "Puissance DC Nom", ftFloat, 0, {}, "#0.00");
  Add(aTable, "Puissance DC Max", ftFloat, 0, {}, "#0.00");
  Add(aTable, "Tension MPP min", ftFloat, 0, {}, "#.00");
  Add(aTable, "Tension MPP max", ftFloat, 0, {}, "#.00");
  Add(aTable, "Tension DC Nom", ftFloat);
  Add(aTable, "Tension DC Min (@ PNom)", ftFloat);
  Add(aTable, "Tension DC Max", ftFloat);
  Add(aTable, "Courant DC Nom", ftFloat);
  Add(aTable, "Courant DC Max", ftFloat, 0, {}, "#.00");
  Add(aTable, "Puissance AC Nom", ftFloat, 0, {}, "#0.00");
  Add(aTable, "Puissance AC Max", ftFloat, 0, {}, "#0.00");
  Add(aTable, "Courant AC Nom", ftFloat);
  Add(aTable, "Courant AC Max", ftFloat, 0, {}, "#.00");
  Add(aTable, "Cos phi", ftString, 10);
  Add(aTable, "Fréquence 60Hz", ftBoolean);
  Add(aTable, "Fréquence 50Hz", ftBoolean);
  Add(aTable, "DC Connecteur", ftInteger);
  Add(aTable, "Nombre phase", ftInteger);
  Add(aTable, "Technologie", ftString, 30);
  Add(aTable, "Rendement Max", ftFloat, 0, {}, "#.0");
  Add(aTable, "Rendement Euro-eta", ftFloat, 0, {}, "#.0");
  Add(aTable, "Protection", ftString, 15);
  Add(aTable, "Largeur", ftFloat);
  Add(aTable, "Hauteur", ftFloat);
  Add(aTable, "Profondeur", ftFloat);
  Add(aTable, "Poids", ftFloat);
  Add(aTable, "Bruit Fonctionnement", ftInteger);
  Add(aTable, "Temp Max (@ PNom)", ftFloat);
  Add(aTable, "Interface", ftString, 60);
  Add(aTable, "Garantie", ftString, 20);
  Add(aTable, "Data", ftString, 30);
}

void DefineCalSolClimFields(TClientDataSet &aTable)
{
  Add(aTable, "ID", ftInteger);
  Add(aTable, "Nom", ftString, 55);
  Add(aTable, "Pays", ftString, 2);
  Add(aTable, "Latitude", ftFloat);
  Add(aTable, "Longitude", ftFloat);
  Add(aTable, "Altitude", ftInteger);
  // Kept as the source wrote them: readers convert the text themselves.
  for (int month = 1; month <= 12; ++month)
    Add(aTable, MonthField("HR%.2d", month), ftString, 8);
}

void DefineAnalyticFields(TClientDataSet &aTable)
{
  Add(aTable, "ID", ftAutoInc).ReadOnly = true;
  Add(aTable, "Date", ftDateTime);
  Add(aTable, "Irradiance", ftFloat);
  Add(aTable, "Puissance AC", ftFloat);
  Add(aTable, "Energie", ftFloat);
  Add(aTable, "Temp Coeff", ftFloat);
  Add(aTable, "Puissance Fond", ftFloat);
  Add(aTable, "Surplus", ftFloat);
}
