#pragma once
// What the core shows to or asks of the user. The windows install a Qt implementation
// at start-up; tests install a scripted stand-in that records the exact texts.

#include <QString>

#include <memory>

enum class TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };

// Buttons, as a set of flags.
enum TMsgDlgBtn : unsigned {
  mbYes = 1u << 0,
  mbNo = 1u << 1,
  mbOK = 1u << 2,
  mbCancel = 1u << 3,
};

enum class TModalResult { mrNone, mrOk, mrCancel, mrYes, mrNo };

class IUserDialogs {
public:
  virtual ~IUserDialogs() = default;
  // A plain message box (Delphi's ShowMessage).
  virtual void ShowMessage(const QString &text) = 0;
  // A message box of the given kind with the given buttons; the confirmation kind
  // carries the title "Confirmer" and the buttons "&Oui", "&Non", "Annuler".
  virtual TModalResult MessageDlg(const QString &text, TMsgDlgType type, unsigned buttons) = 0;
  // A text input; returns false when the user cancels (value then unchanged).
  virtual bool InputQuery(const QString &caption, const QString &prompt, QString &value) = 0;
  // Busy cursor on or off; calls nest.
  virtual void SetBusy(bool busy) = 0;
};

// The installed implementation. Until one is installed, a silent one answers
// "Annuler"/false to every question, so the core never blocks without a window.
IUserDialogs &UserDialogs();
// Installs an implementation (not owned) and returns the previous one.
IUserDialogs *SetUserDialogs(IUserDialogs *dialogs);

// Shows the busy cursor for the lifetime of the object.
class TBusyCursor {
public:
  TBusyCursor() { UserDialogs().SetBusy(true); }
  ~TBusyCursor() { UserDialogs().SetBusy(false); }
  TBusyCursor(const TBusyCursor &) = delete;
  TBusyCursor &operator=(const TBusyCursor &) = delete;
};
