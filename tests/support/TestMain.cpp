// Test entry: a GUI application object (offscreen) so that painting, fonts, event loops
// and network requests work, and the locale asked for by CTest.

#include <QGuiApplication>
#include <QLocale>

#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char **argv)
{
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  const QByteArray locale = qgetenv("QUELTA_TEST_LOCALE");
  QLocale::setDefault(QLocale(locale.isEmpty() ? QStringLiteral("fr_FR") : QString::fromLatin1(locale)));
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
