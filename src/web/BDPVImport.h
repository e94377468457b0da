#pragma once
// The requests of the BDPV production database: MD5-signed queries that identify this
// program as requester "xt57", and the reading of their XML answers.

#include "web/XmlTree.h"

#include <QString>

class TdtmData;

namespace BDPV {
inline const QString kRequester = QStringLiteral("xt57");
inline const QString kSecret = QStringLiteral("xt57_19940315");
inline const QString kMemberPath = QStringLiteral("/ajax/ajax_xml_infos_util.php");
inline const QString kProductionPath = QStringLiteral("/ajax/ajax_xml_prod_util.php");
inline const QString kAllYears = QStringLiteral("tout");
inline constexpr int kFirstYear = 2007;
}  // namespace BDPV

// MD5 of the Windows-1252 bytes of aBase, as 32 lower-case hexadecimal digits.
QString Signature(const QString &aBase);

// The member request for a pseudo: the signature covers the pseudo as typed, the
// address carries its blanks as "%20".
QString MemberURL(const QString &aHost, const QString &aUserBDPV);
QString ProductionURL(const QString &aHost, int aID);

// The member's identifier in a member answer: 0 without an "id" element; false when the
// identifier does not convert.
bool ReadMemberID(const TXmlElement &aRoot, int &aID);

// A month's production in a production answer (0 when absent or unreadable).
int GetMonthValue(const TXmlElement &aRoot, int aYear, int aMonth);

// Writes the measured-production rows of years kFirstYear to aLastYear from a production
// answer into the current installation.
void StoreProductionYears(TdtmData &aData, const TXmlElement &aRoot, int aLastYear);

// The "Import BDPV" command: asks the pseudo (the installation's one proposed), imports,
// and tells the user when the import failed. True when production was imported (the
// caller then refreshes its production displays).
bool RunBDPVImport(TdtmData &aData);
