#include "web/LoggingCookieJar.h"

#include <QDateTime>
#include <QNetworkCookie>

TLoggingCookieJar::TLoggingCookieJar(std::function<void(const QString &)> aLog, QObject *parent)
    : QNetworkCookieJar(parent), FLog(std::move(aLog))
{
}

bool TLoggingCookieJar::setCookiesFromUrl(const QList<QNetworkCookie> &cookieList, const QUrl &url)
{
  for (QNetworkCookie cookie : cookieList) {
    cookie.normalize(url);
    if (FLog)
      FLog(Describe(cookie));
  }
  return QNetworkCookieJar::setCookiesFromUrl(cookieList, url);
}

QList<QNetworkCookie> TLoggingCookieJar::cookiesForUrl(const QUrl &) const { return {}; }

QString TLoggingCookieJar::Describe(const QNetworkCookie &aCookie)
{
  QString text = QStringLiteral("NewCookie: %1=%2, Domain=%3, Path=%4")
                     .arg(QString::fromUtf8(aCookie.name()), QString::fromUtf8(aCookie.value()),
                          aCookie.domain(), aCookie.path());
  text += aCookie.isSessionCookie()
              ? QStringLiteral(", Not Persisent")
              : QStringLiteral(", Expires=") +
                    aCookie.expirationDate().toString(QStringLiteral("dd/MM/yyyy hh:mm:ss"));
  if (aCookie.isSecure())
    text += QStringLiteral(", SecureOnly");
  if (aCookie.isHttpOnly())
    text += QStringLiteral(", HttpOnly");
  return text;
}
