#include "web/TextCodec.h"

#include <QRegularExpression>
#include <QStringDecoder>

#include <array>

namespace {

// Unicode characters of the bytes 0x80 to 0x9F (0 where the code page has none).
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

char EncodeChar(char16_t c)
{
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
    return static_cast<char>(c);
  for (std::size_t i = 0; i < kHighControls.size(); ++i)
    if (kHighControls[i] != 0 && kHighControls[i] == c)
      return static_cast<char>(0x80 + i);
  return '?';
}

bool IsWindows1252(const QString &name)
{
  const QString n = name.toLower();
  return n == QLatin1String("windows-1252") || n == QLatin1String("cp1252") ||
         n == QLatin1String("x-cp1252");
}

QString CharsetOf(const QString &aContentType)
{
  static const QRegularExpression charset(QStringLiteral("charset\\s*=\\s*\"?([\\w.:-]+)"),
                                          QRegularExpression::CaseInsensitiveOption);
  const QRegularExpressionMatch match = charset.match(aContentType);
  return match.hasMatch() ? match.captured(1) : QString();
}

// A character set declared inside an HTML or XML document.
QString DeclaredCharset(const QByteArray &aBody)
{
  static const QRegularExpression declared(
      QStringLiteral("(?:charset|encoding)\\s*=\\s*[\"']?([\\w.:-]+)"),
      QRegularExpression::CaseInsensitiveOption);
  const QRegularExpressionMatch match = declared.match(QString::fromLatin1(aBody.left(2048)));
  return match.hasMatch() ? match.captured(1) : QString();
}

}  // namespace

QByteArray ToWindows1252(const QString &aText)
{
  QByteArray bytes;
  bytes.reserve(aText.size());
  for (const QChar c : aText)
    bytes.append(EncodeChar(c.unicode()));
  return bytes;
}

QString FromWindows1252(const QByteArray &aBytes)
{
  QString text;
  text.reserve(aBytes.size());
  for (const char byte : aBytes) {
    const auto b = static_cast<unsigned char>(byte);
    const char16_t high = (b >= 0x80 && b < 0xA0) ? kHighControls[b - 0x80] : 0;
    text.append(QChar(high != 0 ? high : char16_t(b)));
  }
  return text;
}

TDecodedText DecodeBody(const QByteArray &aBody, const QString &aContentType)
{
  QString charset = CharsetOf(aContentType);
  if (charset.isEmpty())
    charset = DeclaredCharset(aBody);
  if (charset.isEmpty())
    charset = QStringLiteral("UTF-8");
  if (IsWindows1252(charset))
    return {FromWindows1252(aBody), charset};
  QStringDecoder decoder(charset.toLatin1().constData());
  if (!decoder.isValid())
    return {QString::fromUtf8(aBody), QStringLiteral("UTF-8")};
  return {decoder.decode(aBody), charset};
}
