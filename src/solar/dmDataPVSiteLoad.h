#pragma once
// Filling a site model from an installation record, whichever table holds the record.

#include "platform/ClientDataSet.h"
#include "solar/unPVSite.h"

#include <QString>
#include <QVariant>

#include <functional>

// The value of a field of the installation record.
using TRecordField = std::function<QVariant(const QString &aField)>;

// Position and plane, peak power, the module's temperature coefficient and NOCT (from
// aModule), the monthly temperatures and the monthly humidity of the record's climate
// station (from aClimate). Catalogue tables that are closed count as missing rows.
void LoadPVSiteFromRecord(TPVSite &aSite, const TRecordField &aRecord,
                          const TClientDataSet &aModule, const TClientDataSet &aClimate);
