// Makes the table files supplied with the program that are missing from a Data folder.
// Usage: makeTables <folder of the CSV sources> <Data folder>

#include "platform/Field.h"
#include "shell/ShippedTables.h"

#include <QCoreApplication>
#include <QStringList>

#include <cstdio>
#include <exception>

int main(int argc, char **argv)
{
  QCoreApplication app(argc, argv);
  const QStringList args = QCoreApplication::arguments();
  if (args.size() != 3) {
    std::fprintf(stderr, "usage: makeTables <source folder> <Data folder>\n");
    return 2;
  }
  try {
    for (const QString &name : MakeShippedTables(args.at(1), args.at(2)))
      std::printf("made %s\n", qPrintable(name));
  } catch (const EDatabaseError &error) {
    std::fprintf(stderr, "makeTables: %s\n", qPrintable(error.Message()));
    return 1;
  } catch (const std::exception &error) {
    std::fprintf(stderr, "makeTables: %s\n", error.what());
    return 1;
  }
  return 0;
}
