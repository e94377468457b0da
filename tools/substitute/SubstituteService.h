#pragma once
// The local substitute of the outside web services, on 127.0.0.1 only: HTTPS (PVGIS and
// geocoding) with a certificate made for the run, or plain HTTP (BDPV). It records every
// request it receives and can misbehave on purpose, request by request.

#include "SubstituteAnswers.h"

#include <QHash>
#include <QSslCertificate>
#include <QSslKey>
#include <QStringList>
#include <QTcpServer>

#include <deque>
#include <optional>

class QTcpSocket;

enum class TFault {
  None,
  Slow,               // answers after SlowDelay milliseconds
  CloseBeforeStatus,  // closes the connection before the status line
  BadRequest,         // HTTP 400 "BAD REQUEST"
  TooManyRequests,    // HTTP 429
  ServerError,        // HTTP 500
  NotXml,             // a body of garbage
  EmptyBody,          // HTTP 200 with no body
  Redirect,           // 302 to the same address
};

class TSubstituteService final : public QTcpServer {
public:
  enum class TScheme { Http, Https };

  explicit TSubstituteService(TScheme aScheme, QObject *aParent = nullptr);

  // HTTPS only: the certificate and key the service presents.
  void SetCertificate(const QSslCertificate &aCertificate, const QSslKey &aKey);
  // Listens on 127.0.0.1, on aPort or a free port when 0.
  bool Start(quint16 aPort = 0);
  // "https://127.0.0.1:<port>" or "http://127.0.0.1:<port>".
  QString BaseUrl() const;
  // "127.0.0.1:<port>".
  QString HostAndPort() const;

  // The next aCount requests misbehave as aFault (after those already queued).
  void QueueFault(TFault aFault, int aCount = 1);
  // Every request misbehaves as aFault once the queue is empty (None: none).
  void SetPersistentFault(TFault aFault) { FPersistentFault = aFault; }
  int SlowDelay = 3000;

  // A fixed answer for a path, in place of the computed one.
  void SetFixedAnswer(const QString &aPath, const TAnswer &aAnswer) { FFixedAnswers.insert(aPath, aAnswer); }

  TSubstituteData Data;
  // The request targets received, path and query exactly as sent, in order.
  QStringList Received;
  // The header lines of the last request.
  QList<QByteArray> LastHeaders;

protected:
  void incomingConnection(qintptr aDescriptor) override;

private:
  void OnReadyRead(QTcpSocket *aSocket);
  void Answer(QTcpSocket *aSocket, const QByteArray &aHead);
  TAnswer Route(const QString &aTarget) const;
  TFault NextFault();
  static void Send(QTcpSocket *aSocket, const TAnswer &aAnswer);

  TScheme FScheme;
  QSslCertificate FCertificate;
  QSslKey FKey;
  std::deque<TFault> FFaults;
  TFault FPersistentFault = TFault::None;
  QHash<QString, TAnswer> FFixedAnswers;
  QHash<QTcpSocket *, QByteArray> FBuffers;
};
