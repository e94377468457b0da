#pragma once
// The one HTTP(S) client of the program. It fetches one URL at a time, stores the
// response body in a file of its data folder, reads text bodies back into a caller's
// document list, keeps a line log in a caller's log list and extracts single values
// from the document with a regular expression. Requests run synchronously (waiting in a
// local event loop, so the window keeps repainting) or asynchronously (then Wait).
// TLS peer verification is on, against the system's root certificates.

#include <QByteArray>
#include <QList>
#include <QNetworkReply>
#include <QObject>
#include <QRegularExpression>
#include <QSslCertificate>
#include <QSslConfiguration>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <QVariant>

#include <memory>

class QFile;
class QNetworkAccessManager;
class TLoggingCookieJar;

class TCustomHTTPS : public QObject {
  Q_OBJECT
public:
  // Inactivity limit of a request, in milliseconds.
  static constexpr int kDefaultTimeout = 30000;
  // Location changes followed per request.
  static constexpr int kMaxRedirects = 5;
  // Immediate repeats of a request whose connection closed before any status line.
  static constexpr int kMaxPrematureCloseRepeats = 3;
  // The line log keeps at most this many lines.
  static constexpr int kMaxLogLines = 5000;

  explicit TCustomHTTPS(QObject *aOwner = nullptr);
  ~TCustomHTTPS() override;
  TCustomHTTPS(const TCustomHTTPS &) = delete;
  TCustomHTTPS &operator=(const TCustomHTTPS &) = delete;

  // Both lists stay the caller's; each one given is cleared. Either may be null.
  void SetOutputs(QStringList *aLog, QStringList *aDocument);
  bool GetURL(const QString &aURL);
  bool PostURL(const QString &aURL, const QString &aData);
  // Processes events while an asynchronous request runs.
  void Wait();
  // Capture group aIndex of RegDataExpression around aRegDataFormat in the document:
  // a number when aFloat (0 when absent or not a number), else the trimmed text.
  virtual QVariant GetData(const QString &aRegDataFormat, bool aFloat, int aIndex);
  // Adds aText to the log list, one line per line feed.
  void AddLog(const QString &aText);

  bool IsRunning() const { return FIsRunning; }
  bool Success() const { return FSuccess; }
  bool BadRequest() const { return FBadRequest; }
  bool UseAsync() const { return FUseAsync; }
  void SetUseAsync(bool aValue) { FUseAsync = aValue; }
  // TLS session reuse between the connections of this client.
  bool SessCache() const { return FSessCache; }
  void SetSessCache(bool aValue) { FSessCache = aValue; }
  QString DataPath() const { return FDataPath; }
  // Creates the folder when missing; the trailing separator is the caller's business.
  void SetDataPath(const QString &aPath);
  QString DataFileName() const { return FDataFileName; }
  void SetDataFileName(const QString &aName) { FDataFileName = aName; }
  QString RegDataExpression() const { return FRegDataExpression; }
  void SetRegDataExpression(const QString &aExpression) { FRegDataExpression = aExpression; }
  QString ApplicationPath() const { return FApplicationPath; }
  QString LogPath() const { return FLogPath; }
  QString DocFileName() const { return FDocFileName; }

  void SetLogin(const QString &aValue);
  void SetPassword(const QString &aValue);
  void SetProxy(const QString &aValue);
  void SetProxy_Port(const QString &aValue);
  void SetSocks_Server(const QString &aValue);
  void SetSocks_Port(const QString &aValue);

  int Timeout() const { return FTimeout; }
  void SetTimeout(int aMilliseconds) { FTimeout = aMilliseconds; }
  // Certificates trusted besides the system's roots (a private service).
  void AddTrustedCertificates(const QList<QSslCertificate> &aCertificates);

signals:
  // Emitted when a request has ended, successfully or not.
  void RequestDone();

private:
  struct TFailure {
    QString Kind;
    QString Message;
  };

  bool PrepareRequest(const QString &aURL);
  void StartRequest();
  void IssueRequest(const QUrl &aURL);
  bool RunSynchronously();
  bool IssueWithRepeats();
  void ReportFailure(const TFailure &aFailure);

  void OnReadyRead();
  void OnFinished();
  void OnEncrypted();
  void OnSslErrors(const QList<QSslError> &aErrors);
  void OnInactivity();
  void DocumentBegin();
  void DocumentEnd();
  bool FollowRedirect();
  void RequestFinished(const TFailure &aFailure);
  void FillDocument();
  void LogHeaders();
  void ApplyProxy();

  std::unique_ptr<QNetworkAccessManager> SslHttpCli;
  QSslConfiguration SslContext;
  TLoggingCookieJar *IcsCookies = nullptr;  // owned by SslHttpCli

  QString FDocFileName;
  bool FDispCiphDone = false;
  bool FSessCache = false;
  QStringList *FLog = nullptr;
  QStringList *FDocument = nullptr;
  bool FIsRunning = false;
  bool FUseAsync = false;
  QString FDataPath;
  QString FDataFileName;
  QRegularExpression FRegExp;
  QString FRegDataExpression;
  QString FApplicationPath;
  bool FSuccess = false;
  bool FBadRequest = false;
  QString FLogPath;

  // Proxy and SOCKS settings.
  QString FLogin;
  QString FPassword;
  QString FProxy;
  QString FProxyPort = QStringLiteral("80");
  QString FSocksServer;
  QString FSocksPort;

  // The request in progress.
  QString FURL;
  QByteArray FMethod;
  QByteArray FPostBody;
  QNetworkReply *FReply = nullptr;
  std::unique_ptr<QFile> FResponseFile;
  QByteArray FBody;  // the response body as received
  QString FContentType;
  bool FDocumentBegun = false;
  bool FTimedOut = false;
  int FRedirects = 0;
  bool FFinished = false;
  TFailure FLastFailure;
  int FTimeout = kDefaultTimeout;
  QTimer FInactivity;
};
