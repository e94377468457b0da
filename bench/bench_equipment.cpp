// Equipment computations: one fit of the worked module, the string-sizing search, the MPP
// of a three-string array and the inverter diagram.

#include "equipment/WorkedExamples.h"

#include <QGuiApplication>
#include <QImage>

#include <benchmark/benchmark.h>

namespace {

void BM_ModuleFit(benchmark::State &state)
{
  for (auto _ : state) {
    TModule module(true);
    benchmark::DoNotOptimize(module.Initialize(WorkedModuleData()));
  }
}
BENCHMARK(BM_ModuleFit)->Unit(benchmark::kMillisecond);

void BM_SizingSearch(benchmark::State &state)
{
  TOnduleur onduleur;
  onduleur.SetOnduleur(WorkedOnduleurData());
  onduleur.Module().Initialize(WorkedModuleData());
  for (auto _ : state)
    benchmark::DoNotOptimize(onduleur.FoundSolution(20, 1000, true));
}
BENCHMARK(BM_SizingSearch)->Unit(benchmark::kMillisecond);

void BM_ThreeStringMpp(benchmark::State &state)
{
  TModule module(true);
  module.Initialize(WorkedModuleData());
  double g = 1000;
  for (auto _ : state) {
    // A new irradiance each time, so that the cached MPP is never reused.
    g = g > 999 ? 900 : g + 1e-6;
    benchmark::DoNotOptimize(module.GetPmpp({10, 10, 10}, g, 25));
  }
}
BENCHMARK(BM_ThreeStringMpp)->Unit(benchmark::kMillisecond);

void BM_Diagram(benchmark::State &state)
{
  TOnduleur onduleur;
  onduleur.SetOnduleur(WorkedOnduleurData());
  onduleur.Module().Initialize(WorkedModuleData());
  QImage image;
  int modules = 7;
  for (auto _ : state) {
    // A configuration different from the last one, so that no MPP comes from the cache.
    modules = modules == 7 ? 8 : 7;
    onduleur.SetStringConfiguration(2, modules);
    onduleur.DrawOnduleur(683, 136, 1000, image);
  }
}
BENCHMARK(BM_Diagram)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char **argv)
{
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
