// Opening the five shipped tables with the full catalogues, and saving the module
// catalogue after a change. Run by hand: build-*/bin/bench_tables

#include "shell/dmData.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

const QStringList kTables{QStringLiteral("Data.cds"), QStringLiteral("Production.cds"), QStringLiteral("Module.cds"),
                          QStringLiteral("Onduleur.cds"), QStringLiteral("CalSolClim.cds")};

// A copy of the build's Data folder, so that the benchmark never touches it.
bool CopyShippedTables(const QTemporaryDir &dir)
{
  QDir().mkpath(dir.filePath(QStringLiteral("Data")));
  for (const QString &name : kTables)
    if (!QFile::copy(QDir(QStringLiteral(QUELTA_DATA_DIR)).filePath(name),
                     dir.filePath(QStringLiteral("Data/") + name)))
      return false;
  return true;
}

void PrepareDataModule(TdtmData &data, const QTemporaryDir &dir)
{
  data.SetApplicationPath(dir.path() + QLatin1Char('/'));
  data.OnVersion = [] { return ProgramFileVersion(); };
}

void BM_OpenShippedTables(benchmark::State &state)
{
  QTemporaryDir dir;
  if (!CopyShippedTables(dir)) {
    state.SkipWithError("the shipped tables are missing: build the shipped_tables target");
    return;
  }
  for (auto _ : state) {
    TdtmData data;
    PrepareDataModule(data, dir);
    data.Open();
    benchmark::DoNotOptimize(data.cdsModule->RecordCount());
    state.PauseTiming();
    data.Close();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_OpenShippedTables)->Unit(benchmark::kMillisecond)->Iterations(10);

void BM_SaveModuleCatalogue(benchmark::State &state)
{
  QTemporaryDir dir;
  if (!CopyShippedTables(dir)) {
    state.SkipWithError("the shipped tables are missing: build the shipped_tables target");
    return;
  }
  TdtmData data;
  PrepareDataModule(data, dir);
  data.Open();
  TMyClientDataSet &modules = *data.cdsModule;
  double power = 250.0;
  for (auto _ : state) {
    state.PauseTiming();
    modules.Edit();
    modules.FieldByName(QStringLiteral("Puissance")).SetAsFloat(power += 1.0);
    modules.Post();
    state.ResumeTiming();
    modules.SaveToFile(QString(), TDataPacketFormat::dfBinary, true);
  }
  data.Close();
}
BENCHMARK(BM_SaveModuleCatalogue)->Unit(benchmark::kMillisecond)->Iterations(10);

}  // namespace

BENCHMARK_MAIN();
