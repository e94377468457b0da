#pragma once
// In-memory module and inverter catalogues with the fields the equipment reads.

#include "platform/ClientDataSet.h"

#include <QVariant>

#include <memory>
#include <utility>
#include <vector>

using TFieldValues = std::vector<std::pair<QString, QVariant>>;

inline std::unique_ptr<TClientDataSet> MakeModuleTable()
{
  auto t = std::make_unique<TClientDataSet>();
  t->SetName(QStringLiteral("Module"));
  t->AddFieldDef(QStringLiteral("Modèle"), TFieldType::ftString, 40);
  t->AddFieldDef(QStringLiteral("Type Module"), TFieldType::ftString, 30);
  t->AddFieldDef(QStringLiteral("Type Cellule"), TFieldType::ftString, 20);
  t->AddFieldDef(QStringLiteral("Nombre Cellule"), TFieldType::ftInteger);
  for (const char *name : {"Puissance", "Longueur_HT", "Largeur_HT", "Epaisseur", "Poids",
                           "Tension MPP", "Courant MPP", "Tension CO", "Courant CC",
                           "Chute Tension (%)", "Chute Courant (%)", "Chute Puissance (%)",
                           "Tension Max", "NOCT", "Résistance Shunt"})
    t->AddFieldDef(QString::fromUtf8(name), TFieldType::ftFloat);
  t->CreateDataSet();
  return t;
}

inline std::unique_ptr<TClientDataSet> MakeOnduleurTable()
{
  auto t = std::make_unique<TClientDataSet>();
  t->SetName(QStringLiteral("Onduleur"));
  t->AddFieldDef(QStringLiteral("Modèle"), TFieldType::ftString, 50);
  t->AddFieldDef(QStringLiteral("Transfo"), TFieldType::ftBoolean);
  t->AddFieldDef(QStringLiteral("Nombre MPP"), TFieldType::ftInteger);
  for (const char *name : {"Puissance DC Nom", "Puissance DC Max", "Tension MPP min",
                           "Tension MPP max", "Tension DC Nom", "Tension DC Max",
                           "Courant DC Max", "Puissance AC Nom", "Puissance AC Max",
                           "Rendement Euro-eta"})
    t->AddFieldDef(QString::fromUtf8(name), TFieldType::ftFloat);
  t->CreateDataSet();
  return t;
}

inline void AppendRecord(TClientDataSet &t, const TFieldValues &values)
{
  t.Append();
  for (const auto &[name, value] : values)
    t.FieldByName(name).SetAsVariant(value);
  t.Post();
}

// The worked module as a catalogue record.
inline TFieldValues WorkedModuleRecord()
{
  return {{QStringLiteral("Modèle"), QStringLiteral("Worked-250")},
          {QStringLiteral("Type Cellule"), QStringLiteral("MONO")},
          {QStringLiteral("Nombre Cellule"), 60},
          {QStringLiteral("Puissance"), 250.1},
          {QStringLiteral("Tension MPP"), 30.5},
          {QStringLiteral("Courant MPP"), 8.2},
          {QStringLiteral("Tension CO"), 37.5},
          {QStringLiteral("Courant CC"), 8.8},
          {QStringLiteral("Chute Tension (%)"), -0.33},
          {QStringLiteral("Chute Courant (%)"), 0.06},
          {QStringLiteral("Chute Puissance (%)"), -0.43},
          {QStringLiteral("Tension Max"), 1000.0}};
}
