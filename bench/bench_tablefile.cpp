// The in-memory table and its file at the size of the module catalogue:
// 16,830 rows of 37 fields (integers, reals and text, like the shipped catalogue).
#include "platform/ClientDataSet.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {
constexpr int CatalogueRows = 16830;

std::unique_ptr<TClientDataSet> MakeCatalogue()
{
  auto table = std::make_unique<TClientDataSet>();
  table->AddFieldDef("ID", TFieldType::ftAutoInc).ReadOnly = false;
  table->AddFieldDef("PI_ID", TFieldType::ftInteger);
  table->AddFieldDef("Fabricant", TFieldType::ftString, 20);
  table->AddFieldDef("Modèle", TFieldType::ftString, 40);
  for (int i = 0; i < 27; ++i)
    table->AddFieldDef(QString("Réel %1").arg(i), TFieldType::ftFloat);
  for (int i = 0; i < 5; ++i)
    table->AddFieldDef(QString("Garantie %1").arg(i), TFieldType::ftInteger);
  table->AddFieldDef("Data", TFieldType::ftString, 30);
  table->CreateDataSet();
  table->DisableControls();
  for (int row = 0; row < CatalogueRows; ++row) {
    table->Append();
    table->Fields(0).SetAsInteger(row);
    table->Fields(1).SetAsInteger(100000 + row);
    table->Fields(2).SetAsString(QString("Fabricant %1").arg(row % 700));
    table->Fields(3).SetAsString(QString("Module %1 Wc série %2").arg(row * 7919 % 16830).arg(row));
    for (int i = 0; i < 27; ++i)
      table->Fields(4 + i).SetAsFloat(row * 0.37 + i);
    for (int i = 0; i < 5; ++i)
      table->Fields(31 + i).SetAsInteger(10 + i);
    table->Fields(36).SetAsString("PVSyst");
    table->Post();
  }
  table->EnableControls();
  return table;
}

void BM_SaveCatalogue(benchmark::State &state)
{
  QTemporaryDir dir;
  auto table = MakeCatalogue();
  for (auto _ : state)
    table->SaveRowsToFile(dir.filePath("Module.cds"));
}
BENCHMARK(BM_SaveCatalogue)->Unit(benchmark::kMillisecond);

void BM_OpenCatalogueOrderedByModel(benchmark::State &state)
{
  QTemporaryDir dir;
  MakeCatalogue()->SaveRowsToFile(dir.filePath("Module.cds"));
  for (auto _ : state) {
    TClientDataSet table;
    table.SetFileName(dir.filePath("Module.cds"));
    table.SetIndexFieldNames("Modèle");
    table.Open();
    benchmark::DoNotOptimize(table.RecordCount());
  }
}
BENCHMARK(BM_OpenCatalogueOrderedByModel)->Unit(benchmark::kMillisecond);

// One lookup by ID per installation after a catalogue edit (which drops the key cache).
void BM_LookupById(benchmark::State &state)
{
  auto table = MakeCatalogue();
  for (auto _ : state) {
    table->Edit();
    table->Fields(1).SetAsInteger(1);
    table->Post();
    for (int id = 0; id < 1000; ++id)
      benchmark::DoNotOptimize(table->Lookup("ID", id * 13, "Réel 0"));
  }
}
BENCHMARK(BM_LookupById)->Unit(benchmark::kMillisecond);
}  // namespace

BENCHMARK_MAIN();
