// Module arrays: strings of modules in series, in parallel, and the string-configuration
// operations of the module.

#include "WorkedExamples.h"
#include "equipment/TableInterpolation.h"
#include "equipment/unMultiModule.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <vector>

namespace {

class WorkedArray : public ::testing::Test {
protected:
  void SetUp() override { ASSERT_TRUE(module.Initialize(WorkedModuleData())); }
  TModule module{true};
};

}  // namespace

TEST_F(WorkedArray, ShortCircuitCurrentCountsTheStrings)
{
  EXPECT_DOUBLE_EQ(module.GetIsc({10, 10, 10}, 1000, 25), 3 * module.GetIsc(1000, 25));
  EXPECT_DOUBLE_EQ(module.GetIsc({4, 12}, 600, 40), 2 * module.GetIsc(600, 40));
}

TEST_F(WorkedArray, OneStringScalesTheModuleMpp)
{
  double u1 = 0, i1 = 0, p1 = 0, u = 0, i = 0, p = 0;
  module.GetmppPoint(800, 40, u1, i1, p1);
  module.GetmppPoint({7}, 800, 40, u, i, p);
  EXPECT_DOUBLE_EQ(u, 7 * u1);
  EXPECT_DOUBLE_EQ(i, i1);
  EXPECT_DOUBLE_EQ(p, 7 * p1);
  EXPECT_DOUBLE_EQ(module.GetUoc({7}, 800, 40), 7 * module.GetUoc(800, 40));
}

TEST_F(WorkedArray, EmptyConfigurationRaisesInEveryOverload)
{
  const TStringConfiguration none;
  double u = 0, i = 0, p = 0;
  const std::vector<std::function<void()>> calls = {
    [&] { module.I_F_U(none, 1000, 25, 10, i, p); },
    [&] { module.GetUoc(none, 1000, 25); },
    [&] { module.GetIsc(none, 1000, 25); },
    [&] { module.GetmppPoint(none, 1000, 25, u, i, p); },
    [&] { module.GetUmpp(none, 1000, 25); },
    [&] { module.GetImpp(none, 1000, 25); },
    [&] { module.GetPmpp(none, 1000, 25); },
  };
  for (std::size_t k = 0; k < calls.size(); ++k) {
    try {
      calls[k]();
      ADD_FAILURE() << "overload " << k << " did not raise";
    } catch (const std::invalid_argument &e) {
      EXPECT_EQ(QString::fromStdString(e.what()), QStringLiteral("Nombre de string ne peut être nul"));
    }
  }
}

TEST_F(WorkedArray, ThreeEqualStrings)
{
  TMultiModule array({10, 10, 10}, true);
  ASSERT_TRUE(array.Initialize(WorkedModuleData()));
  EXPECT_DOUBLE_EQ(array.GetUoc(1000, 25), 10 * module.GetUoc(1000, 25));
  EXPECT_DOUBLE_EQ(array.GetIsc(1000, 25), 3 * module.GetIsc(1000, 25));
  EXPECT_EQ(array.Strings(3).NIscMax, 0);
  EXPECT_EQ(array.Strings(3).NbModule, 30);
  // Every module holds the model the worked data fit gives.
  EXPECT_EQ(array.Module(2, 9).GAMMA, module.GAMMA);
  EXPECT_EQ(array.Module(1, 4).RSerie_Ref, module.RSerie_Ref);
  EXPECT_EQ(array.Module(2, 9).GetPmpp(800, 40), module.GetPmpp(800, 40));
  // The array MPP is three times the string's, to the resolution of the 1000-point curve.
  EXPECT_NEAR(array.GetPmpp(1000, 25), 30 * 250.1, 30 * 250.1 * 1e-3);
  EXPECT_NEAR(array.GetUmpp(1000, 25), 10 * 30.5, 10 * 37.5 / 999);
}

TEST(ModuleArrayWithoutModules, RaisesInsteadOfReadingAMissingModule)
{
  for (const TStringConfiguration &configuration : {TStringConfiguration{}, TStringConfiguration{0}}) {
    TMultiModule array(configuration, true);
    ASSERT_TRUE(array.Initialize(WorkedModuleData()));
    EXPECT_THROW(array.GetUoc(1000, 25), std::exception) << configuration.size() << " strings";
    EXPECT_THROW(array.GetIsc(1000, 25), std::exception) << configuration.size() << " strings";
    double i = -1, p = -1;
    array.I_F_U(1000, 25, 100, i, p);
    EXPECT_EQ(i, -1);
    EXPECT_EQ(p, -1);
  }
}

TEST_F(WorkedArray, MppIsComputedOncePerIrradianceAndTemperature)
{
  TMultiModule array({10, 10}, true);
  ASSERT_TRUE(array.Initialize(WorkedModuleData()));
  const double first = array.GetPmpp(1000, 25);
  // A module changed behind the array's back shows only once the conditions change.
  TModuleData weaker = WorkedModuleData();
  weaker.I_CC = 4.4;
  weaker.I_MPP = 4.1;
  ASSERT_TRUE(array.Module(0, 0).Initialize(weaker));
  EXPECT_EQ(array.GetPmpp(1000, 25), first);
  EXPECT_LT(array.GetPmpp(999, 25), 0.75 * first);
}

TEST_F(WorkedArray, UnequalStringsFollowTheLongestOne)
{
  TMultiModule array({10, 12}, true);
  ASSERT_TRUE(array.Initialize(WorkedModuleData()));
  const double uoc12 = 12 * module.GetUoc(1000, 25);
  EXPECT_DOUBLE_EQ(array.GetUoc(1000, 25), uoc12);
  EXPECT_EQ(array.Strings(2).NUocMax, 1);
  std::vector<double> u(200), i(200);
  array.GetCaracteristique(1000, 25, u, i);
  EXPECT_EQ(u.front(), 0);
  EXPECT_NEAR(u.back(), uoc12, 1e-9);
  EXPECT_EQ(i.back(), 0);
  // Below the shorter string's open-circuit voltage both strings deliver current.
  EXPECT_NEAR(i.front(), 2 * 8.8, 1e-6);
}

TEST_F(WorkedArray, DifferentModulesGiveCurvesEndingAtZeroCurrent)
{
  TMultiModule array({3, 2}, false);
  TModuleData weaker = WorkedModuleData();
  weaker.I_CC = 8.0;
  weaker.I_MPP = 7.5;
  weaker.U_CO = 36.8;
  for (int p = 0; p < 3; ++p)
    ASSERT_TRUE(array.Module(0, p).Initialize(p == 1 ? weaker : WorkedModuleData()));
  for (int p = 0; p < 2; ++p)
    ASSERT_TRUE(array.Module(1, p).Initialize(WorkedModuleData()));
  const double uocWeak = array.Module(0, 1).GetUoc(1000, 25);
  EXPECT_NEAR(array.GetUoc(1000, 25), 2 * module.GetUoc(1000, 25) + uocWeak, 1e-9);
  EXPECT_EQ(array.Strings(0).NUocMin, 1);
  EXPECT_EQ(array.Strings(2).NUocMax, 0);
  EXPECT_NEAR(array.GetIsc(1000, 25), 2 * 8.8, 1e-6);

  std::vector<double> u(300), i(300);
  array.GetCaracteristique(1000, 25, u, i);
  EXPECT_EQ(i.back(), 0);
  EXPECT_GT(array.GetPmpp(1000, 25), 0);
  // In series, the weaker module limits the string's current near short circuit.
  EXPECT_LT(array.Strings(0).Impp, 8.2);
}

TEST_F(WorkedArray, ArrayCurrentAndVoltageInterpolateTheCurve)
{
  double i = -1, p = -1, u = -1;
  module.I_F_U({10, 10}, 1000, 25, 0, i, p);
  EXPECT_NEAR(i, 2 * 8.8, 1e-6);
  module.I_F_U({10, 10}, 1000, 25, 10 * 37.5, i, p);
  EXPECT_NEAR(i, 0, 1e-3);
  module.I_F_U({10, 10}, 1000, 25, 10 * 30.5, i, p);
  EXPECT_NEAR(i, 2 * 8.2, 1e-2);
  module.MultiModule()->U_F_I(1000, 25, 2 * 8.2, u, p);
  EXPECT_NEAR(u, 10 * 30.5, 0.5);
}

TEST_F(WorkedArray, ConfigurationChangesReplaceTheArray)
{
  module.GetPmpp({5, 5}, 1000, 25);
  const TMultiModule *first = module.MultiModule();
  module.GetPmpp({5, 5}, 900, 25);
  EXPECT_EQ(module.MultiModule(), first);
  module.GetPmpp({5, 6}, 1000, 25);
  ASSERT_NE(module.MultiModule(), nullptr);
  EXPECT_EQ(module.MultiModule()->NbModule(), 11);
  ASSERT_TRUE(module.Initialize());
  EXPECT_EQ(module.MultiModule(), nullptr);
}

TEST_F(WorkedArray, CharacteristicsOverTemperatureAndIrradiance)
{
  std::vector<double> x(5), y(5);
  module.GetTempCaracteristique({2, 2}, 1000, -10, 70, TCaracteristiqueKind::Isc, x, y);
  EXPECT_EQ(x.front(), -10);
  EXPECT_EQ(x.back(), 70);
  EXPECT_DOUBLE_EQ(y[2], 2 * module.GetIsc(1000, 30));
  module.GetIrradiationCaracteristique({3}, 25, 200, 1000, TCaracteristiqueKind::UocIsc, x, y);
  EXPECT_DOUBLE_EQ(x.back(), 3 * module.GetUoc(1000, 25));
  EXPECT_DOUBLE_EQ(y.front(), module.GetIsc(200, 25));

  std::vector<double> u(50), i(50);
  double umpp = 0, impp = 0;
  const int points = module.MultiStringCaracteristique_V2({4}, 1000, 25, u, i, umpp, impp);
  EXPECT_LE(points, 50);
  EXPECT_NEAR(umpp, 4 * 30.5, 4 * 2.0);
  module.MultiStringCaracteristique({4, 4}, 1000, 25, u, i, umpp, impp);
  EXPECT_NEAR(umpp, 4 * 30.5, 4 * 37.5 / 49);
}

TEST(TableInterpolation, InsideAtAndBeyondTheEnds)
{
  const std::vector<double> x = {0, 1, 1, 3};
  const std::vector<double> y = {10, 8, 6, 0};
  struct Case {
    double at;
    double expected;
  };
  const TTableInterpolator table(x, y);
  for (const Case c : {Case{0.5, 9}, Case{1, 6}, Case{2, 3}, Case{-1, 12}, Case{3, 0}, Case{5, 0}}) {
    EXPECT_DOUBLE_EQ(Interpolate(x, y, c.at), c.expected) << c.at;
    EXPECT_DOUBLE_EQ(table(c.at), c.expected) << c.at;
  }
  // Abscissae out of order: the first one above x still decides.
  const std::vector<double> unordered = {0, 4, 2, 6};
  const TTableInterpolator scanned(unordered, y);
  EXPECT_DOUBLE_EQ(scanned(3), Interpolate(unordered, y, 3));
  EXPECT_DOUBLE_EQ(scanned(3), 10 + (8 - 10) * 3.0 / 4);
  for (const Case c : {Case{9, 0.5}, Case{7, 1}, Case{3, 2}, Case{0, 3}, Case{-2, 3}})
    EXPECT_DOUBLE_EQ(InverseInterpolate(x, y, c.at), c.expected) << c.at;
}
