#include "solar/unRecordText.h"

#include <QRegularExpression>
#include <QString>

double RecordTextToNumber(const QVariant &aValue)
{
  if (aValue.isNull())
    return 0;
  if (aValue.typeId() != QMetaType::QString)
    return aValue.toDouble();
  QString text = aValue.toString();
  text.replace(QLatin1Char(','), QLatin1Char('.'));
  static const QRegularExpression blanks(QStringLiteral("\\s"));
  text.remove(blanks);
  bool ok = false;
  const double value = text.toDouble(&ok);
  return ok ? value : 0;
}
