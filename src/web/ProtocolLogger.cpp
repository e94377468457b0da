#include "web/ProtocolLogger.h"

#include <QFile>
#include <QTime>

#include <memory>

namespace {

struct TLogState {
  QString fileName;
  std::unique_ptr<QFile> file;
};

TLogState &State()
{
  static TLogState state;
  return state;
}

}  // namespace

void TProtocolLogger::Open(const QString &aFileName)
{
  TLogState &state = State();
  if (state.file)
    return;
  auto file = std::make_unique<QFile>(aFileName);
  if (!file->open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text))
    return;  // the protocol log is a debugging aid; requests work without it
  state.fileName = aFileName;
  state.file = std::move(file);
}

QString TProtocolLogger::FileName() { return State().fileName; }

void TProtocolLogger::Log(const QString &aLine)
{
  QFile *file = State().file.get();
  if (file == nullptr)
    return;
  file->write(QTime::currentTime().toString(QStringLiteral("hh:mm:ss:zzz ")).toUtf8());
  file->write(aLine.toUtf8());
  file->write("\n");
  file->flush();
}
