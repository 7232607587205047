#include "tests/support/RecordingServices.h"

MsgResult RecordingServices::MessageBox(MsgKind kind, const UString& text, MsgButtons buttons) {
  boxes.push_back({kind, text, buttons});
  MsgResult r = buttons == MsgButtons::OK ? MsgResult::OK : MsgResult::Yes;
  if (!answers.empty()) {
    r = answers.front();
    answers.pop_front();
  }
  return r;
}

void RecordingServices::ProcessMessages() {
  ++processCount;
  if (onProcess) onProcess();
}

void RecordingServices::ShowError(const UString& text) { errors.push_back(text); }
