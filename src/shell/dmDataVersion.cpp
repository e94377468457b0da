#include "shell/dmData.h"

QString GetFileVersion(const QString &aFileVersion)
{
  QString version = aFileVersion;
  const qsizetype at = version.indexOf(QStringLiteral(".0.0"));
  if (at >= 0)
    version.remove(at, 4);
  return version;
}

QString ProgramFileVersion()
{
  // The executable's file version, given by the build (the project version).
  return GetFileVersion(QStringLiteral(QUELTA_FILE_VERSION));
}
