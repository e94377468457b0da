#include "platform/UserDialogs.h"

namespace {

class SilentDialogs final : public IUserDialogs {
public:
  void ShowMessage(const QString &) override {}
  TModalResult MessageDlg(const QString &, TMsgDlgType, unsigned buttons) override
  {
    if (buttons & mbCancel)
      return TModalResult::mrCancel;
    if (buttons & mbNo)
      return TModalResult::mrNo;
    return TModalResult::mrOk;
  }
  bool InputQuery(const QString &, const QString &, QString &) override { return false; }
  void SetBusy(bool) override {}
};

SilentDialogs silentDialogs;
IUserDialogs *installed = &silentDialogs;

}  // namespace

IUserDialogs &UserDialogs() { return *installed; }

IUserDialogs *SetUserDialogs(IUserDialogs *dialogs)
{
  IUserDialogs *previous = installed;
  installed = dialogs ? dialogs : &silentDialogs;
  return previous;
}
