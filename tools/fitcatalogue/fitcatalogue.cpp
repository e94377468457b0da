// Fits every module of a module catalogue table and evaluates each fitted one at the
// design conditions of the sizing search, to show that no record makes the model crash
// or hang. Usage: fitcatalogue [Module.cds]; the build's shipped table by default.

#include "equipment/FloatChecks.h"
#include "equipment/unModule.h"
#include "platform/ClientDataSet.h"

#include <QCoreApplication>
#include <QDir>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <exception>

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::duration d)
{
  return std::chrono::duration<double>(d).count();
}

struct TTally {
  int records = 0;
  int fitted = 0;
  int notFitted = 0;
  int evaluationErrors = 0;
  int withinOnePercent = 0;  // fitted and giving back the catalogue power within 1 %
  int shuntRaised = 0;
  double fitSeconds = 0;
  double evaluationSeconds = 0;
  double slowest = 0;  // slowest fit
  QString slowestModel;
};

void Evaluate(TModule &module, double puissance, TTally &tally)
{
  try {
    const double pmpp = module.GetPmpp(1000, 25);
    module.GetUoc(1000, -10);
    module.GetUmpp(1000, 70);
    module.GetImpp(1000, 50);
    module.GetPmpp({10, 10}, 1000, 25);
    if (puissance > 0 && std::fabs(pmpp / puissance - 1) < 0.01)
      ++tally.withinOnePercent;
  } catch (const std::exception &) {
    ++tally.evaluationErrors;
  }
}

}  // namespace

int main(int argc, char **argv)
{
  QCoreApplication app(argc, argv);
  const QStringList arguments = app.arguments();
  const QString file = arguments.size() > 1
                           ? arguments.at(1)
                           : QDir(QStringLiteral(QUELTA_DATA_DIR)).filePath(QStringLiteral("Module.cds"));
  TClientDataSet table;
  try {
    table.LoadRowsFromFile(file);
  } catch (const std::exception &e) {
    std::fprintf(stderr, "%s: %s\n", qPrintable(file), e.what());
    return 1;
  }
  TTally tally;
  const auto start = Clock::now();
  for (table.First(); !table.Eof(); table.Next()) {
    ++tally.records;
    const auto begin = Clock::now();
    TModule module(true);
    const bool fitted = module.LoadFromDB(table, true);
    const double seconds = Seconds(Clock::now() - begin);
    tally.fitSeconds += seconds;
    if (seconds > tally.slowest) {
      tally.slowest = seconds;
      tally.slowestModel = table.FieldByName(QStringLiteral("Modèle")).AsString();
    }
    if (fitted) {
      ++tally.fitted;
      tally.shuntRaised += module.IncShunt();
      const auto evaluation = Clock::now();
      Evaluate(module, module.Puissance(), tally);
      tally.evaluationSeconds += Seconds(Clock::now() - evaluation);
    } else {
      ++tally.notFitted;
    }
  }
  std::printf("%s\n", qPrintable(file));
  std::printf("records %d, fitted %d, not fitted (False) %d\n", tally.records, tally.fitted,
              tally.notFitted);
  std::printf("fitted with a raised shunt resistance %d\n", tally.shuntRaised);
  std::printf("fitted and giving back the catalogue power within 1 %%: %d\n", tally.withinOnePercent);
  std::printf("evaluation errors after a successful fit %d\n", tally.evaluationErrors);
  std::printf("fits %.1f s (slowest %.3f s, %s), evaluations %.1f s, total %.1f s\n",
              tally.fitSeconds, tally.slowest, qPrintable(tally.slowestModel),
              tally.evaluationSeconds, Seconds(Clock::now() - start));
  return 0;
}
