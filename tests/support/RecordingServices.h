#pragma once
// Window services for tests and scripted runs: answers boxes from a queue (OK/Yes
// when the queue is empty), and keeps every box shown, every error displayed and
// the count of event processing calls.
#include <deque>
#include <functional>
#include <vector>

#include "platform/WindowServices.h"

struct RecordedBox {
  MsgKind kind;
  UString text;
  MsgButtons buttons;
};

class RecordingServices : public WindowServices {
 public:
  MsgResult MessageBox(MsgKind kind, const UString& text, MsgButtons buttons) override;
  void ProcessMessages() override;
  void ShowError(const UString& text) override;

  std::vector<RecordedBox> boxes;
  std::vector<UString> errors;
  std::deque<MsgResult> answers;
  int processCount = 0;
  // Called on every ProcessMessages, so a test can look at the display mid-run.
  std::function<void()> onProcess;
};
