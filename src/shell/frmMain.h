#pragma once
// The main window: the installation database on three pages, kept in step with the
// current installation, and the user's settings restored and saved around it.

#include <QMainWindow>
#include <QString>

#include <memory>

class QSettings;
class QTableView;
class QTabWidget;
class TClientDataSet;
class TdtmData;

class TFormMain : public QMainWindow {
  Q_OBJECT

public:
  TFormMain(TdtmData &aData, const QString &aApplicationPath, QWidget *parent = nullptr);
  ~TFormMain() override;

  // Brings the window in line with the current installation.
  void UpdateData(bool aScroll);
  // Program version read back from the settings file.
  QString Version() const { return FVersion; }

protected:
  void showEvent(QShowEvent *event) override;
  void closeEvent(QCloseEvent *event) override;

private:
  QTableView *AddGrid(QWidget *page, TClientDataSet &aTable);
  void RestoreSettings();
  void SaveSettings();
  void OpenDatabase();

  TdtmData &FData;
  QString FApplicationPath;
  QString FVersion;
  int FLastSite = 0;
  bool FDataOpening = false;
  bool FOpened = false;
  std::unique_ptr<QSettings> FSettings;
  QTabWidget *FPages = nullptr;
};
