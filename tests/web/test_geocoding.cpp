// Geocoding against the substitute: encoding of the city, pacing, west-positive
// longitudes, the altitude request and every failure leaving the position alone.

#include "WebServiceTest.h"

#include "shell/dmGPS.h"
#include "support/QtPrinters.h"
#include "support/ScriptedDialogs.h"

#include <QElapsedTimer>

TEST(GeocodeEncode, KeepsLettersAndDigitsOnly)
{
  struct Case {
    QString text;
    QString encoded;
  };
  const Case cases[] = {{QStringLiteral("Nice, France"), QStringLiteral("Nice%2C%20France")},
                        {QStringLiteral("Genève, Suisse"), QStringLiteral("Gen%C3%A8ve%2C%20Suisse")},
                        {QStringLiteral("St-Jean_d.Y~2"), QStringLiteral("St%2DJean%5Fd%2EY%7E2")}};
  for (const Case &c : cases)
    EXPECT_EQ(GeocodeEncode(c.text), c.encoded);
}

class Geocoding : public WebServiceTest {
protected:
  struct TResult {
    bool found;
    double latitude, longitude;
    int altitude;
    QString city;
  };
  TResult Search()
  {
    TResult result{false, 1.5, 2.5, 3, QStringLiteral("none")};
    result.found = ShowCitySearch(result.latitude, result.longitude, result.altitude, result.city);
    return result;
  }
  // What the user sees: the input box's prompt, then the result.
  static QStringList Shown(const QString &aResult) { return {kPrompt, aResult}; }
  static inline const QString kPrompt = QStringLiteral("Nom de la Ville (et pays)");
  ScriptedDialogs dialogs;
};

TEST_F(Geocoding, FindsNiceWithWestPositiveLongitudeAndItsAltitude)
{
  dialogs.QueueInput(QStringLiteral("Nice"));
  const TResult result = Search();
  ASSERT_TRUE(result.found);
  EXPECT_EQ(https.Received, (QStringList{QStringLiteral("/?locate=Nice%2C%20France&geoit=xml"),
                                         QStringLiteral("/43.703130,7.266080?geoit=xml")}));
  EXPECT_DOUBLE_EQ(result.latitude, 43.70313);
  EXPECT_DOUBLE_EQ(result.longitude, -7.26608);
  EXPECT_EQ(result.altitude, 12);
  EXPECT_EQ(result.city, QStringLiteral("Nice"));
  EXPECT_EQ(dialogs.messages, Shown(QStringLiteral("Trouvé : Nice")));
  EXPECT_EQ(dialogs.busyDepth, 0);
}

TEST_F(Geocoding, NameWithACountryIsSentAsTyped)
{
  dialogs.QueueInput(QStringLiteral("Genève, Suisse"));
  ASSERT_TRUE(Search().found);
  EXPECT_EQ(https.Received.first(), QStringLiteral("/?locate=Gen%C3%A8ve%2C%20Suisse&geoit=xml"));
  EXPECT_EQ(dialogs.messages, Shown(QStringLiteral("Trouvé : Genève")));
}

TEST_F(Geocoding, CancellingSendsNothing)
{
  const TResult result = Search();
  EXPECT_FALSE(result.found);
  EXPECT_TRUE(https.Received.isEmpty());
  EXPECT_EQ(dialogs.messages, QStringList{kPrompt});
  EXPECT_EQ(result.latitude, 1.5);
}

TEST_F(Geocoding, EveryFailureLeavesThePositionAlone)
{
  https.SlowDelay = 2 * kTestTimeout;
  for (const TFault fault : {TFault::None /* unknown city */, TFault::Slow, TFault::CloseBeforeStatus,
                             TFault::BadRequest, TFault::TooManyRequests, TFault::ServerError, TFault::NotXml,
                             TFault::EmptyBody, TFault::Redirect}) {
    https.SetPersistentFault(fault);
    dialogs.messages.clear();
    dialogs.QueueInput(QStringLiteral("Atlantis, Ocean"));
    const TResult result = Search();
    EXPECT_FALSE(result.found) << int(fault);
    EXPECT_EQ(dialogs.messages, Shown(QStringLiteral("Recherche infructueuse"))) << int(fault);
    EXPECT_EQ(result.latitude, 1.5);
    EXPECT_EQ(result.longitude, 2.5);
    EXPECT_EQ(result.altitude, 3);
  }
}

TEST_F(Geocoding, FailedAltitudeRequestKeepsTheSearch)
{
  https.QueueFault(TFault::None);
  https.QueueFault(TFault::ServerError);
  dialogs.QueueInput(QStringLiteral("Nice"));
  TResult result{false, 0, 0, 0, QString()};
  result.found = ShowCitySearch(result.latitude, result.longitude, result.altitude, result.city);
  EXPECT_TRUE(result.found);
  EXPECT_EQ(result.altitude, 0);
  EXPECT_DOUBLE_EQ(result.latitude, 43.70313);
}

TEST_F(Geocoding, RequestsOfAModuleStartAtLeastOneSecondApart)
{
  QElapsedTimer clock;
  clock.start();
  TdtmGPS gps;
  int altitude = 0;
  ASSERT_TRUE(gps.GeocodeXYZ_Altitude(43.7, -7.25, altitude));
  EXPECT_GE(clock.elapsed(), TdtmGPS::kPacing);
  EXPECT_EQ(https.Received.last(), QStringLiteral("/43.700000,7.250000?geoit=xml"));
  ASSERT_TRUE(gps.GeocodeXYZ_Altitude(43.7, -7.25, altitude));
  EXPECT_GE(clock.elapsed(), 2 * TdtmGPS::kPacing);
  EXPECT_EQ(altitude, 12);
}
