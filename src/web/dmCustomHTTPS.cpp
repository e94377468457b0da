#include "web/dmCustomHTTPS.h"

#include "web/LoggingCookieJar.h"
#include "web/ProtocolLogger.h"
#include "web/ResponseFileName.h"
#include "web/ServiceSettings.h"
#include "web/TextCodec.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QMetaEnum>
#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QNetworkRequest>
#include <QSslCipher>
#include <QSslSocket>

#include <stdexcept>

namespace {

const QByteArray kUserAgent = "Mozilla/4.0 (compatible; ICS; MSIE 4.0)";
const QByteArray kAccept = "image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, */*";
const QString kPrematureClose = QStringLiteral("connection closed prematurely");

QString ErrorKind(QNetworkReply::NetworkError aError)
{
  return QString::fromLatin1(QMetaEnum::fromType<QNetworkReply::NetworkError>().valueToKey(aError));
}

bool IsRedirect(int aStatus)
{
  return aStatus == 301 || aStatus == 302 || aStatus == 303 || aStatus == 307 || aStatus == 308;
}

// HTTP statuses that fail a request (authentication requests excepted).
bool IsErrorStatus(int aStatus) { return aStatus >= 400 && aStatus != 401 && aStatus != 407; }

QString CipherNames(const QList<QSslCipher> &aCiphers)
{
  QStringList names;
  for (const QSslCipher &cipher : aCiphers)
    names << cipher.name();
  return names.join(QStringLiteral(", "));
}

}  // namespace

TCustomHTTPS::TCustomHTTPS(QObject *aOwner)
    : QObject(aOwner), SslHttpCli(std::make_unique<QNetworkAccessManager>())
{
  IcsCookies = new TLoggingCookieJar([this](const QString &aLine) { AddLog(aLine); });
  SslHttpCli->setCookieJar(IcsCookies);
  SslHttpCli->setRedirectPolicy(QNetworkRequest::ManualRedirectPolicy);

  FApplicationPath = QDir(QCoreApplication::applicationDirPath()).absolutePath() + QDir::separator();
  FLogPath = FApplicationPath + QStringLiteral("temp") + QDir::separator();
  if (!QDir().mkpath(FLogPath))
    throw std::runtime_error(
        QStringLiteral("Impossible de créer le dossier %1").arg(FLogPath).toStdString());
  FDataPath = FLogPath;
  TProtocolLogger::Open(FLogPath + QStringLiteral("Debug_HTTPS.txt"));
  FRegDataExpression = QStringLiteral("%s");

  SslContext = QSslConfiguration::defaultConfiguration();
  SslContext.setPeerVerifyMode(QSslSocket::VerifyPeer);
  SslContext.setProtocol(QSsl::SecureProtocols);
  SslContext.setAllowedNextProtocols({QByteArrayLiteral("http/1.1")});
  const TServiceSettings services = ServiceSettings();
  if (!services.TrustedCertificates.isEmpty())
    AddTrustedCertificates(QSslCertificate::fromPath(services.TrustedCertificates));
  FTimeout = services.RequestTimeout;

  FInactivity.setSingleShot(true);
  connect(&FInactivity, &QTimer::timeout, this, &TCustomHTTPS::OnInactivity);
}

TCustomHTTPS::~TCustomHTTPS()
{
  if (FReply != nullptr) {
    FReply->disconnect(this);
    FReply->abort();
    FReply->deleteLater();
  }
  DocumentEnd();
}

void TCustomHTTPS::SetOutputs(QStringList *aLog, QStringList *aDocument)
{
  FLog = aLog;
  FDocument = aDocument;
  if (FLog != nullptr)
    FLog->clear();
  if (FDocument != nullptr)
    FDocument->clear();
}

void TCustomHTTPS::SetDataPath(const QString &aPath)
{
  QDir().mkpath(aPath);
  FDataPath = aPath;
}

void TCustomHTTPS::SetLogin(const QString &aValue) { FLogin = aValue.trimmed(); }
void TCustomHTTPS::SetPassword(const QString &aValue) { FPassword = aValue.trimmed(); }
void TCustomHTTPS::SetProxy(const QString &aValue) { FProxy = aValue.trimmed(); }
void TCustomHTTPS::SetProxy_Port(const QString &aValue) { FProxyPort = aValue.trimmed(); }
void TCustomHTTPS::SetSocks_Server(const QString &aValue) { FSocksServer = aValue.trimmed(); }
void TCustomHTTPS::SetSocks_Port(const QString &aValue) { FSocksPort = aValue.trimmed(); }

void TCustomHTTPS::AddTrustedCertificates(const QList<QSslCertificate> &aCertificates)
{
  SslContext.addCaCertificates(aCertificates);
}

void TCustomHTTPS::AddLog(const QString &aText)
{
  const QStringList pieces = aText.split(QLatin1Char('\n'));
  QStringList lines;
  for (qsizetype i = 0; i < pieces.size(); ++i) {
    QString piece = pieces[i];
    const bool last = i == pieces.size() - 1;
    if (!last && piece.endsWith(QLatin1Char('\r')))
      piece.chop(1);
    if (!last || !piece.isEmpty())
      lines << piece;
  }
  for (const QString &line : lines)
    TProtocolLogger::Log(line);
  if (FLog == nullptr)
    return;
  while (FLog->size() > kMaxLogLines)
    FLog->removeFirst();
  *FLog += lines;
}

QVariant TCustomHTTPS::GetData(const QString &aRegDataFormat, bool aFloat, int aIndex)
{
  const QVariant none = aFloat ? QVariant(0) : QVariant(QString());
  if (FDocument == nullptr)
    return none;
  QString expression = FRegDataExpression;
  const qsizetype slot = expression.indexOf(QLatin1String("%s"));
  if (slot >= 0)
    expression.replace(slot, 2, aRegDataFormat);
  FRegExp.setPattern(expression);
  FRegExp.setPatternOptions(QRegularExpression::CaseInsensitiveOption);
  const QRegularExpressionMatch match = FRegExp.match(FDocument->join(QStringLiteral("\r\n")));
  if (!match.hasMatch())
    return none;
  QString captured = match.captured(aIndex).trimmed();
  if (!aFloat)
    return captured;
  const qsizetype comma = captured.indexOf(QLatin1Char(','));
  if (comma >= 0)
    captured[comma] = QLatin1Char('.');
  bool ok = false;
  const double value = captured.toDouble(&ok);
  return ok ? QVariant(value) : QVariant(0);
}

bool TCustomHTTPS::PrepareRequest(const QString &aURL)
{
  FURL = aURL.trimmed();
  ApplyProxy();
  if (!QSslSocket::supportsSsl()) {
    AddLog(QStringLiteral("Failed to initialize SSL Context: ") +
           QStringLiteral("no TLS library (") + QSslSocket::sslLibraryBuildVersionString() +
           QLatin1Char(')'));
    return false;
  }
  if (!FDispCiphDone) {
    AddLog(QStringLiteral("SSL Ciphers Available: \n") +
           CipherNames(QSslConfiguration::supportedCiphers()) + QLatin1Char('\n'));
    AddLog(QStringLiteral("SSL Ciphers Supported by Protocol: \n") +
           CipherNames(SslContext.ciphers()) + QLatin1Char('\n'));
    FDispCiphDone = true;
  }
  return true;
}

void TCustomHTTPS::ApplyProxy()
{
  QNetworkProxy proxy(QNetworkProxy::NoProxy);
  if (!FSocksServer.isEmpty())
    proxy = QNetworkProxy(QNetworkProxy::Socks5Proxy, FSocksServer, FSocksPort.toUShort(), FLogin,
                          FPassword);
  else if (!FProxy.isEmpty())
    proxy = QNetworkProxy(QNetworkProxy::HttpProxy, FProxy, FProxyPort.toUShort(), FLogin,
                          FPassword);
  SslHttpCli->setProxy(proxy);
}

bool TCustomHTTPS::GetURL(const QString &aURL)
{
  if (!PrepareRequest(aURL))
    return false;
  FMethod = "GET";
  FPostBody.clear();
  if (FUseAsync) {
    StartRequest();
    return true;
  }
  return IssueWithRepeats();
}

bool TCustomHTTPS::PostURL(const QString &aURL, const QString &aData)
{
  if (!PrepareRequest(aURL))
    return false;
  FMethod = "POST";
  FPostBody = ToWindows1252(aData);
  StartRequest();
  if (FUseAsync)
    return true;
  if (RunSynchronously())
    return true;
  ReportFailure(FLastFailure);
  FIsRunning = false;
  return false;
}

void TCustomHTTPS::Wait()
{
  // The inactivity timer guarantees an event, so the wait cannot block for ever.
  while (FIsRunning)
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
}

bool TCustomHTTPS::IssueWithRepeats()
{
  for (int repeat = 0;; ++repeat) {
    StartRequest();
    if (RunSynchronously())
      return true;
    ReportFailure(FLastFailure);
    // A connection closed before any status line is usually a server that dropped an
    // idle connection: send again at once, a bounded number of times.
    if (FLastFailure.Message.contains(kPrematureClose) && repeat < kMaxPrematureCloseRepeats)
      continue;
    FIsRunning = false;
    return false;
  }
}

void TCustomHTTPS::ReportFailure(const TFailure &aFailure)
{
  AddLog(QStringLiteral("Connect error. ") + aFailure.Kind + QStringLiteral(": ") + aFailure.Message);
  FBadRequest = aFailure.Message.contains(QLatin1String("BAD REQUEST"));
}

void TCustomHTTPS::StartRequest()
{
  FIsRunning = true;
  FSuccess = false;
  AddLog(QStringLiteral("Connecting to: ") + FURL);
  if (FDocument != nullptr)
    FDocument->clear();
  FRedirects = 0;
  IssueRequest(QUrl(FURL));
}

bool TCustomHTTPS::RunSynchronously()
{
  if (!FFinished) {
    QEventLoop loop;
    connect(this, &TCustomHTTPS::RequestDone, &loop, &QEventLoop::quit);
    loop.exec();
  }
  return FLastFailure.Message.isEmpty();
}

void TCustomHTTPS::IssueRequest(const QUrl &aURL)
{
  QNetworkRequest request(aURL);
  request.setRawHeader("User-Agent", kUserAgent);
  request.setRawHeader("Accept", kAccept);
  request.setRawHeader("Accept-Language", "en, fr");
  request.setRawHeader("Connection", "Keep-Alive");
  request.setRawHeader("Proxy-Connection", "Keep-Alive");
  request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
  request.setAttribute(QNetworkRequest::Http2AllowedAttribute, false);
  request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);

  QSslConfiguration tls = SslContext;
  // Qt keeps the TLS sessions of a manager's connections and resumes them when sharing is
  // allowed; the property decides.
  tls.setSslOption(QSsl::SslOptionDisableSessionSharing, !FSessCache);
  request.setSslConfiguration(tls);

  FDocumentBegun = false;
  FTimedOut = false;
  FFinished = false;
  FLastFailure = {};
  if (FMethod == "POST") {
    if (!FPostBody.isEmpty())
      request.setHeader(QNetworkRequest::ContentTypeHeader,
                        QByteArrayLiteral("application/x-www-form-urlencoded"));
    FReply = SslHttpCli->post(request, FPostBody);
  } else {
    FReply = SslHttpCli->get(request);
  }
  connect(FReply, &QNetworkReply::readyRead, this, &TCustomHTTPS::OnReadyRead);
  connect(FReply, &QNetworkReply::finished, this, &TCustomHTTPS::OnFinished);
  connect(FReply, &QNetworkReply::encrypted, this, &TCustomHTTPS::OnEncrypted);
  connect(FReply, &QNetworkReply::sslErrors, this, &TCustomHTTPS::OnSslErrors);
  connect(FReply, &QNetworkReply::downloadProgress, this, [this] { FInactivity.start(FTimeout); });
  connect(FReply, &QNetworkReply::uploadProgress, this, [this] { FInactivity.start(FTimeout); });
  connect(FReply, &QNetworkReply::metaDataChanged, this, [this] { FInactivity.start(FTimeout); });
  FInactivity.start(FTimeout);
}

void TCustomHTTPS::OnInactivity()
{
  if (FReply == nullptr)
    return;
  FTimedOut = true;
  FReply->abort();
}

void TCustomHTTPS::OnSslErrors(const QList<QSslError> &aErrors)
{
  for (const QSslError &error : aErrors)
    AddLog(QStringLiteral("SSL error: ") + error.errorString());
}

void TCustomHTTPS::OnEncrypted()
{
  const QSslConfiguration tls = FReply->sslConfiguration();
  TProtocolLogger::Log(QStringLiteral("SSL handshake done: %1, %2")
                           .arg(tls.sessionCipher().protocolString(), tls.sessionCipher().name()));
}

void TCustomHTTPS::OnReadyRead()
{
  FInactivity.start(FTimeout);
  const int status = FReply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
  if (IsRedirect(status)) {
    FReply->readAll();  // the body of a redirection is not the document
    return;
  }
  if (!FDocumentBegun)
    DocumentBegin();
  const QByteArray bytes = FReply->readAll();
  FBody += bytes;
  if (FResponseFile)
    FResponseFile->write(bytes);
}

void TCustomHTTPS::DocumentBegin()
{
  FDocumentBegun = true;
  FBody.clear();
  FContentType = FReply->header(QNetworkRequest::ContentTypeHeader).toString();
  const QString documentName = DocumentName(FReply->url());
  AddLog(FContentType + QStringLiteral(" => ") + documentName);
  AddLog(QStringLiteral("Document = ") + documentName);
  FDocFileName = ResponseFileName(FDataFileName, documentName, FContentType);
  DocumentEnd();
  FResponseFile = std::make_unique<QFile>(FDataPath + FDocFileName);
  if (!FResponseFile->open(QIODevice::WriteOnly | QIODevice::Truncate)) {
    AddLog(QStringLiteral("Error opening file: ") + FResponseFile->errorString());
    FDocFileName = QStringLiteral("HTTPS.htm");
    AddLog(QStringLiteral("Using default file name: ") + FDocFileName);
    FResponseFile = std::make_unique<QFile>(FDataPath + FDocFileName);
    if (!FResponseFile->open(QIODevice::WriteOnly | QIODevice::Truncate))
      FResponseFile.reset();
  }
}

void TCustomHTTPS::DocumentEnd() { FResponseFile.reset(); }

void TCustomHTTPS::LogHeaders()
{
  for (const QNetworkReply::RawHeaderPair &header : FReply->rawHeaderPairs())
    AddLog(QStringLiteral("hdr>") + QString::fromLatin1(header.first) + QStringLiteral(": ") +
           QString::fromLatin1(header.second));
}

bool TCustomHTTPS::FollowRedirect()
{
  if (++FRedirects > kMaxRedirects)
    return false;
  LogHeaders();
  const int status = FReply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
  const QUrl next = FReply->url().resolved(QUrl(QString::fromLatin1(FReply->rawHeader("Location"))));
  AddLog(QStringLiteral("Location changed to \"") + next.toString() + QLatin1Char('"'));
  if (status == 303 || ((status == 301 || status == 302) && FMethod == "POST")) {
    FMethod = "GET";
    FPostBody.clear();
  }
  FReply->deleteLater();
  FReply = nullptr;
  IssueRequest(next);
  return true;
}

void TCustomHTTPS::OnFinished()
{
  FInactivity.stop();
  const int status = FReply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
  const QNetworkReply::NetworkError error = FReply->error();

  if (!FTimedOut && IsRedirect(status) && FReply->hasRawHeader("Location")) {
    if (FollowRedirect())
      return;
    AddLog(QStringLiteral("Request done, error #%1. Status = %2 - %3")
               .arg(int(QNetworkReply::TooManyRedirectsError))
               .arg(status)
               .arg(FReply->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString()));
    RequestFinished({ErrorKind(QNetworkReply::TooManyRedirectsError),
                     QStringLiteral("Maximum number of redirections exceeded")});
    return;
  }

  if (FTimedOut || status == 0) {
    TFailure failure{ErrorKind(error), FReply->errorString()};
    if (FTimedOut)
      failure.Message = QStringLiteral("Request aborted on timeout");
    else if (error == QNetworkReply::RemoteHostClosedError)
      failure.Message = QStringLiteral("Error: ") + kPrematureClose;
    AddLog(QStringLiteral("Request done, error #%1. Status = %2 - %3")
               .arg(int(error))
               .arg(status)
               .arg(failure.Message));
    DocumentEnd();
    RequestFinished(failure);
    return;
  }

  OnReadyRead();  // whatever arrived with the end of the transfer, or an empty body
  DocumentEnd();
  AddLog(QStringLiteral("Request done, StatusCode #%1").arg(status));
  LogHeaders();
  // An HTTP error status is a failure of the request, also for asynchronous callers that
  // only read Success afterwards.
  FSuccess = !IsErrorStatus(status);
  if (FDocument != nullptr)
    FillDocument();
  if (IsErrorStatus(status))
    RequestFinished({ErrorKind(error),
                     FReply->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString()});
  else
    RequestFinished({});
}

void TCustomHTTPS::FillDocument()
{
  const QString fileName = FDataPath + FDocFileName;
  if (!FDocumentBegun) {
    FDocument->append(QStringLiteral("*** NO DOCUMENT FILE NAME ***"));
    return;
  }
  // The document is read from the bytes received, which are also those of the file: the
  // file may be rewritten meanwhile by another client of the same folder.
  if (!QFile::exists(fileName)) {
    FDocument->append(QStringLiteral("*** NO DOCUMENT FILE ***"));
    return;
  }
  if (FContentType.startsWith(QLatin1String("text/"), Qt::CaseInsensitive)) {
    const TDecodedText decoded = DecodeBody(FBody, FContentType);
    AddLog(QStringLiteral("HTML Codepage: ") + decoded.CodePage);
    QString text = decoded.Text;
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    if (text.endsWith(QLatin1Char('\n')))
      text.chop(1);
    if (!text.isEmpty())
      *FDocument += text.split(QLatin1Char('\n'));
    return;
  }
  FDocument->append(QStringLiteral("Content type is ") + FContentType);
  FDocument->append(QStringLiteral("Document stored in '") + DocumentName(FReply->url()) +
                    QStringLiteral("' Size=") + QString::number(FBody.size()));
}

void TCustomHTTPS::RequestFinished(const TFailure &aFailure)
{
  FLastFailure = aFailure;
  FFinished = true;
  if (FReply != nullptr) {
    FReply->deleteLater();
    FReply = nullptr;
  }
  // Synchronous failures are reported (and possibly repeated) by the caller's loop;
  // an asynchronous request ends here.
  if (FUseAsync || aFailure.Message.isEmpty())
    FIsRunning = false;
  if (FUseAsync && !aFailure.Message.isEmpty())
    ReportFailure(aFailure);
  emit RequestDone();
}
