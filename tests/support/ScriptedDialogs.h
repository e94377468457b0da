#pragma once
// A user-dialogs stand-in: records every text shown and answers questions from a script.

#include "platform/UserDialogs.h"

#include <QString>
#include <QStringList>

#include <deque>

class ScriptedDialogs final : public IUserDialogs {
public:
  ScriptedDialogs();
  ~ScriptedDialogs() override;
  ScriptedDialogs(const ScriptedDialogs &) = delete;
  ScriptedDialogs &operator=(const ScriptedDialogs &) = delete;

  // Answers given in order to MessageDlg; when none is left, mrCancel.
  void QueueAnswer(TModalResult answer) { answers.push_back(answer); }
  // Texts given in order to InputQuery; when none is left, the input is cancelled.
  void QueueInput(const QString &text) { inputs.push_back(text); }

  // Every text shown (ShowMessage and MessageDlg), in order.
  QStringList messages;
  int busyDepth = 0;

  void ShowMessage(const QString &text) override;
  TModalResult MessageDlg(const QString &text, TMsgDlgType type, unsigned buttons) override;
  bool InputQuery(const QString &caption, const QString &prompt, QString &value) override;
  void SetBusy(bool busy) override;

private:
  std::deque<TModalResult> answers;
  std::deque<QString> inputs;
  IUserDialogs *previous;
};
