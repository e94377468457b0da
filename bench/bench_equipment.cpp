// Equipment computations: one fit of a typical module, the string-sizing search, the MPP
// of a three-string array and the inverter diagram.

#include "equipment/unModule.h"
#include "equipment/unOnduleur.h"

#include <QGuiApplication>
#include <QImage>

#include <benchmark/benchmark.h>

namespace {

// 60 cells, 250 W, −0.33 / 0.06 / −0.43 %/K, 1000 V system voltage.
TModuleData TypicalModule()
{
  TModuleData d;
  d.NbCell = 60;
  d.U_CO = 37.5;
  d.I_CC = 8.8;
  d.U_MPP = 30.5;
  d.I_MPP = 8.2;
  d.Puissance = 30.5 * 8.2;
  d.T_U_CO = -0.33 * 37.5 / 100;
  d.T_I_CC = 0.06 * 8.8 / 100;
  d.T_P = -0.43 * 250.1 / 100;
  d.UMax = 1000;
  return d;
}

TOnduleurData TypicalOnduleur()
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

void BM_ModuleFit(benchmark::State &state)
{
  for (auto _ : state) {
    TModule module(true);
    benchmark::DoNotOptimize(module.Initialize(TypicalModule()));
  }
}
BENCHMARK(BM_ModuleFit)->Unit(benchmark::kMillisecond);

void BM_SizingSearch(benchmark::State &state)
{
  TOnduleur onduleur;
  onduleur.SetOnduleur(TypicalOnduleur());
  onduleur.Module().Initialize(TypicalModule());
  for (auto _ : state)
    benchmark::DoNotOptimize(onduleur.FoundSolution(20, 1000, true));
}
BENCHMARK(BM_SizingSearch)->Unit(benchmark::kMillisecond);

void BM_ThreeStringMpp(benchmark::State &state)
{
  TModule module(true);
  module.Initialize(TypicalModule());
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
  onduleur.SetOnduleur(TypicalOnduleur());
  onduleur.Module().Initialize(TypicalModule());
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
