#include "platform/widgets/QtUserDialogs.h"

#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

namespace {

// Message texts use "\r" as line break.
QString DisplayText(const QString &text)
{
  QString shown = text;
  shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
  shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return shown;
}

QMessageBox::Icon IconOf(TMsgDlgType type)
{
  switch (type) {
  case TMsgDlgType::mtWarning:
    return QMessageBox::Warning;
  case TMsgDlgType::mtError:
    return QMessageBox::Critical;
  case TMsgDlgType::mtInformation:
    return QMessageBox::Information;
  case TMsgDlgType::mtConfirmation:
    return QMessageBox::Question;
  case TMsgDlgType::mtCustom:
    break;
  }
  return QMessageBox::NoIcon;
}

QString TitleOf(TMsgDlgType type)
{
  switch (type) {
  case TMsgDlgType::mtWarning:
    return QStringLiteral("Avertissement");
  case TMsgDlgType::mtError:
    return QStringLiteral("Erreur");
  case TMsgDlgType::mtInformation:
    return QStringLiteral("Information");
  case TMsgDlgType::mtConfirmation:
    return QStringLiteral("Confirmer");
  case TMsgDlgType::mtCustom:
    break;
  }
  return QApplication::applicationDisplayName();
}

}  // namespace

void QtUserDialogs::ShowMessage(const QString &text)
{
  QMessageBox box(QMessageBox::NoIcon, QApplication::applicationDisplayName(), DisplayText(text),
                  QMessageBox::NoButton, FParent);
  box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
  box.exec();
}

TModalResult QtUserDialogs::MessageDlg(const QString &text, TMsgDlgType type, unsigned buttons)
{
  QMessageBox box(IconOf(type), TitleOf(type), DisplayText(text), QMessageBox::NoButton, FParent);
  struct Choice {
    unsigned flag;
    const char *caption;
    QMessageBox::ButtonRole role;
    TModalResult result;
  };
  static const Choice choices[] = {
      {mbYes, "&Oui", QMessageBox::YesRole, TModalResult::mrYes},
      {mbNo, "&Non", QMessageBox::NoRole, TModalResult::mrNo},
      {mbOK, "OK", QMessageBox::AcceptRole, TModalResult::mrOk},
      {mbCancel, "Annuler", QMessageBox::RejectRole, TModalResult::mrCancel},
  };
  std::vector<std::pair<QAbstractButton *, TModalResult>> added;
  for (const Choice &choice : choices)
    if (buttons & choice.flag)
      added.emplace_back(box.addButton(QString::fromUtf8(choice.caption), choice.role), choice.result);
  if (added.empty())
    added.emplace_back(box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole), TModalResult::mrOk);
  box.exec();
  for (const auto &[button, result] : added)
    if (box.clickedButton() == button)
      return result;
  return (buttons & mbCancel) ? TModalResult::mrCancel : TModalResult::mrNone;
}

bool QtUserDialogs::InputQuery(const QString &caption, const QString &prompt, QString &value)
{
  QInputDialog dialog(FParent);
  dialog.setWindowTitle(caption);
  dialog.setLabelText(prompt);
  dialog.setTextValue(value);
  dialog.setOkButtonText(QStringLiteral("OK"));
  dialog.setCancelButtonText(QStringLiteral("Annuler"));
  if (dialog.exec() != QDialog::Accepted)
    return false;
  value = dialog.textValue();
  return true;
}

void QtUserDialogs::SetBusy(bool busy)
{
  if (busy)
    QApplication::setOverrideCursor(Qt::WaitCursor);
  else
    QApplication::restoreOverrideCursor();
}
