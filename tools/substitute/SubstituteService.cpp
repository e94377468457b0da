#include "SubstituteService.h"

#include <QPointer>
#include <QSslSocket>
#include <QTimer>
#include <QUrl>

namespace {

bool PathEndsWith(const QString &aPath, const char *aName)
{
  return aPath.endsWith(QLatin1String(aName)) ||
         aPath.endsWith(QLatin1String(aName) + QStringLiteral(".php"));
}

TAnswer Status(int aStatus, const QByteArray &aReason)
{
  TAnswer answer;
  answer.Status = aStatus;
  answer.Reason = aReason;
  answer.Body = aReason;
  return answer;
}

}  // namespace

TSubstituteService::TSubstituteService(TScheme aScheme, QObject *aParent)
    : QTcpServer(aParent), FScheme(aScheme)
{
}

void TSubstituteService::SetCertificate(const QSslCertificate &aCertificate, const QSslKey &aKey)
{
  FCertificate = aCertificate;
  FKey = aKey;
}

bool TSubstituteService::Start(quint16 aPort) { return listen(QHostAddress::LocalHost, aPort); }

QString TSubstituteService::BaseUrl() const
{
  return (FScheme == TScheme::Https ? QStringLiteral("https://") : QStringLiteral("http://")) + HostAndPort();
}

QString TSubstituteService::HostAndPort() const
{
  return QStringLiteral("127.0.0.1:%1").arg(serverPort());
}

void TSubstituteService::QueueFault(TFault aFault, int aCount)
{
  for (int i = 0; i < aCount; ++i)
    FFaults.push_back(aFault);
}

TFault TSubstituteService::NextFault()
{
  if (FFaults.empty())
    return FPersistentFault;
  const TFault fault = FFaults.front();
  FFaults.pop_front();
  return fault;
}

void TSubstituteService::incomingConnection(qintptr aDescriptor)
{
  QTcpSocket *socket = nullptr;
  if (FScheme == TScheme::Https) {
    auto *tls = new QSslSocket(this);
    tls->setLocalCertificate(FCertificate);
    tls->setPrivateKey(FKey);
    socket = tls;
  } else {
    socket = new QTcpSocket(this);
  }
  if (!socket->setSocketDescriptor(aDescriptor)) {
    socket->deleteLater();
    return;
  }
  connect(socket, &QTcpSocket::readyRead, this, [this, socket] { OnReadyRead(socket); });
  connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
    FBuffers.remove(socket);
    socket->deleteLater();
  });
  if (auto *tls = qobject_cast<QSslSocket *>(socket)) {
    // A client that refuses the certificate ends the handshake; drop the connection.
    connect(tls, &QSslSocket::errorOccurred, tls, [tls] { tls->abort(); });
    tls->startServerEncryption();
  }
}

void TSubstituteService::OnReadyRead(QTcpSocket *aSocket)
{
  QByteArray &buffer = FBuffers[aSocket];
  buffer += aSocket->readAll();
  const qsizetype end = buffer.indexOf("\r\n\r\n");
  if (end < 0)
    return;
  const QByteArray head = buffer.left(end);
  // A body (POST) is read up to its announced length before answering.
  qsizetype length = 0;
  for (const QByteArray &line : head.split('\n'))
    if (line.toLower().startsWith("content-length:"))
      length = line.mid(15).trimmed().toLongLong();
  if (buffer.size() < end + 4 + length)
    return;
  buffer.clear();
  Answer(aSocket, head);
}

void TSubstituteService::Answer(QTcpSocket *aSocket, const QByteArray &aHead)
{
  QList<QByteArray> lines = aHead.split('\n');
  for (QByteArray &line : lines)
    line = line.trimmed();
  const QList<QByteArray> requestLine = lines.value(0).split(' ');
  const QString target = QString::fromLatin1(requestLine.value(1));
  Received << target;
  LastHeaders = lines.mid(1);

  QPointer<QTcpSocket> socket(aSocket);
  switch (NextFault()) {
  case TFault::None:
    Send(aSocket, Route(target));
    return;
  case TFault::Slow:
    QTimer::singleShot(SlowDelay, this, [this, socket, target] {
      if (socket)
        Send(socket, Route(target));
    });
    return;
  case TFault::CloseBeforeStatus:
    aSocket->disconnectFromHost();
    return;
  case TFault::BadRequest:
    Send(aSocket, Status(400, "BAD REQUEST"));
    return;
  case TFault::TooManyRequests:
    Send(aSocket, Status(429, "Too Many Requests"));
    return;
  case TFault::ServerError:
    Send(aSocket, Status(500, "Internal Server Error"));
    return;
  case TFault::NotXml: {
    TAnswer garbage;
    garbage.ContentType = "text/xml; charset=utf-8";
    garbage.Body = "}{ this is < not & well formed";
    Send(aSocket, garbage);
    return;
  }
  case TFault::EmptyBody: {
    TAnswer empty;
    empty.ContentType = "text/xml; charset=utf-8";
    Send(aSocket, empty);
    return;
  }
  case TFault::Redirect: {
    TAnswer redirect = Status(302, "Found");
    redirect.Headers.append({"Location", BaseUrl().toLatin1() + requestLine.value(1)});
    Send(aSocket, redirect);
    return;
  }
  }
}

TAnswer TSubstituteService::Route(const QString &aTarget) const
{
  const QUrl url(aTarget);
  const QString path = url.path();
  const QUrlQuery query(url);
  if (FFixedAnswers.contains(path))
    return FFixedAnswers.value(path);
  if (PathEndsWith(path, "PVcalc"))
    return PVCalcAnswer(query, Data);
  if (PathEndsWith(path, "MRcalc"))
    return MRCalcAnswer(query, Data);
  if (PathEndsWith(path, "printhorizon"))
    return HorizonAnswer(query, Data);
  if (path == QLatin1String("/ajax/ajax_xml_infos_util.php"))
    return BDPVMemberAnswer(query, Data);
  if (path == QLatin1String("/ajax/ajax_xml_prod_util.php"))
    return BDPVProductionAnswer(query, Data);
  if (query.queryItemValue(QStringLiteral("geoit")) == QLatin1String("xml"))
    return GeocodeAnswer(path, query, Data);
  return Status(404, "Not Found");
}

void TSubstituteService::Send(QTcpSocket *aSocket, const TAnswer &aAnswer)
{
  QByteArray response = "HTTP/1.1 " + QByteArray::number(aAnswer.Status) + ' ' + aAnswer.Reason + "\r\n";
  response += "Content-Type: " + aAnswer.ContentType + "\r\n";
  response += "Content-Length: " + QByteArray::number(aAnswer.Body.size()) + "\r\n";
  for (const auto &header : aAnswer.Headers)
    response += header.first + ": " + header.second + "\r\n";
  response += "Connection: close\r\n\r\n" + aAnswer.Body;
  aSocket->write(response);
  aSocket->disconnectFromHost();
}
