#include "platform/ClientDataSet.h"

const QString TClientDataSet::DefaultOrderIndex = QStringLiteral("DEFAULT_ORDER");
const QString TClientDataSet::ChangeIndex = QStringLiteral("CHANGEINDEX");
