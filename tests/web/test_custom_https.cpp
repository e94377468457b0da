// The HTTPS client: line log, value extraction, response files, redirects, time-out,
// repeats after a dropped connection, HTTP failures, TLS trust, cookies and charsets.

#include "WebServiceTest.h"

#include "support/QtPrinters.h"
#include "web/LoggingCookieJar.h"
#include "web/ProtocolLogger.h"
#include "web/ResponseFileName.h"
#include "web/TextCodec.h"
#include "web/dmCustomHTTPS.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QNetworkCookie>
#include <QTcpServer>

namespace {

int CountStarting(const QStringList &aLines, const QString &aPrefix)
{
  int count = 0;
  for (const QString &line : aLines)
    count += line.startsWith(aPrefix) ? 1 : 0;
  return count;
}

TAnswer Answer(const QByteArray &aContentType, const QByteArray &aBody)
{
  TAnswer answer;
  answer.ContentType = aContentType;
  answer.Body = aBody;
  return answer;
}

}  // namespace

TEST(CustomHTTPSLog, SplitsTextIntoLines)
{
  struct Case {
    QString text;
    QStringList lines;
  };
  const Case cases[] = {
      {QStringLiteral("a\r\nb"), {QStringLiteral("a"), QStringLiteral("b")}},
      {QStringLiteral("a\n"), {QStringLiteral("a")}},
      {QString(), {}},
      {QStringLiteral("a\n\nb"), {QStringLiteral("a"), QString(), QStringLiteral("b")}},
      {QStringLiteral("a\rb"), {QStringLiteral("a\rb")}},
  };
  TCustomHTTPS client;
  for (const Case &c : cases) {
    QStringList log;
    client.SetOutputs(&log, nullptr);
    client.AddLog(c.text);
    EXPECT_EQ(log, c.lines) << c.text.toStdString();
  }
}

TEST(CustomHTTPSLog, KeepsAtMost5000LinesBeforeAdding)
{
  TCustomHTTPS client;
  QStringList log;
  client.SetOutputs(&log, nullptr);
  for (int i = 0; i < 5001; ++i)
    log << QString::number(i);
  client.AddLog(QStringLiteral("next"));
  ASSERT_EQ(log.size(), 5001);
  EXPECT_EQ(log.first(), QStringLiteral("1"));
  EXPECT_EQ(log.last(), QStringLiteral("next"));
}

TEST(CustomHTTPSOutputs, ClearsTheListsGivenAndAcceptsNone)
{
  TCustomHTTPS client;
  QStringList log{QStringLiteral("old")};
  QStringList document{QStringLiteral("old")};
  client.SetOutputs(&log, &document);
  EXPECT_TRUE(log.isEmpty());
  EXPECT_TRUE(document.isEmpty());
  client.SetOutputs(nullptr, nullptr);
  client.AddLog(QStringLiteral("nowhere"));
  EXPECT_EQ(client.GetData(QStringLiteral("(.*)"), false, 1), QVariant(QString()));
}

TEST(CustomHTTPSGetData, ExtractsTextOrNumbers)
{
  struct Case {
    QString expression;  // RegDataExpression
    QString pattern;
    bool asFloat;
    int index;
    QVariant expected;
  };
  const Case cases[] = {
      {QStringLiteral("%s"), QStringLiteral("<x>(.*)</x>"), true, 1, QVariant(0)},
      {QStringLiteral("%s"), QStringLiteral("<x>(.*)</x>"), false, 1, QVariant(QString())},
      {QStringLiteral("%s"), QStringLiteral("<v>(.*)</v>"), true, 1, QVariant(12.5)},
      {QStringLiteral("%s"), QStringLiteral("<city>(.*)</city>"), true, 1, QVariant(0)},
      {QStringLiteral("%s"), QStringLiteral("<CITY>(.*)</CITY>"), false, 1, QVariant(QStringLiteral("Nice"))},
      {QStringLiteral("%s"), QStringLiteral("<pair>(\\w+) (\\w+)</pair>"), false, 2, QVariant(QStringLiteral("two"))},
      {QStringLiteral("<v>%s</v>"), QStringLiteral("(.*)"), true, 1, QVariant(12.5)},
      // "." stops at line ends: the capture stays on its line.
      {QStringLiteral("%s"), QStringLiteral("<open>(.*)"), false, 1, QVariant(QStringLiteral("first"))},
  };
  QStringList document{QStringLiteral("<v> 12,5 </v>"), QStringLiteral("<city> Nice </city>"),
                       QStringLiteral("<pair>one two</pair>"), QStringLiteral("<open>first"),
                       QStringLiteral("second")};
  TCustomHTTPS client;
  client.SetOutputs(nullptr, &document);
  document = QStringList{QStringLiteral("<v> 12,5 </v>"), QStringLiteral("<city> Nice </city>"),
                         QStringLiteral("<pair>one two</pair>"), QStringLiteral("<open>first"),
                         QStringLiteral("second")};
  for (const Case &c : cases) {
    client.SetRegDataExpression(c.expression);
    EXPECT_EQ(client.GetData(c.pattern, c.asFloat, c.index), c.expected) << c.pattern.toStdString();
  }
}

TEST(CustomHTTPSResponseFile, NameFollowsTypeAndFixedName)
{
  struct Case {
    QString fixed, document, type, expected;
  };
  const Case cases[] = {
      {QString(), QStringLiteral("photo.php"), QStringLiteral("image/jpeg"), QStringLiteral("photo.jpg")},
      {QString(), QStringLiteral("logo"), QStringLiteral("image/gif"), QStringLiteral("logo.gif")},
      {QString(), QStringLiteral("a.b.php"), QStringLiteral("image/bmp"), QStringLiteral("a.b.bmp")},
      {QString(), QStringLiteral("PVcalc"), QStringLiteral("text/plain; charset=utf-8"), QStringLiteral("PVcalc")},
      {QString(), QString(), QStringLiteral("text/html"), QStringLiteral("HTTPS.htm")},
      {QStringLiteral("fixed.txt"), QStringLiteral("x.php"), QStringLiteral("text/html"), QStringLiteral("fixed.txt")},
  };
  for (const Case &c : cases)
    EXPECT_EQ(ResponseFileName(c.fixed, c.document, c.type), c.expected) << c.document.toStdString();
  EXPECT_EQ(DocumentName(QUrl(QStringLiteral("https://h/a/photo.php?x=1"))), QStringLiteral("photo.php"));
}

TEST(CustomHTTPSCookies, DescribesEachCookie)
{
  QNetworkCookie session("id", "42");
  session.setDomain(QStringLiteral("example.org"));
  session.setPath(QStringLiteral("/"));
  EXPECT_EQ(TLoggingCookieJar::Describe(session),
            QStringLiteral("NewCookie: id=42, Domain=example.org, Path=/, Not Persisent"));
  QNetworkCookie persistent = session;
  persistent.setExpirationDate(QDateTime(QDate(2030, 1, 2), QTime(3, 4, 5), Qt::UTC));
  persistent.setSecure(true);
  persistent.setHttpOnly(true);
  EXPECT_EQ(TLoggingCookieJar::Describe(persistent),
            QStringLiteral("NewCookie: id=42, Domain=example.org, Path=/, Expires=02/01/2030 03:04:05, "
                           "SecureOnly, HttpOnly"));
}

TEST(CustomHTTPSCodec, Windows1252BothWays)
{
  const QString text = QStringLiteral("é€ ok");
  EXPECT_EQ(ToWindows1252(text), QByteArray("\xE9\x80 ok"));
  EXPECT_EQ(FromWindows1252(ToWindows1252(text)), text);
  EXPECT_EQ(ToWindows1252(QStringLiteral("日")), QByteArray("?"));
}

class CustomHTTPSService : public WebServiceTest {
protected:
  void SetUp() override
  {
    WebServiceTest::SetUp();
    client = std::make_unique<TCustomHTTPS>();
    client->SetDataPath(temp.path() + QLatin1Char('/'));
    client->SetOutputs(&log, &document);
  }
  QString Url(const QString &aPath) const { return https.BaseUrl() + aPath; }

  QStringList log;
  QStringList document;
  std::unique_ptr<TCustomHTTPS> client;
};

TEST_F(CustomHTTPSService, TextAnswerFillsTheDocumentAndSendsTheClientHeaders)
{
  ASSERT_TRUE(client->GetURL(Url(QStringLiteral("/api/v5_2/PVcalc?outputformat=csv&peakpower=3"))));
  EXPECT_TRUE(client->Success());
  EXPECT_FALSE(client->IsRunning());
  EXPECT_EQ(document.value(8), QStringLiteral("Fixed angle"));
  EXPECT_TRUE(QFile::exists(temp.file(QStringLiteral("PVcalc"))));
  EXPECT_TRUE(log.contains(QStringLiteral("HTML Codepage: utf-8")));
  EXPECT_TRUE(log.contains(QStringLiteral("Request done, StatusCode #200")));
  EXPECT_TRUE(log.contains(QStringLiteral("hdr>Content-Type: text/plain; charset=utf-8")));
  EXPECT_TRUE(log.contains(QStringLiteral("text/plain; charset=utf-8 => PVcalc")));
  EXPECT_TRUE(https.LastHeaders.contains("User-Agent: Mozilla/4.0 (compatible; ICS; MSIE 4.0)"));
  EXPECT_TRUE(https.LastHeaders.contains("Accept-Language: en, fr"));
  QFile protocol(TProtocolLogger::FileName());
  ASSERT_TRUE(protocol.open(QIODevice::ReadOnly));
  EXPECT_TRUE(protocol.readAll().contains("Connecting to: " + Url(QStringLiteral("/api/v5_2/PVcalc")).toUtf8()));
}

TEST_F(CustomHTTPSService, ImageIsStoredUnderItsTypeAndOnlyDescribed)
{
  https.SetFixedAnswer(QStringLiteral("/photo.php"), Answer("image/jpeg", QByteArray(1234, 'x')));
  ASSERT_TRUE(client->GetURL(Url(QStringLiteral("/photo.php?id=3"))));
  EXPECT_EQ(client->DocFileName(), QStringLiteral("photo.jpg"));
  EXPECT_EQ(QFileInfo(temp.file(QStringLiteral("photo.jpg"))).size(), 1234);
  EXPECT_EQ(document, (QStringList{QStringLiteral("Content type is image/jpeg"),
                                   QStringLiteral("Document stored in 'photo.php' Size=1234")}));
}

TEST_F(CustomHTTPSService, FixedDataFileNameReceivesEveryResponse)
{
  https.SetFixedAnswer(QStringLiteral("/one"), Answer("text/plain", "first"));
  https.SetFixedAnswer(QStringLiteral("/two"), Answer("text/plain", "second"));
  client->SetDataFileName(QStringLiteral("answer.txt"));
  ASSERT_TRUE(client->GetURL(Url(QStringLiteral("/one"))));
  ASSERT_TRUE(client->GetURL(Url(QStringLiteral("/two"))));
  QFile file(temp.file(QStringLiteral("answer.txt")));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(file.readAll(), QByteArray("second"));
  EXPECT_FALSE(QFile::exists(temp.file(QStringLiteral("one"))));
}

TEST_F(CustomHTTPSService, DecodesByDeclaredCharset)
{
  https.SetFixedAnswer(QStringLiteral("/header"), Answer("text/plain; charset=windows-1252", "\xE9t\xE9"));
  https.SetFixedAnswer(QStringLiteral("/meta"),
                       Answer("text/html", "<meta charset=\"iso-8859-1\">\n<p>\xE9t\xE9</p>"));
  ASSERT_TRUE(client->GetURL(Url(QStringLiteral("/header"))));
  EXPECT_EQ(document, QStringList{QStringLiteral("été")});
  EXPECT_TRUE(log.contains(QStringLiteral("HTML Codepage: windows-1252")));
  ASSERT_TRUE(client->GetURL(Url(QStringLiteral("/meta"))));
  EXPECT_EQ(document.value(1), QStringLiteral("<p>été</p>"));
}

TEST_F(CustomHTTPSService, FollowsFiveRedirectsButNotSix)
{
  https.QueueFault(TFault::Redirect, 5);
  ASSERT_TRUE(client->GetURL(Url(QStringLiteral("/api/v5_2/PVcalc?outputformat=csv&peakpower=1"))));
  EXPECT_EQ(CountStarting(log, QStringLiteral("Location changed to \"")), 5);
  EXPECT_EQ(https.Received.size(), 6);

  https.SetPersistentFault(TFault::Redirect);
  EXPECT_FALSE(client->GetURL(Url(QStringLiteral("/loop"))));
  EXPECT_FALSE(client->IsRunning());
  EXPECT_TRUE(log.contains(QStringLiteral("Connect error. TooManyRedirectsError: Maximum number of redirections exceeded")));
}

TEST_F(CustomHTTPSService, AbandonsASilentServerAfterTheTimeOut)
{
  client->SetTimeout(200);
  https.SlowDelay = 5000;
  https.QueueFault(TFault::Slow);
  QElapsedTimer clock;
  clock.start();
  EXPECT_FALSE(client->GetURL(Url(QStringLiteral("/slow"))));
  EXPECT_LT(clock.elapsed(), 3000);
  EXPECT_FALSE(client->Success());
  EXPECT_FALSE(client->IsRunning());
  EXPECT_EQ(CountStarting(log, QStringLiteral("Connect error. OperationCanceledError: Request aborted on timeout")), 1);
}

TEST_F(CustomHTTPSService, RepeatsAPrematureCloseAtMostThreeTimes)
{
  https.SetPersistentFault(TFault::CloseBeforeStatus);
  EXPECT_FALSE(client->GetURL(Url(QStringLiteral("/closed"))));
  EXPECT_FALSE(client->IsRunning());
  EXPECT_EQ(CountStarting(log, QStringLiteral("Connecting to: ")), 1 + TCustomHTTPS::kMaxPrematureCloseRepeats);
  EXPECT_EQ(CountStarting(log, QStringLiteral("Connect error. RemoteHostClosedError: Error: connection closed prematurely")),
            1 + TCustomHTTPS::kMaxPrematureCloseRepeats);

  // One dropped connection is overcome.
  https.SetPersistentFault(TFault::None);
  https.QueueFault(TFault::CloseBeforeStatus);
  EXPECT_TRUE(client->GetURL(Url(QStringLiteral("/api/v5_2/PVcalc?outputformat=csv&peakpower=1"))));
}

TEST_F(CustomHTTPSService, HttpErrorsFailAndOnlyBadRequestSetsTheFlag)
{
  struct Case {
    TFault fault;
    bool badRequest;
  };
  const Case cases[] = {{TFault::BadRequest, true}, {TFault::TooManyRequests, false},
                        {TFault::BadRequest, true}, {TFault::ServerError, false}};
  for (const Case &c : cases) {
    https.QueueFault(c.fault);
    EXPECT_FALSE(client->GetURL(Url(QStringLiteral("/fault"))));
    EXPECT_FALSE(client->Success());
    EXPECT_EQ(client->BadRequest(), c.badRequest);
  }
  https.QueueFault(TFault::BadRequest);
  EXPECT_FALSE(client->GetURL(Url(QStringLiteral("/fault"))));
  EXPECT_TRUE(log.contains(QStringLiteral("Connect error. ProtocolInvalidOperationError: BAD REQUEST")));
  // A later success leaves the flag as it was.
  EXPECT_TRUE(client->GetURL(Url(QStringLiteral("/api/v5_2/PVcalc?outputformat=csv&peakpower=1"))));
  EXPECT_TRUE(client->BadRequest());
}

TEST_F(CustomHTTPSService, RefusesAServerWithAnUntrustedCertificate)
{
  const TTestCertificate stranger = MakeTestCertificate();
  TSubstituteService impostor(TSubstituteService::TScheme::Https);
  impostor.SetCertificate(stranger.Certificate, stranger.Key);
  ASSERT_TRUE(impostor.Start());
  EXPECT_FALSE(client->GetURL(impostor.BaseUrl() + QStringLiteral("/api/v5_2/PVcalc?outputformat=csv")));
  EXPECT_TRUE(impostor.Received.isEmpty());
  EXPECT_GE(CountStarting(log, QStringLiteral("SSL error: ")), 1);
  EXPECT_EQ(CountStarting(log, QStringLiteral("Connect error. SslHandshakeFailedError: ")), 1);
}

TEST_F(CustomHTTPSService, AsynchronousRequestEndsWithWait)
{
  client->SetUseAsync(true);
  ASSERT_TRUE(client->GetURL(Url(QStringLiteral("/api/v5_2/MRcalc?lat=1&lon=2"))));
  EXPECT_TRUE(client->IsRunning());
  client->Wait();
  EXPECT_FALSE(client->IsRunning());
  EXPECT_TRUE(client->Success());
  EXPECT_EQ(document.value(4), QStringLiteral("year\t\tmonth\t\tT2m"));

  https.QueueFault(TFault::ServerError);
  ASSERT_TRUE(client->GetURL(Url(QStringLiteral("/fault"))));
  client->Wait();
  EXPECT_FALSE(client->Success());
}

TEST_F(CustomHTTPSService, LogsCookiesAndNeverSendsThemBack)
{
  TAnswer withCookie = Answer("text/plain", "ok");
  withCookie.Headers.append(qMakePair(QByteArray("Set-Cookie"), QByteArray("session=abc; Path=/; HttpOnly")));
  https.SetFixedAnswer(QStringLiteral("/cookie"), withCookie);
  ASSERT_TRUE(client->GetURL(Url(QStringLiteral("/cookie"))));
  EXPECT_TRUE(log.contains(QStringLiteral("NewCookie: session=abc, Domain=127.0.0.1, Path=/, Not Persisent, HttpOnly")));
  ASSERT_TRUE(client->GetURL(Url(QStringLiteral("/cookie"))));
  for (const QByteArray &header : https.LastHeaders)
    EXPECT_FALSE(header.toLower().startsWith("cookie:"));
}

TEST_F(CustomHTTPSService, PostsFormDataInTheWindowsCodePage)
{
  https.SetFixedAnswer(QStringLiteral("/form"), Answer("text/plain", "posted"));
  ASSERT_TRUE(client->PostURL(Url(QStringLiteral("/form")), QStringLiteral("nom=été")));
  EXPECT_EQ(document, QStringList{QStringLiteral("posted")});
  EXPECT_TRUE(https.LastHeaders.contains("Content-Type: application/x-www-form-urlencoded"));
  EXPECT_TRUE(https.LastHeaders.contains("Content-Length: 7"));
}


TEST_F(CustomHTTPSService, GoesThroughTheConfiguredProxy)
{
  // A proxy that is not listening: the request can only fail if the setting is used.
  QTcpServer closed;
  ASSERT_TRUE(closed.listen(QHostAddress::LocalHost));
  const QString port = QString::number(closed.serverPort());
  closed.close();
  struct Case {
    bool socks;
    QString error;
  };
  for (const Case &c : {Case{false, QStringLiteral("UnknownNetworkError: Proxy connection refused")},
                        Case{true, QStringLiteral("UnknownNetworkError: Connection to proxy refused")}}) {
    TCustomHTTPS proxied;
    proxied.SetOutputs(&log, nullptr);
    if (c.socks) {
      proxied.SetSocks_Server(QStringLiteral(" 127.0.0.1 "));
      proxied.SetSocks_Port(port);
    } else {
      proxied.SetProxy(QStringLiteral("127.0.0.1"));
      proxied.SetProxy_Port(port);
    }
    EXPECT_FALSE(proxied.GetURL(Url(QStringLiteral("/api/v5_2/PVcalc?outputformat=csv"))));
    EXPECT_TRUE(log.contains(QStringLiteral("Connect error. ") + c.error)) << c.socks;
  }
  EXPECT_TRUE(https.Received.isEmpty());
}
