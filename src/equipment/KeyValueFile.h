#pragma once
// Equipment data files: text lines "key=value" written in Windows-1252 (the degree sign
// is one byte) and read in Windows-1252 unless the file starts with a UTF-8 or UTF-16
// byte-order mark.

#include <QString>
#include <QStringList>

#include <stdexcept>

// A file that cannot be read or written; the message is meant for the user.
class EKeyValueFileError : public std::runtime_error {
public:
  explicit EKeyValueFileError(const QString &message)
      : std::runtime_error(message.toStdString()), FMessage(message)
  {
  }
  QString Message() const { return FMessage; }

private:
  QString FMessage;
};

// Values by key of a file's lines; keys compare without regard to case and the first
// line with a key wins. Lines without "=" are ignored.
class TKeyValues {
public:
  // Reads a file; throws EKeyValueFileError when it cannot be opened or read.
  static TKeyValues FromFile(const QString &aFile);
  static TKeyValues FromBytes(const QByteArray &aBytes);

  // The value of a key, empty when the key is missing.
  QString Value(const QString &aKey) const;

private:
  QStringList FLines;
};

QString DecodeEquipmentText(const QByteArray &aBytes);
QByteArray EncodeEquipmentText(const QString &aText);

// Writes the lines, each ended by CR LF, in Windows-1252; throws EKeyValueFileError
// when the file cannot be written.
void WriteKeyValueFile(const QString &aFile, const QStringList &aLines);
