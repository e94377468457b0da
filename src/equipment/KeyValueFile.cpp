#include "equipment/KeyValueFile.h"

#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>

namespace {

const char *const CodePage = "windows-1252";

}  // namespace

QString DecodeEquipmentText(const QByteArray &aBytes)
{
  // QStringConverter::encodingForData recognises the byte-order marks only.
  if (const auto bom = QStringConverter::encodingForData(aBytes)) {
    QStringDecoder decoder(*bom);
    return decoder(aBytes);
  }
  QStringDecoder decoder(CodePage);
  if (!decoder.isValid())
    throw EKeyValueFileError(QStringLiteral("Codage windows-1252 indisponible"));
  return decoder(aBytes);
}

QByteArray EncodeEquipmentText(const QString &aText)
{
  QStringEncoder encoder(CodePage);
  if (!encoder.isValid())
    throw EKeyValueFileError(QStringLiteral("Codage windows-1252 indisponible"));
  return encoder(aText);
}

TKeyValues TKeyValues::FromFile(const QString &aFile)
{
  QFile file(aFile);
  if (!file.open(QIODevice::ReadOnly))
    throw EKeyValueFileError(QStringLiteral("Impossible d'ouvrir le fichier %1").arg(aFile));
  const QByteArray bytes = file.readAll();
  if (file.error() != QFileDevice::NoError)
    throw EKeyValueFileError(QStringLiteral("Impossible de lire le fichier %1").arg(aFile));
  return FromBytes(bytes);
}

TKeyValues TKeyValues::FromBytes(const QByteArray &aBytes)
{
  QString text = DecodeEquipmentText(aBytes);
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  TKeyValues values;
  values.FLines = text.split(QLatin1Char('\n'));
  return values;
}

namespace {

// Position of the "=" of the first line whose key is aKey, or -1.
qsizetype FindKey(const QStringList &lines, const QString &aKey, qsizetype &line)
{
  for (line = 0; line < lines.size(); ++line) {
    const qsizetype equal = lines[line].indexOf(QLatin1Char('='));
    if (equal >= 0 && QStringView(lines[line]).left(equal).compare(aKey, Qt::CaseInsensitive) == 0)
      return equal;
  }
  return -1;
}

}  // namespace

QString TKeyValues::Value(const QString &aKey) const
{
  qsizetype line = 0;
  const qsizetype equal = FindKey(FLines, aKey, line);
  return equal < 0 ? QString() : FLines[line].mid(equal + 1);
}

void WriteKeyValueFile(const QString &aFile, const QStringList &aLines)
{
  QByteArray bytes;
  for (const QString &line : aLines)
    bytes += EncodeEquipmentText(line) + "\r\n";
  QSaveFile file(aFile);
  if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
    throw EKeyValueFileError(QStringLiteral("Impossible de créer le fichier %1").arg(aFile));
}
