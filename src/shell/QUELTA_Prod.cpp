// Program entry: the data module, the main window, then the event loop.

#include "platform/widgets/QtUserDialogs.h"
#include "shell/dmData.h"
#include "shell/frmMain.h"
#include "solar/unListPVSite.h"
#include "web/dmCustomHTTPS.h"

#include <QApplication>
#include <QDir>

int main(int argc, char **argv)
{
  QApplication app(argc, argv);
  QApplication::setApplicationDisplayName(QStringLiteral("Estimation de production QUELTA"));

  const QString applicationPath = QDir(QCoreApplication::applicationDirPath()).absolutePath() + QDir::separator();
  QDir().mkpath(applicationPath + QStringLiteral("Data"));

  TdtmData data;
  data.SetListPVSite(std::make_unique<TListPVSite>());
  TFormMain window(data, applicationPath);
  TCustomHTTPS https;
  data.HTTPS = &https;
  QtUserDialogs dialogs(&window);
  SetUserDialogs(&dialogs);
  window.show();
  const int result = QApplication::exec();
  SetUserDialogs(nullptr);
  return result;
}
