#pragma once
// The user dialogs of the desktop: Qt message boxes with French buttons.

#include "platform/UserDialogs.h"

class QWidget;

class QtUserDialogs final : public IUserDialogs {
public:
  explicit QtUserDialogs(QWidget *parent = nullptr) : FParent(parent) {}
  void SetParent(QWidget *parent) { FParent = parent; }

  void ShowMessage(const QString &text) override;
  TModalResult MessageDlg(const QString &text, TMsgDlgType type, unsigned buttons) override;
  bool InputQuery(const QString &caption, const QString &prompt, QString &value) override;
  void SetBusy(bool busy) override;

private:
  QWidget *FParent;
};
