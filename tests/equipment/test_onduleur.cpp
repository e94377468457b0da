// The inverter: completion of its powers, power ratio and the string-sizing search.

#include "WorkedExamples.h"
#include "support/ScriptedDialogs.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

namespace {

class WorkedSizing : public ::testing::Test {
protected:
  void SetUp() override
  {
    onduleur.SetOnduleur(WorkedOnduleurData());
    FitWorkedModule(onduleur.Module());
  }
  TOnduleur onduleur;
};

}  // namespace

TEST_F(WorkedSizing, BoundsAndSolutionsInOrder)
{
  const TModule &m = onduleur.Module();
  EXPECT_NEAR(m.GetUoc(1000, -10), 41.8, 0.05);
  EXPECT_NEAR(m.GetUmpp(1000, 10), 32.5, 0.1);
  EXPECT_NEAR(m.GetUmpp(1000, 70), 24.4, 0.1);
  EXPECT_NEAR(m.GetImpp(1000, 50), 8.2, 0.05);

  ASSERT_EQ(onduleur.FoundSolution(20, 1000, true), 3);
  EXPECT_EQ(onduleur.ModuleMin(), 6);
  EXPECT_EQ(onduleur.ModuleMax(), 11);
  EXPECT_EQ(onduleur.StringMax(), 2);
  struct Expected {
    int nModule, nString;
    double ratio;
  };
  const Expected expected[] = {{11, 1, 83.4}, {6, 2, 90.9}, {7, 2, 106.1}};
  for (int k = 0; k < 3; ++k) {
    const TSolution *s = onduleur.GetSolution(k);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->NModule, expected[k].nModule) << k;
    EXPECT_EQ(s->NString, expected[k].nString) << k;
    EXPECT_EQ(s->Modules, expected[k].nModule * expected[k].nString);
    EXPECT_NEAR(s->Rendement, expected[k].ratio, 0.05) << k;
    EXPECT_NEAR(s->UNomSTC, 30.5 * expected[k].nModule, 1e-4);
    EXPECT_EQ(s->OverPMax, expected[k].ratio > 100);
  }
  EXPECT_EQ(onduleur.GetSolution(3), nullptr);
  const TSolution *best = onduleur.GetBestSolution(12);
  ASSERT_NE(best, nullptr);
  EXPECT_EQ(best->NModule, 6);
  EXPECT_EQ(best->NString, 2);
  EXPECT_EQ(onduleur.GetBestSolution(13), nullptr);
}

TEST_F(WorkedSizing, TrackersMultiplyTheCurrentLimitAndTheBoundIsStrict)
{
  const double impp = onduleur.Module().GetImpp(1000, 50);
  struct Case {
    int trackers;
    double iMax;
    int strings;
  };
  // The third row puts the limit exactly on three MPP currents: only two strings fit.
  for (const Case c : {Case{0, 18, 2}, Case{1, 18, 2}, Case{2, 18, 4}, Case{1, impp + impp + impp, 2}}) {
    TOnduleurData o = WorkedOnduleurData();
    o.Nb_MPPT = c.trackers;
    o.IMax = c.iMax;
    onduleur.SetOnduleur(o);
    onduleur.FoundSolution(20, 1000, true);
    EXPECT_EQ(onduleur.StringMax(), c.strings) << c.trackers << " " << c.iMax;
  }
}

TEST_F(WorkedSizing, ModuleWithoutMaximumVoltageGivesNoSolution)
{
  TModuleData d = WorkedModuleData();
  d.UMax = 0;
  ASSERT_TRUE(onduleur.Module().Initialize(d));
  EXPECT_EQ(onduleur.FoundSolution(20, 1000, true), 0);
  EXPECT_EQ(onduleur.ModuleMax(), 0);
  EXPECT_EQ(onduleur.SolutionCount(), 0);
}

TEST_F(WorkedSizing, NoDcPowerKeepsNoSolutionUnlessTheToleranceExceedsHundred)
{
  TOnduleurData o = WorkedOnduleurData();
  o.PMax_DC = 0;
  onduleur.SetOnduleur(o);
  ASSERT_EQ(onduleur.Onduleur().PMax_DC, 0);
  EXPECT_EQ(onduleur.FoundSolution(20, 1000, true), 0);
  EXPECT_EQ(onduleur.FoundSolution(100.5, 1000, true), (11 - 6 + 1) * 2);
}

TEST_F(WorkedSizing, FailedBoundsAreReportedOnlyWhenAsked)
{
  ScriptedDialogs dialogs;
  ASSERT_EQ(onduleur.FoundSolution(20, 1000, true), 3);
  TOnduleurData o = WorkedOnduleurData();
  o.UMin_MPP = 1e9;  // never reached by adding modules
  onduleur.SetOnduleur(o);
  EXPECT_EQ(onduleur.FoundSolution(20, 1000, true), 0);
  EXPECT_TRUE(dialogs.messages.isEmpty());
  onduleur.SetShowErrorMessage(true);
  EXPECT_EQ(onduleur.FoundSolution(20, 1000, true), 0);
  EXPECT_EQ(dialogs.messages, QStringList{QStringLiteral("Les données matérielles comportent des erreurs")});
  // The previous solutions and bounds are kept.
  EXPECT_EQ(onduleur.SolutionCount(), 3);
  EXPECT_EQ(onduleur.ModuleMin(), 6);
}

TEST(OnduleurSearch, UnfittedModuleRaisesAfterTheMessage)
{
  ScriptedDialogs dialogs;
  TOnduleur onduleur;
  onduleur.SetOnduleur(WorkedOnduleurData());
  onduleur.Module().SetData(WorkedModuleData());
  onduleur.SetShowErrorMessage(true);
  EXPECT_ANY_THROW(onduleur.FoundSolution(20, 1000, true));
  EXPECT_EQ(dialogs.messages.size(), 1);
}

TEST(OnduleurPowers, CompletionOfMissingPowers)
{
  TOnduleur onduleur;
  TOnduleurData o;
  o.PNominal_AC = 3;
  onduleur.SetOnduleur(o);
  const TOnduleurData &c = onduleur.Onduleur();
  EXPECT_DOUBLE_EQ(c.PNominal_DC, 3 / 0.95);
  EXPECT_DOUBLE_EQ(c.PMax_DC, 3 / 0.95 / 0.85);
  EXPECT_DOUBLE_EQ(c.PMax_AC, 3 / 0.85);
  EXPECT_EQ(c.PNominal_AC, 3);
  EXPECT_TRUE(c.PCalculated);
  EXPECT_EQ(c.Rendement, 0);

  TOnduleurData all;
  all.PNominal_DC = 4;
  all.PMax_DC = 4.4;
  all.PNominal_AC = 3.8;
  all.PMax_AC = 4;
  all.Rendement = 96;
  onduleur.SetOnduleur(all);
  EXPECT_EQ(onduleur.Onduleur().PNominal_DC, 4);
  EXPECT_EQ(onduleur.Onduleur().PMax_DC, 4.4);
  EXPECT_EQ(onduleur.Onduleur().PNominal_AC, 3.8);
  EXPECT_EQ(onduleur.Onduleur().PMax_AC, 4);
  EXPECT_FALSE(onduleur.Onduleur().PCalculated);

  TOnduleurData dcOnly;
  dcOnly.PMax_DC = 5;
  dcOnly.Rendement = 90;
  onduleur.SetOnduleur(dcOnly);
  EXPECT_DOUBLE_EQ(onduleur.Onduleur().PMax_AC, 4.5);
  EXPECT_DOUBLE_EQ(onduleur.Onduleur().PNominal_DC, 4.25);
  EXPECT_DOUBLE_EQ(onduleur.Onduleur().PNominal_AC, 4.25 * 0.9);
}

TEST(OnduleurPowers, PowerRatio)
{
  struct Case {
    double nominalDC, maxDC, pv;
    bool nominal;
    double expected;
  };
  // A record with a DC power always has both after completion; without any power the
  // ratio is 0.
  const Case cases[] = {
    {5, 5.5, 5000, true, 100},
    {5, 5.5, 5000, false, 5000 / 5.5 / 10},
    {4, 4.6, 4600, false, 100},
    {0, 0, 4000, true, 0},
    {0, 0, 4000, false, 0},
  };
  for (const Case &c : cases) {
    TOnduleur onduleur;
    TOnduleurData o;
    o.PNominal_DC = c.nominalDC;
    o.PMax_DC = c.maxDC;
    onduleur.SetOnduleur(o);
    EXPECT_NEAR(onduleur.GetRapportPuissance(c.pv, c.nominal), c.expected, 1e-9)
        << c.nominalDC << " " << c.maxDC << " " << c.nominal;
  }
}
