// The import of a member's production from BDPV: signatures, addresses, reading of the
// answers, and the import against the substitute with every fault mode.

#include "WebServiceTest.h"

#include "shell/DataModuleFixture.h"
#include "support/QtPrinters.h"
#include "support/ScriptedDialogs.h"
#include "production/dmDataProduction.h"
#include "web/BDPVImport.h"

namespace {

const QString kMemberTarget = QStringLiteral(
    "/ajax/ajax_xml_infos_util.php?util=Jean%20Dupont&api_sig=a83f49e766285b5b155e52544d0d3697&api_demandeur=xt57");
const QString kProductionTarget = QStringLiteral(
    "/ajax/ajax_xml_prod_util.php?id_util=4711&annee=tout&api_sig=73c01bcb01fb3014159278e0431e5d1d&api_demandeur=xt57");

TBDPVYear Year(int aFirstValue)
{
  TBDPVYear year;
  for (int m = 0; m < 12; ++m)
    year[static_cast<std::size_t>(m)] = {-1, aFirstValue + m};
  return year;
}

}  // namespace

TEST(BDPVSignature, Md5OfTheWindowsBytesInLowerCase)
{
  EXPECT_EQ(Signature(QString()), QStringLiteral("d41d8cd98f00b204e9800998ecf8427e"));
  EXPECT_EQ(Signature(QStringLiteral("abc")), QStringLiteral("900150983cd24fb0d6963f7d28e17f72"));
  EXPECT_EQ(Signature(QStringLiteral("été")), QStringLiteral("70b06e3087350c8c4fc3f13e741879f3"));
}

TEST(BDPVAddresses, PseudoIsSignedWithItsBlankAndSentWithPercent20)
{
  EXPECT_EQ(MemberURL(QStringLiteral("bdpv.test"), QStringLiteral("Jean Dupont")),
            QStringLiteral("http://bdpv.test") + kMemberTarget);
  EXPECT_EQ(ProductionURL(QStringLiteral("bdpv.test"), 4711), QStringLiteral("http://bdpv.test") + kProductionTarget);
}

TEST(BDPVAnswers, MonthValuesByPosition)
{
  const std::optional<TXmlElement> root = ReadXml(QStringLiteral(
      "<p><y n=\"2007\"/><y n=\"2008\" other=\"x\">"
      "<m n=\"1\"><a>120</a><b>-1</b></m>"
      "<m n=\"2\"><a>-1</a><b>-1</b></m>"
      "<m n=\"3\"><a>5</a><b>80</b></m>"
      "<m n=\"4\"><a>5</a><b>lots</b></m>"
      "<m n=\"5\"><a>5</a></m>"
      "<m n=\"6\"><a>1</a><b>60</b></m><m n=\"6\"><a>1</a><b>99</b></m>"
      "</y></p>"));
  ASSERT_TRUE(root.has_value());
  struct Case {
    int year, month, value;
  };
  const Case cases[] = {{2008, 1, 120}, {2008, 2, 0}, {2008, 3, 80}, {2008, 4, 0}, {2008, 5, 0},
                        {2008, 6, 60},  {2008, 7, 0}, {2007, 1, 0},  {2009, 1, 0}};
  for (const Case &c : cases)
    EXPECT_EQ(GetMonthValue(*root, c.year, c.month), c.value) << c.year << '/' << c.month;
}

TEST(BDPVAnswers, MemberIdentifier)
{
  struct Case {
    const char *xml;
    bool ok;
    int id;
  };
  const Case cases[] = {{"<u><pseudo>x</pseudo><id>42</id></u>", true, 42},
                        {"<u><pseudo>x</pseudo></u>", true, 0},
                        {"<u><ID>7</ID><id>x1</id></u>", false, -1}};
  for (const Case &c : cases) {
    int id = -1;
    EXPECT_EQ(ReadMemberID(*ReadXml(QString::fromUtf8(c.xml)), id), c.ok) << c.xml;
    EXPECT_EQ(id, c.id) << c.xml;
  }
  EXPECT_FALSE(ReadXml(QStringLiteral("}{ not xml")).has_value());
  EXPECT_FALSE(ReadXml(QString()).has_value());
}

class BDPVImport : public WebServiceTest {
protected:
  void SetUp() override
  {
    WebServiceTest::SetUp();
    db.data.Open();
    installation = db.AddInstallation({{QStringLiteral("IDSite"), 1}});
    ASSERT_TRUE(db.data.cdsData->Locate(QStringLiteral("ID"), installation));
    http.Data.BDPVProduction[4711] = {{2008, Year(100)}, {2010, Year(300)}};
  }

  // A field of the installation as stored in the file on disk.
  QVariant Stored(const QString &aField)
  {
    TMyClientDataSet file;
    file.SetFileName(db.DataFile(QStringLiteral("Data.cds")));
    file.Open();
    return file.Locate(QStringLiteral("ID"), installation) ? file.FieldByName(aField).AsVariant() : QVariant();
  }

  // Marks the installation with an unsaved change, to see whether the import saves it.
  void ChangeSiteName(const QString &aName)
  {
    db.data.cdsData->Edit();
    db.data.cdsData->FieldByName(QStringLiteral("Site")).SetAsString(aName);
    db.data.cdsData->Post();
  }

  bool HasRow(int aYear)
  {
    TMonthData months{};
    return db.data.GetProduction(2 * aYear - 4004, months);
  }

  TTempDatabase db;
  int installation = 0;
};

TEST_F(BDPVImport, ImportsTheYearsPublishedAndRecordsTheMember)
{
  ChangeSiteName(QStringLiteral("Toit"));
  ASSERT_TRUE(db.data.LoadUserProduction(QStringLiteral("Jean Dupont")));
  EXPECT_EQ(http.Received, (QStringList{kMemberTarget, kProductionTarget}));
  TMonthData months{};
  ASSERT_TRUE(db.data.GetProduction(12, months));
  EXPECT_EQ(months[0], 100);
  EXPECT_EQ(months[11], 111);
  EXPECT_FALSE(HasRow(2007));
  EXPECT_FALSE(HasRow(2009));
  EXPECT_TRUE(HasRow(2010));
  EXPECT_FALSE(HasRow(2011));
  EXPECT_EQ(Stored(QStringLiteral("BDPV_User")), QVariant(QStringLiteral("Jean Dupont")));
  EXPECT_EQ(Stored(QStringLiteral("BDPV_IDPrimary")).toInt(), 4711);
  EXPECT_EQ(Stored(QStringLiteral("Site")), QVariant(QStringLiteral("Toit")));

  // A second import reuses the identifier, even under another pseudo.
  ASSERT_TRUE(db.data.LoadUserProduction(QStringLiteral("Someone Else")));
  EXPECT_EQ(http.Received, (QStringList{kMemberTarget, kProductionTarget, kProductionTarget}));
}

TEST_F(BDPVImport, UnknownMemberIsImportedAsIdentifierZero)
{
  ASSERT_TRUE(db.data.LoadUserProduction(QStringLiteral("Nobody")));
  ASSERT_EQ(http.Received.size(), 2);
  EXPECT_TRUE(http.Received[1].startsWith(QStringLiteral("/ajax/ajax_xml_prod_util.php?id_util=0&")));
  EXPECT_EQ(Stored(QStringLiteral("BDPV_User")), QVariant(QStringLiteral("Nobody")));
  EXPECT_EQ(Stored(QStringLiteral("BDPV_IDPrimary")).toInt(), 0);
}

TEST_F(BDPVImport, FailedMemberRequestChangesNothingButSavesTheDatabase)
{
  http.SlowDelay = 2 * kTestTimeout;
  for (const TFault fault : {TFault::Slow, TFault::CloseBeforeStatus, TFault::BadRequest, TFault::TooManyRequests,
                             TFault::ServerError, TFault::NotXml, TFault::EmptyBody, TFault::Redirect}) {
    const QString site = QStringLiteral("Site %1").arg(int(fault));
    ChangeSiteName(site);
    http.SetPersistentFault(fault);  // a single dropped connection would be overcome
    http.Received.clear();
    EXPECT_FALSE(db.data.LoadUserProduction(QStringLiteral("Jean Dupont"))) << int(fault);
    EXPECT_EQ(http.Received.first(), kMemberTarget) << int(fault);
    EXPECT_EQ(http.Received.count(kProductionTarget), 0) << int(fault);
    EXPECT_TRUE(Stored(QStringLiteral("BDPV_User")).toString().isEmpty()) << int(fault);
    EXPECT_EQ(Stored(QStringLiteral("BDPV_IDPrimary")).toInt(), 0) << int(fault);
    EXPECT_EQ(Stored(QStringLiteral("Site")), QVariant(site)) << int(fault);
    EXPECT_FALSE(HasRow(2008)) << int(fault);
  }
}

TEST_F(BDPVImport, AbsurdlyNestedAnswerIsRefusedNotFollowed)
{
  // The service answers over plain HTTP, so any answer may arrive; an unbounded nesting
  // must fail the import instead of exhausting the stack.
  TAnswer nested;
  nested.ContentType = "text/xml; charset=utf-8";
  nested.Body = QByteArray("<util>") + QByteArray("<a>").repeated(200000);
  http.SetFixedAnswer(QStringLiteral("/ajax/ajax_xml_infos_util.php"), nested);
  EXPECT_FALSE(db.data.LoadUserProduction(QStringLiteral("Jean Dupont")));
  EXPECT_EQ(http.Received, QStringList{kMemberTarget});
  EXPECT_EQ(Stored(QStringLiteral("BDPV_IDPrimary")).toInt(), 0);
  EXPECT_TRUE(Stored(QStringLiteral("BDPV_User")).toString().isEmpty());
}

TEST_F(BDPVImport, FailedProductionRequestStillRecordsTheMember)
{
  http.SlowDelay = 2 * kTestTimeout;
  for (const TFault fault : {TFault::Slow, TFault::CloseBeforeStatus, TFault::BadRequest, TFault::TooManyRequests,
                             TFault::ServerError, TFault::NotXml, TFault::EmptyBody, TFault::Redirect}) {
    db.data.cdsData->Edit();
    db.data.cdsData->FieldByName(QStringLiteral("BDPV_IDPrimary")).SetAsInteger(4711);
    db.data.cdsData->Post();
    http.SetPersistentFault(fault);  // a single dropped connection would be overcome
    http.Received.clear();
    EXPECT_FALSE(db.data.LoadUserProduction(QStringLiteral("Jean Dupont"))) << int(fault);
    EXPECT_EQ(http.Received.first(), kProductionTarget) << int(fault);
    EXPECT_EQ(Stored(QStringLiteral("BDPV_User")), QVariant(QStringLiteral("Jean Dupont"))) << int(fault);
    EXPECT_EQ(Stored(QStringLiteral("BDPV_IDPrimary")).toInt(), 4711) << int(fault);
    EXPECT_FALSE(HasRow(2008)) << int(fault);
  }
}

TEST_F(BDPVImport, NoYearBefore2007IsImported)
{
  const std::optional<TXmlElement> root =
      ReadXml(QStringLiteral("<p><y n=\"2006\"><m n=\"1\"><a>1</a><b>50</b></m></y></p>"));
  ASSERT_TRUE(root.has_value());
  StoreProductionYears(db.data, *root, 2006);
  StoreProductionYears(db.data, *root, 2030);
  TMonthData months{};
  EXPECT_FALSE(db.data.GetProduction(YearToIDSource(2006), months));
  EXPECT_EQ(db.data.cdsProd->RecordCount(), 0);
}

TEST_F(BDPVImport, CommandAsksThePseudoAndTellsAFailure)
{
  const QString failure = QStringLiteral(
      "La récupération des données a échouée. Vérifiez votre pseudo et votre connexion Internet.\n"
      "Il se peut également que le serveur soit surchargé, c'est souvent le cas en début de mois");
  ScriptedDialogs dialogs;
  EXPECT_FALSE(RunBDPVImport(db.data));  // cancelled
  EXPECT_TRUE(http.Received.isEmpty());
  EXPECT_EQ(dialogs.messages, QStringList{QStringLiteral("Pseudo :")});

  dialogs.QueueInput(QStringLiteral("Jean Dupont"));
  EXPECT_TRUE(RunBDPVImport(db.data));
  EXPECT_EQ(dialogs.messages.size(), 2);

  http.SetPersistentFault(TFault::ServerError);
  dialogs.QueueInput(QStringLiteral("Jean Dupont"));
  EXPECT_FALSE(RunBDPVImport(db.data));
  EXPECT_EQ(dialogs.messages.last(), failure);
  EXPECT_EQ(dialogs.busyDepth, 0);
}
