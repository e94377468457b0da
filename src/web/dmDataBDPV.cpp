// The import of a member's published production from the BDPV production database.

#include "platform/UserDialogs.h"
#include "shell/dmData.h"
#include "web/BDPVImport.h"
#include "web/ServiceSettings.h"
#include "web/dmCustomHTTPS.h"

#include <QDate>

#include <memory>

namespace {

// Sends one request and reads its answer as XML; none when either fails.
std::optional<TXmlElement> RequestXml(TCustomHTTPS &aClient, const QString &aURL)
{
  QStringList document;
  aClient.SetOutputs(nullptr, &document);
  if (!aClient.GetURL(aURL))
    return std::nullopt;
  return ReadXml(document.join(QLatin1Char('\n')));
}

bool GetUserID(TCustomHTTPS &aClient, const QString &aHost, const QString &aUserBDPV, int &aID)
{
  const std::optional<TXmlElement> root = RequestXml(aClient, MemberURL(aHost, aUserBDPV));
  return root && ReadMemberID(*root, aID);
}

bool ImportUserProduction(TdtmData &aData, TCustomHTTPS &aClient, const QString &aHost, int aID)
{
  const std::optional<TXmlElement> root = RequestXml(aClient, ProductionURL(aHost, aID));
  if (!root)
    return false;
  StoreProductionYears(aData, *root, QDate::currentDate().year());
  return true;
}

}  // namespace

bool TdtmData::LoadUserProduction(const QString &aUserBDPV)
{
  std::unique_ptr<TCustomHTTPS> ownClient;
  if (HTTPS == nullptr)
    ownClient = std::make_unique<TCustomHTTPS>();
  TCustomHTTPS &client = HTTPS != nullptr ? *HTTPS : *ownClient;
  const QString host = ServiceSettings().BDPVHost;
  bool ok = true;
  try {
    // The identifier is asked only once per installation.
    int id = cdsData->FieldByName(QStringLiteral("BDPV_IDPrimary")).AsInteger();
    if (id == 0)
      ok = GetUserID(client, host, aUserBDPV, id);
    if (ok) {
      ok = ImportUserProduction(*this, client, host, id);
      cdsData->Edit();
      cdsData->FieldByName(QStringLiteral("BDPV_User")).SetAsString(aUserBDPV);
      cdsData->FieldByName(QStringLiteral("BDPV_IDPrimary")).SetAsInteger(id);
      cdsData->Post();
    }
  } catch (...) {
    Save();
    throw;
  }
  Save();
  return ok;
}

bool RunBDPVImport(TdtmData &aData)
{
  const TBusyCursor busy;
  QString pseudo = aData.cdsData->FieldByName(QStringLiteral("BDPV_User")).AsString();
  if (!UserDialogs().InputQuery(QStringLiteral("Import BDPV"), QStringLiteral("Pseudo :"), pseudo))
    return false;
  if (aData.LoadUserProduction(pseudo))
    return true;
  UserDialogs().ShowMessage(
      QStringLiteral("La récupération des données a échouée. Vérifiez votre pseudo et votre connexion Internet.\n"
                     "Il se peut également que le serveur soit surchargé, c'est souvent le cas en début de mois"));
  return false;
}
