// Theoretical production runs (FillAnalyticIrradiance) for one installation over a
// day, a month and a year, and for a site of ten installations over a year; with, for
// scale, the same year evaluated sample by sample through the plain routines.

#include "shell/ShippedTables.h"
#include "shell/dmData.h"
#include "shell/unRoutine.h"
#include "solar/unListPVSite.h"
#include "solar/unPVSite.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

// An installation database in a temporary folder with `installations` installations of
// one site near Aix-en-Provence, the single-site view on.
class TBenchDatabase {
public:
  explicit TBenchDatabase(int installations)
  {
    SetStandardBiasSource([] { return -60; });
    MakeEmptyTables(FDir.filePath(QStringLiteral("Data")));
    FData.SetApplicationPath(FDir.path() + QLatin1Char('/'));
    FData.OnVersion = [] { return ProgramFileVersion(); };
    FData.SetListPVSite(std::make_unique<TListPVSite>());
    FData.Open();
    Add(*FData.cdsModule, {{"Modèle", "M"}, {"Puissance", 250.0}, {"Chute Puissance (%)", -0.45}, {"NOCT", 45.0}});
    Add(*FData.cdsOnduleur, {{"Modèle", "O"}, {"Puissance AC Nom", "2,5"}});
    std::vector<std::pair<const char *, QVariant>> station{{"ID", 1}, {"Latitude", 43.5}, {"Longitude", -5.4}};
    const char *hr[12] = {"HR01", "HR02", "HR03", "HR04", "HR05", "HR06", "HR07", "HR08", "HR09", "HR10", "HR11", "HR12"};
    for (int m = 0; m < 12; ++m)
      station.emplace_back(hr[m], QString::number(80 - 2 * std::min(m, 11 - m)));
    Add(*FData.cdsCalSolClim, station);
    for (int i = 0; i < installations; ++i)
      Add(*FData.cdsData, {{"IDSite", 1}, {"ID_Module", 0}, {"Nb_Module", 10 + i}, {"Latitude", 43.53},
                           {"Longitude", -5.45}, {"Altitude", 200}, {"Orientation", -30 + 6 * i},
                           {"Inclinaison", 15 + 2 * i}, {"CalSolID", 1}, {"Puissance_Fond", 400.0},
                           {"Temp01", 6.0}, {"Temp04", 13.0}, {"Temp07", 24.0}, {"Temp10", 16.0}});
    FData.SetFilter(true);
  }
  ~TBenchDatabase() { SetStandardBiasSource({}); }

  void Run(TDateTime date, TTimeInterval period)
  {
    double surplus = 0, hours = 0;
    FData.FillAnalyticIrradiance(1, 94, 20, date, 0, 0, period, true, surplus, hours);
    benchmark::DoNotOptimize(surplus);
  }
  int Rows() const { return FData.cdsOnduleurAnalytic->RecordCount(); }
  TPVSite &Site() { return dynamic_cast<TListPVSite &>(*FData.ListPVSite()).Items(0); }

private:
  static void Add(TClientDataSet &table, const std::vector<std::pair<const char *, QVariant>> &values)
  {
    table.Append();
    for (const auto &[field, value] : values)
      table.FieldByName(QString::fromUtf8(field)).SetAsVariant(value);
    table.Post();
  }

  QTemporaryDir FDir;
  TdtmData FData;
};

void BM_DayOneInstallation(benchmark::State &state)
{
  TBenchDatabase db(1);
  for (auto _ : state)
    db.Run(EncodeDate(2011, 6, 21), TTimeInterval::tiDay);
  state.counters["rows"] = db.Rows();
}
BENCHMARK(BM_DayOneInstallation)->Unit(benchmark::kMillisecond);

void BM_MonthOneInstallation(benchmark::State &state)
{
  TBenchDatabase db(1);
  for (auto _ : state)
    db.Run(EncodeDate(2011, 6, 1), TTimeInterval::tiMonth);
  state.counters["rows"] = db.Rows();
}
BENCHMARK(BM_MonthOneInstallation)->Unit(benchmark::kMillisecond);

void BM_YearOneInstallation(benchmark::State &state)
{
  TBenchDatabase db(1);
  for (auto _ : state)
    db.Run(EncodeDate(2011, 1, 1), TTimeInterval::tiYear);
  state.counters["rows"] = db.Rows();
}
BENCHMARK(BM_YearOneInstallation)->Unit(benchmark::kMillisecond);

void BM_YearTenInstallations(benchmark::State &state)
{
  TBenchDatabase db(10);
  for (auto _ : state)
    db.Run(EncodeDate(2011, 1, 1), TTimeInterval::tiYear);
  state.counters["rows"] = db.Rows();
}
BENCHMARK(BM_YearTenInstallations)->Unit(benchmark::kMillisecond);

// The year's 10-minute samples of one installation, each evaluated from scratch (Sun
// position, sky position, irradiance) through GetDataForATime: the cost the fast
// evaluation avoids.
void BM_YearOneInstallationPlainSamples(benchmark::State &state)
{
  TBenchDatabase db(1);
  db.Run(EncodeDate(2011, 1, 1), TTimeInterval::tiYear);  // configures the site model
  TPVSite &site = db.Site();
  for (auto _ : state) {
    double total = 0;
    for (TDateTime day = EncodeDate(2011, 1, 1); day <= EncodeDate(2011, 12, 31); day += 1) {
      const TRiseSet daylight = GetDaylight(day, site.Position().Latitude, site.Position().Longitude);
      const TDateTime start = daylight.Rise + 10 / 1440.0;
      const TDateTime finish = daylight.Set - 10 / 1440.0;
      for (int i = 0; start + i * 10 / 1440.0 <= finish; ++i) {
        double g = 0, p = 0, k = 0;
        site.GetDataForATime(start + i * 10 / 1440.0, g, p, k);
        total += p;
      }
    }
    benchmark::DoNotOptimize(total);
  }
}
BENCHMARK(BM_YearOneInstallationPlainSamples)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
