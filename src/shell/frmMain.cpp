#include "shell/frmMain.h"

#include "platform/ClientDataSet.h"
#include "platform/TableModel.h"
#include "platform/UserDialogs.h"
#include "shell/dmData.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QHeaderView>
#include <QSettings>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

namespace {
const QString kCaption = QStringLiteral("Estimation de production de QUELTA");
const QString kSection = QStringLiteral("FormMain");
}  // namespace

TFormMain::TFormMain(TdtmData &aData, const QString &aApplicationPath, QWidget *parent)
    : QMainWindow(parent),
      FData(aData),
      FApplicationPath(aApplicationPath),
      FSettings(std::make_unique<QSettings>(aApplicationPath + QStringLiteral("QUELTA_Prod.ini"),
                                            QSettings::IniFormat))
{
  setWindowTitle(kCaption);
  FData.SetApplicationPath(FApplicationPath);
  FData.OnUpdateData = [this](bool aScroll) { UpdateData(aScroll); };
  FData.OnVersion = [this] { return FVersion; };

  FPages = new QTabWidget(this);
  setCentralWidget(FPages);

  auto *installationPage = new QWidget;
  auto *group = new QGroupBox(QStringLiteral("Description de l'installation "), installationPage);
  AddGrid(group, *FData.cdsData);
  auto *installationLayout = new QVBoxLayout(installationPage);
  installationLayout->addWidget(group);
  FPages->addTab(installationPage, QStringLiteral("Installation"));

  auto *productionPage = new QWidget;
  AddGrid(productionPage, *FData.cdsProd);
  FPages->addTab(productionPage, QStringLiteral("Production"));

  auto *cataloguePage = new QWidget;
  AddGrid(cataloguePage, *FData.cdsModule);
  AddGrid(cataloguePage, *FData.cdsOnduleur);
  FPages->addTab(cataloguePage, QStringLiteral("Données"));
  resize(1000, 700);
}

TFormMain::~TFormMain() = default;

QTableView *TFormMain::AddGrid(QWidget *page, TClientDataSet &aTable)
{
  if (!page->layout())
    new QVBoxLayout(page);
  auto *grid = new QTableView(page);
  grid->setModel(new TTableModel(aTable, grid));
  grid->setAlternatingRowColors(true);
  grid->setSelectionBehavior(QAbstractItemView::SelectRows);
  grid->setSelectionMode(QAbstractItemView::SingleSelection);
  grid->horizontalHeader()->setStretchLastSection(true);
  page->layout()->addWidget(grid);
  // The grid's current row follows the table's cursor and moves it when clicked.
  connect(grid->selectionModel(), &QItemSelectionModel::currentRowChanged, grid,
          [&aTable](const QModelIndex &current) {
            if (current.isValid() && aTable.Active() && aTable.State() == TDataSetState::dsBrowse &&
                current.row() + 1 != aTable.RecNo())
              aTable.SetRecNo(current.row() + 1);
          });
  return grid;
}

void TFormMain::showEvent(QShowEvent *event)
{
  QMainWindow::showEvent(event);
  if (FOpened)
    return;
  FOpened = true;
  RestoreSettings();
  OpenDatabase();
}

void TFormMain::RestoreSettings()
{
  restoreGeometry(FSettings->value(QStringLiteral("Placement/Geometry")).toByteArray());
  FSettings->beginGroup(kSection);
  FLastSite = FSettings->value(QStringLiteral("LastSite"), 0).toInt();
  FVersion = FSettings->value(QStringLiteral("Version"), QString()).toString();
  FSettings->endGroup();
}

void TFormMain::SaveSettings()
{
  FSettings->setValue(QStringLiteral("Placement/Geometry"), saveGeometry());
  FSettings->beginGroup(kSection);
  if (FData.cdsData->Active() && !FData.cdsData->IsEmpty())
    FSettings->setValue(QStringLiteral("LastSite"), FData.cdsData->FieldByName(QStringLiteral("ID")).AsInteger());
  FSettings->setValue(QStringLiteral("Version"), ProgramFileVersion());
  FSettings->endGroup();
  FSettings->sync();
}

void TFormMain::OpenDatabase()
{
  FDataOpening = true;
  try {
    FData.Open();
  } catch (const std::exception &error) {
    // The tables not yet opened stay closed and the window no longer updates itself.
    UserDialogs().MessageDlg(QString::fromUtf8(error.what()), TMsgDlgType::mtError, mbOK);
    return;
  }
  FDataOpening = false;
  FData.cdsData->Locate(QStringLiteral("ID"), FLastSite);
  UpdateData(true);
}

void TFormMain::UpdateData(bool aScroll)
{
  if (FDataOpening)
    return;
  TClientDataSet &installations = *FData.cdsData;
  const bool located = installations.RecordCount() > 0 &&
                       installations.FieldByName(QStringLiteral("Latitude")).AsFloat() != 0;
  if (aScroll && located)
    setWindowTitle(QStringLiteral("%1 - %2").arg(kCaption, installations.FieldByName(QStringLiteral("Site")).AsString()));
}

void TFormMain::closeEvent(QCloseEvent *event)
{
  SaveSettings();
  FDataOpening = true;
  try {
    FData.Close();
  } catch (const std::exception &error) {
    UserDialogs().MessageDlg(QString::fromUtf8(error.what()), TMsgDlgType::mtError, mbOK);
  }
  event->accept();
}
