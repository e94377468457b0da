#include "support/TempDir.h"

#include <QFile>

#include <stdexcept>

TempDir::TempDir()
{
  if (!dir.isValid())
    throw std::runtime_error("cannot create a temporary folder");
}

QString TempDir::write(const QString &name, const QByteArray &bytes) const
{
  const QString path = file(name);
  QFile out(path);
  if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size())
    throw std::runtime_error("cannot write a test file");
  return path;
}
