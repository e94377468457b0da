#pragma once
// A fresh folder per test, removed afterwards.

#include <QString>
#include <QTemporaryDir>

class TempDir {
public:
  TempDir();
  QString path() const { return dir.path(); }
  // Path of a file inside the folder.
  QString file(const QString &name) const { return dir.filePath(name); }
  // Writes bytes to a file inside the folder and returns its path.
  QString write(const QString &name, const QByteArray &bytes) const;

private:
  QTemporaryDir dir;
};
