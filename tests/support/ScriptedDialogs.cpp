#include "support/ScriptedDialogs.h"

ScriptedDialogs::ScriptedDialogs() : previous(SetUserDialogs(this)) {}

ScriptedDialogs::~ScriptedDialogs() { SetUserDialogs(previous); }

void ScriptedDialogs::ShowMessage(const QString &text) { messages << text; }

TModalResult ScriptedDialogs::MessageDlg(const QString &text, TMsgDlgType, unsigned)
{
  messages << text;
  if (answers.empty())
    return TModalResult::mrCancel;
  const TModalResult answer = answers.front();
  answers.pop_front();
  return answer;
}

bool ScriptedDialogs::InputQuery(const QString &, const QString &prompt, QString &value)
{
  messages << prompt;
  if (inputs.empty())
    return false;
  value = inputs.front();
  inputs.pop_front();
  return true;
}

void ScriptedDialogs::SetBusy(bool busy) { busyDepth += busy ? 1 : -1; }
