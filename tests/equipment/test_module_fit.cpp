// The single-diode model: the worked fit, the linear solver, the evaluations and the
// termination of every search on absurd data.

#include "WorkedExamples.h"
#include "equipment/FloatChecks.h"
#include "equipment/GaussJordan.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <limits>
#include <vector>

namespace {

void ExpectRelative(double actual, double expected, double tolerance)
{
  EXPECT_LE(std::fabs(actual / expected - 1), tolerance) << actual << " vs " << expected;
}

class WorkedModule : public ::testing::Test {
protected:
  void SetUp() override { ASSERT_TRUE(module.Initialize(WorkedModuleData())); }
  TModule module{true};
};

}  // namespace

TEST_F(WorkedModule, FitNeedsNoShuntRaiseAndGivesTheDatasheetBack)
{
  EXPECT_FALSE(module.IncShunt());
  EXPECT_EQ(module.IncShuntCompteur(), 0);
  EXPECT_DOUBLE_EQ(module.RShunt(), 300);
  EXPECT_NEAR(module.GAMMA / 60, 1.14, 0.005);
  EXPECT_NEAR(module.RSerie_Ref, 0.24, 0.005);

  double u = 0, i = 0, p = 0;
  module.GetmppPoint(1000, 25, u, i, p);
  ExpectRelative(module.GetIsc(1000, 25), 8.8, 1e-6);
  ExpectRelative(module.GetUoc(1000, 25), 37.5, 1e-6);
  ExpectRelative(u, 30.5, 1e-6);
  ExpectRelative(i, 8.2, 1e-6);
  ExpectRelative(p, 250.1, 1e-6);
}

TEST_F(WorkedModule, TemperatureBehaviourFollowsTheCoefficients)
{
  EXPECT_NEAR(module.GetUoc(1000, -10), 41.8, 0.05);
  EXPECT_NEAR(module.GetPmpp(1000, 70), 200, 1);
  // The power coefficient is the slope of Pmpp at 25 °C.
  const double slope = (module.GetPmpp(1000, 26) - module.GetPmpp(1000, 24)) / 2;
  EXPECT_NEAR(slope, -0.43 * 250.1 / 100, 0.01);
}

TEST_F(WorkedModule, ShortCircuitCurrentIsTheCurrentAtZeroVolt)
{
  for (const double g : {1000.0, 500.0, 100.0}) {
    double i = 0, p = 0;
    module.I_F_U(g, 40, 0, i, p);
    EXPECT_EQ(module.GetIsc(g, 40), i);
  }
}

TEST_F(WorkedModule, VoltageForCurrentInvertsCurrentForVoltage)
{
  for (const double u : {5.0, 20.0, 30.5, 36.0}) {
    double i = 0, p = 0, back = 0;
    module.I_F_U(800, 35, u, i, p);
    module.U_F_I(800, 35, i, back, p);
    EXPECT_NEAR(back, u, 1e-4) << u;
  }
}

TEST_F(WorkedModule, CurvesRunFromZeroToTheOpenCircuitAndShortCircuit)
{
  std::vector<double> u(101), i(101);
  double pMax = 0, uAtPMax = 0;
  module.GetCaracteristique(1000, 25, u, i, pMax, uAtPMax);
  EXPECT_EQ(u.front(), 0);
  EXPECT_NEAR(u.back(), 37.5, 1e-6);
  EXPECT_NEAR(i.front(), 8.8, 1e-6);
  EXPECT_NEAR(i.back(), 0, 1e-6);
  EXPECT_NEAR(pMax, 250.1, 1);
  EXPECT_NEAR(uAtPMax, 30.5, 0.4);

  module.GetCaracteristique2(1000, 25, u, i, pMax, uAtPMax);
  EXPECT_EQ(i.front(), 0);
  EXPECT_NEAR(u.front(), 37.5, 1e-6);
  EXPECT_NEAR(i.back(), 8.8, 1e-6);
  EXPECT_NEAR(pMax, 250.1, 1);
}

TEST_F(WorkedModule, DataAtOtherConditionsAndModelParameters)
{
  const TModuleData d = module.DataAtNoSTCCondition(1000, 25);
  ExpectRelative(d.Puissance, 250.1, 1e-6);
  ExpectRelative(d.U_CO, 37.5, 1e-6);
  TModuleParameter parameter;
  module.GetModelParameter(parameter);
  EXPECT_DOUBLE_EQ(parameter.GAMMA, module.GAMMA / 60);
  EXPECT_FALSE(parameter.RShuntInc);

  // An assigned copy evaluates like its source without a new fit.
  TModule copy(true);
  copy.Assign(module);
  EXPECT_EQ(copy.GetPmpp(700, 50), module.GetPmpp(700, 50));
}

TEST(ModuleProperties, ReadAndWriteRules)
{
  TModule module(true);
  EXPECT_EQ(module.NbCell(), 100);
  EXPECT_EQ(module.NOCT(), 48);
  module.SetRShunt(0);
  EXPECT_EQ(module.RShunt(), 300);
  EXPECT_EQ(module.Data().R_Shunt, 300);
  EXPECT_EQ(module.CondShunt, 1.0 / 300);
  module.SetValue(10, 44.6);
  EXPECT_EQ(module.NOCT(), 44.6);
  EXPECT_EQ(module.Data().NOCT, 45);
  module.SetValue(11, 5);
  EXPECT_EQ(module.GetValue(11), 0);
  EXPECT_EQ(module.GetValue(0), 0);
  EXPECT_DOUBLE_EQ(module.GetCellTemperature(20, 800), 20 + 24.6);
}

TEST(ModuleProperties, UnknownCellCountBehavesAsHundredCells)
{
  TModuleData hundred = WorkedModuleData();
  hundred.NbCell = 100;
  hundred.U_CO = 62.5;
  hundred.U_MPP = 51;
  TModuleData unknown = hundred;
  unknown.NbCell = 0;
  TModule a(true), b(true);
  ASSERT_TRUE(a.Initialize(hundred));
  ASSERT_TRUE(b.Initialize(unknown));
  EXPECT_EQ(a.GAMMA, b.GAMMA);
  EXPECT_EQ(a.GetPmpp(600, 45), b.GetPmpp(600, 45));
}

TEST(GaussJordan, SolvesWithFullPivotingAndReportsSingularSystems)
{
  // x = (1, −2, 3, 0.5, −4) through a system whose first pivot is zero.
  const double m[5][5] = {{0, 2, 1, 3, -1}, {4, 1, 0, 2, 2}, {1, -3, 5, 0, 1},
                          {2, 2, 2, 8, 0}, {-1, 0, 3, 1, 7}};
  const double x[5] = {1, -2, 3, 0.5, -4};
  TSolverMatrix A;
  for (int r = 0; r < 5; ++r) {
    double rhs = 0;
    for (int c = 0; c < 5; ++c) {
      A(r + 1, c + 1) = m[r][c];
      rhs += m[r][c] * x[c];
    }
    A(r + 1, 6) = rhs;
  }
  double det = 0;
  ASSERT_TRUE(GaussJordan(A, 5, det));
  EXPECT_NE(det, 0);
  for (int k = 0; k < 5; ++k)
    EXPECT_NEAR(A(k + 1, 6), x[k], 1e-12) << k;

  TSolverMatrix singular;
  singular(1, 1) = 1;
  singular(1, 2) = 2;
  singular(1, 3) = 3;
  singular(2, 1) = 2;
  singular(2, 2) = 4;
  singular(2, 3) = 6;
  EXPECT_FALSE(GaussJordan(singular, 2, det));
  EXPECT_EQ(det, 0);
}

TEST(ModuleFailures, EvaluationOfAnUnfittedModuleRaises)
{
  TModule module(true);
  module.SetData(WorkedModuleData());
  EXPECT_THROW(module.GetIsc(1000, 25), EMathError);
  EXPECT_THROW(module.GetPmpp(1000, 25), EMathError);
}

TEST(ModuleFailures, FitMeetingAnOverflowReturnsFalse)
{
  // 3000 V over 36 cells: the diode exponentials overflow at every ideality tried.
  TModuleData d = WorkedModuleData();
  d.NbCell = 36;
  d.U_CO = 3000;
  d.U_MPP = 2900;
  TModule module(true);
  EXPECT_FALSE(module.Initialize(d));
}

namespace {

constexpr double Huge = std::numeric_limits<double>::max() / 4;

struct PathologicalCase {
  const char *name;
  TModuleData data;
};

TModuleData Changed(void (*change)(TModuleData &))
{
  TModuleData d = WorkedModuleData();
  change(d);
  return d;
}

}  // namespace

// Whatever the data, the fit and every evaluation end (with a result or an error).
TEST(ModuleFailures, PathologicalModulesTerminate)
{
  const std::vector<PathologicalCase> cases = {
    {"zero currents", Changed([](TModuleData &d) { d.I_CC = 0; d.I_MPP = 0; d.Puissance = 0; })},
    {"zero everything", TModuleData{}},
    {"negative voltages", Changed([](TModuleData &d) { d.U_CO = -37.5; d.U_MPP = -30.5; })},
    {"MPP beyond open circuit", Changed([](TModuleData &d) { d.U_MPP = 45; d.I_MPP = 9.5; })},
    {"absurd coefficients", Changed([](TModuleData &d) { d.T_U_CO = 50; d.T_I_CC = -30; d.T_P = 1e6; })},
    {"huge values", Changed([](TModuleData &d) { d.U_CO = Huge; d.I_CC = Huge; d.T_P = -Huge; })},
    {"tiny values", Changed([](TModuleData &d) { d.U_CO = 1e-300; d.I_CC = 1e-300; d.U_MPP = 1e-301; d.I_MPP = 1e-301; })},
    {"negative shunt", Changed([](TModuleData &d) { d.R_Shunt = -0.01; })},
    {"negative cells", Changed([](TModuleData &d) { d.NbCell = -60; })},
    {"amorphous", Changed([](TModuleData &d) { d.Amorphe = true; d.NbCell = 0; })},
  };
  for (const PathologicalCase &c : cases) {
    SCOPED_TRACE(c.name);
    const auto start = std::chrono::steady_clock::now();
    TModule module(true);
    const bool fitted = module.Initialize(c.data);
    for (const double t : {-10.0, 25.0, 70.0}) {
      try {
        double u = 0, i = 0, p = 0;
        module.GetmppPoint(1000, t, u, i, p);
        module.U_F_I(1000, t, 1, u, p);
        module.GetIsc(100, t);
      } catch (const EMathError &) {
        // An arithmetic failure reaches the caller: that is an allowed end.
      }
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_LT(seconds, 20) << "fitted: " << fitted;
  }
}
