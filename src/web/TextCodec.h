#pragma once
// Text conversions the web clients need: the single-byte Windows code page of signed and
// posted data, and the decoding of a response body by its character set.

#include <QByteArray>
#include <QString>

// Windows-1252 bytes of a text; characters the code page lacks become "?".
QByteArray ToWindows1252(const QString &aText);
QString FromWindows1252(const QByteArray &aBytes);

struct TDecodedText {
  QString Text;
  QString CodePage;  // name of the character set used
};

// Decodes a body with the "charset=" parameter of its content type or, when there is
// none, the character set the document declares itself; UTF-8 when neither is known.
TDecodedText DecodeBody(const QByteArray &aBody, const QString &aContentType);
