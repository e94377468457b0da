#include "web/BDPVImport.h"

#include "production/dmDataProduction.h"
#include "shell/dmData.h"
#include "web/TextCodec.h"

#include <openssl/evp.h>

#include <memory>
#include <stdexcept>

namespace {

using TDigestContext = std::unique_ptr<EVP_MD_CTX, decltype(&EVP_MD_CTX_free)>;

// The integer value of a text; false when it is not one.
bool ReadInteger(const QString &aText, int &aValue)
{
  bool ok = false;
  const int value = aText.trimmed().toInt(&ok);
  if (ok)
    aValue = value;
  return ok;
}

// The first child whose first attribute reads as aNumber.
const TXmlElement *ChildNumbered(const TXmlElement &aParent, int aNumber)
{
  for (const TXmlElement &child : aParent.Children) {
    int value = 0;
    if (!child.Attributes.isEmpty() && ReadInteger(child.Attributes.first().second, value) && value == aNumber)
      return &child;
  }
  return nullptr;
}

}  // namespace

QString Signature(const QString &aBase)
{
  const QByteArray bytes = ToWindows1252(aBase);
  TDigestContext context(EVP_MD_CTX_new(), &EVP_MD_CTX_free);
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int length = 0;
  if (!context || EVP_DigestInit_ex(context.get(), EVP_md5(), nullptr) != 1 ||
      EVP_DigestUpdate(context.get(), bytes.constData(), static_cast<std::size_t>(bytes.size())) != 1 ||
      EVP_DigestFinal_ex(context.get(), digest, &length) != 1)
    throw std::runtime_error("Calcul de la signature MD5 impossible");
  return QString::fromLatin1(QByteArray(reinterpret_cast<const char *>(digest), length).toHex()).toLower();
}

QString MemberURL(const QString &aHost, const QString &aUserBDPV)
{
  const QString sig = Signature(BDPV::kSecret + QStringLiteral("api_demandeur") + BDPV::kRequester +
                                QStringLiteral("util") + aUserBDPV);
  QString url = QStringLiteral("http://") + aHost + BDPV::kMemberPath +
                QStringLiteral("?util=%1&api_sig=%2&api_demandeur=xt57").arg(aUserBDPV, sig);
  return url.replace(QLatin1Char(' '), QStringLiteral("%20"));
}

QString ProductionURL(const QString &aHost, int aID)
{
  const QString sig = Signature(BDPV::kSecret + QStringLiteral("annee") + BDPV::kAllYears +
                                QStringLiteral("api_demandeur") + BDPV::kRequester + QStringLiteral("id_util") +
                                QString::number(aID));
  return QStringLiteral("http://") + aHost + BDPV::kProductionPath +
         QStringLiteral("?id_util=%1&annee=%2&api_sig=%3&api_demandeur=xt57").arg(aID).arg(BDPV::kAllYears, sig);
}

bool ReadMemberID(const TXmlElement &aRoot, int &aID)
{
  for (const TXmlElement &child : aRoot.Children)
    if (child.Name == QLatin1String("id"))
      return ReadInteger(child.Text, aID);
  aID = 0;
  return true;
}

int GetMonthValue(const TXmlElement &aRoot, int aYear, int aMonth)
{
  const TXmlElement *year = ChildNumbered(aRoot, aYear);
  const TXmlElement *month = year != nullptr ? ChildNumbered(*year, aMonth) : nullptr;
  if (month == nullptr || month->Children.size() < 2)
    return 0;
  int value = 0;
  if (!ReadInteger(month->Children[1].Text, value))
    return 0;
  if (value == -1 && !ReadInteger(month->Children[0].Text, value))
    return 0;
  return value == -1 ? 0 : value;
}

void StoreProductionYears(TdtmData &aData, const TXmlElement &aRoot, int aLastYear)
{
  for (int year = BDPV::kFirstYear; year <= aLastYear; ++year) {
    TMonthData months{};
    for (int m = 1; m <= 12; ++m)
      months[static_cast<std::size_t>(m - 1)] = GetMonthValue(aRoot, year, m);
    aData.SetProduction(YearToIDSource(year), months);
  }
}
