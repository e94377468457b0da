#pragma once
// A self-signed certificate for 127.0.0.1 and localhost, made at run time with OpenSSL,
// so that no key is ever committed.

#include <QSslCertificate>
#include <QSslKey>

struct TTestCertificate {
  QSslCertificate Certificate;
  QSslKey Key;
};

// Throws std::runtime_error when OpenSSL cannot make the certificate.
TTestCertificate MakeTestCertificate();
