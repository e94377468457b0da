#include "web/ResponseFileName.h"

namespace {

QString ImageExtension(const QString &aContentType)
{
  const QString type = aContentType.section(QLatin1Char(';'), 0, 0).trimmed().toLower();
  if (type == QLatin1String("image/gif"))
    return QStringLiteral("gif");
  if (type == QLatin1String("image/jpeg"))
    return QStringLiteral("jpg");
  if (type == QLatin1String("image/bmp"))
    return QStringLiteral("bmp");
  return QString();
}

}  // namespace

QString DocumentName(const QUrl &aURL)
{
  const QString path = aURL.path();
  return path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
}

QString ResponseFileName(const QString &aFixedName, const QString &aDocumentName,
                         const QString &aContentType)
{
  QString name = aFixedName.isEmpty() ? aDocumentName : aFixedName;
  const QString extension = ImageExtension(aContentType);
  if (!extension.isEmpty()) {
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    name = (dot < 0 ? name + QLatin1Char('.') : name.left(dot + 1)) + extension;
  }
  if (name.isEmpty())
    name = QStringLiteral("HTTPS.htm");
  return name;
}
