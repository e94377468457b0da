#include "TestCertificate.h"

#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/rand.h>
#include <openssl/x509.h>
#include <openssl/x509v3.h>

#include <memory>
#include <stdexcept>

namespace {

template <typename T, void (*Free)(T *)>
struct TFree {
  void operator()(T *p) const { Free(p); }
};
using TKey = std::unique_ptr<EVP_PKEY, TFree<EVP_PKEY, EVP_PKEY_free>>;
using TX509 = std::unique_ptr<X509, TFree<X509, X509_free>>;
using TBio = std::unique_ptr<BIO, TFree<BIO, BIO_free_all>>;
using TExtension = std::unique_ptr<X509_EXTENSION, TFree<X509_EXTENSION, X509_EXTENSION_free>>;

void Check(bool aOk, const char *aStep)
{
  if (!aOk)
    throw std::runtime_error(std::string("test certificate: ") + aStep);
}

void AddExtension(X509 *aCertificate, int aNid, const char *aValue)
{
  X509V3_CTX context;
  X509V3_set_ctx_nodb(&context);
  X509V3_set_ctx(&context, aCertificate, aCertificate, nullptr, nullptr, 0);
  TExtension extension(X509V3_EXT_conf_nid(nullptr, &context, aNid, aValue));
  Check(extension != nullptr, "extension");
  Check(X509_add_ext(aCertificate, extension.get(), -1) == 1, "add extension");
}

QByteArray ReadBio(BIO *aBio)
{
  char *data = nullptr;
  const long size = BIO_get_mem_data(aBio, &data);
  return QByteArray(data, static_cast<qsizetype>(size));
}

}  // namespace

TTestCertificate MakeTestCertificate()
{
  TKey key(EVP_EC_gen("P-256"));
  Check(key != nullptr, "key");
  TX509 certificate(X509_new());
  Check(certificate != nullptr, "certificate");
  Check(X509_set_version(certificate.get(), 2) == 1, "version");
  unsigned char serial[8];
  Check(RAND_bytes(serial, sizeof serial) == 1, "serial");
  ASN1_INTEGER_set(X509_get_serialNumber(certificate.get()),
                   static_cast<long>((serial[0] & 0x7f) << 24 | serial[1] << 16 | serial[2] << 8 | serial[3]));
  X509_gmtime_adj(X509_getm_notBefore(certificate.get()), -3600);
  X509_gmtime_adj(X509_getm_notAfter(certificate.get()), 7 * 24 * 3600);
  Check(X509_set_pubkey(certificate.get(), key.get()) == 1, "public key");
  X509_NAME *name = X509_get_subject_name(certificate.get());
  X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC,
                             reinterpret_cast<const unsigned char *>("QUELTA substitute"), -1, -1, 0);
  Check(X509_set_issuer_name(certificate.get(), name) == 1, "issuer");
  AddExtension(certificate.get(), NID_basic_constraints, "critical,CA:TRUE");
  AddExtension(certificate.get(), NID_key_usage, "critical,digitalSignature,keyCertSign");
  AddExtension(certificate.get(), NID_subject_alt_name, "IP:127.0.0.1,DNS:localhost");
  Check(X509_sign(certificate.get(), key.get(), EVP_sha256()) > 0, "signature");

  TBio certificatePem(BIO_new(BIO_s_mem()));
  TBio keyPem(BIO_new(BIO_s_mem()));
  Check(PEM_write_bio_X509(certificatePem.get(), certificate.get()) == 1, "certificate PEM");
  Check(PEM_write_bio_PrivateKey(keyPem.get(), key.get(), nullptr, nullptr, 0, nullptr, nullptr) == 1,
        "key PEM");
  TTestCertificate result{QSslCertificate(ReadBio(certificatePem.get()), QSsl::Pem),
                          QSslKey(ReadBio(keyPem.get()), QSsl::Ec, QSsl::Pem)};
  Check(!result.Certificate.isNull() && !result.Key.isNull(), "Qt import");
  return result;
}
