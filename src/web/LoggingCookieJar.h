#pragma once
// A cookie store that receives every cookie, reports each one as a "NewCookie: ..." line
// and never hands a stored cookie back to a later request.

#include <QNetworkCookieJar>

#include <functional>

class TLoggingCookieJar final : public QNetworkCookieJar {
public:
  explicit TLoggingCookieJar(std::function<void(const QString &)> aLog, QObject *parent = nullptr);

  bool setCookiesFromUrl(const QList<QNetworkCookie> &cookieList, const QUrl &url) override;
  QList<QNetworkCookie> cookiesForUrl(const QUrl &url) const override;

  // "NewCookie: name=value, Domain=..., Path=..." with expiry and flags.
  static QString Describe(const QNetworkCookie &aCookie);

private:
  std::function<void(const QString &)> FLog;
};
