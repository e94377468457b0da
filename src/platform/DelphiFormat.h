#pragma once
// Formats like Delphi's Format: "%d", "%.2d" (zero-padded to two digits), "%f" (two
// decimals), "%.3f", "%g", "%.6g", "%e", "%s", "%%". Reals use the user's decimal
// separator unless dotDecimal is true (numbers sent to web services).

#include <QString>
#include <QVariant>
#include <QVariantList>

QString Format(const QString &format, const QVariantList &args, bool dotDecimal = false);

// Convenience for the common one-argument forms.
template <typename... Args>
QString FormatArgs(const QString &format, const Args &...args)
{
  return Format(format, QVariantList{QVariant::fromValue(args)...});
}

template <typename... Args>
QString FormatDot(const QString &format, const Args &...args)
{
  return Format(format, QVariantList{QVariant::fromValue(args)...}, true);
}
