#pragma once
// The few services of the window toolkit that the run and the converters call:
// message boxes, the progress display, processing of pending events and the
// general error display. The window, the console and the tests each provide them.
#include <deque>
#include <functional>
#include <vector>

#include "platform/Text.h"

enum class MsgKind { Error, Warning, Information, Confirmation };
enum class MsgButtons { OK, YesNo };
enum class MsgResult { OK, Yes, No };

// The box title: the kind's standard word.
UString MsgTitle(MsgKind kind);

class WindowServices {
 public:
  virtual ~WindowServices() = default;
  // Modal box; returns the button pressed.
  virtual MsgResult MessageBox(MsgKind kind, const UString& text, MsgButtons buttons) = 0;
  // Lets the window repaint and handle waiting input, then returns.
  virtual void ProcessMessages() = 0;
  // An error that left an event handler uncaught.
  virtual void ShowError(const UString& text) = 0;

  // The services in force for the process. Until some are installed, a quiet
  // stand-in answers every box with OK/Yes and writes it to standard error.
  static WindowServices& Current();
  // Installs `s` (not owned; nullptr restores the stand-in).
  static void Install(WindowServices* s);
};

// Shortcuts over the services in force.
MsgResult MessageDlg(const UString& text, MsgKind kind, MsgButtons buttons);
void ProcessMessages();

// The progress bar: a maximum (100 when created) and a position kept between 0 and it.
class ProgressBar {
 public:
  ProgressBar() = default;
  virtual ~ProgressBar() = default;
  int Max() const { return max_; }
  int Position() const { return position_; }
  // Negative maxima count as 0; a position above the new maximum is lowered to it.
  void SetMax(int max);
  // Kept between 0 and the maximum.
  void SetPosition(int position);
  void StepBy(int delta = 1);
  // Whole-number part of position * 100 / maximum; 0 when the maximum is 0.
  int Percent() const;

 protected:
  // Called after every change, for a display to follow.
  virtual void Changed() {}

 private:
  int max_ = 100;
  int position_ = 0;
};

// The status label of the progress display.
class StatusLabel {
 public:
  StatusLabel() = default;
  virtual ~StatusLabel() = default;
  const UString& Caption() const { return caption_; }
  void SetCaption(const UString& text);

 protected:
  virtual void Changed() {}

 private:
  UString caption_;
};

// For tests and scripted runs: answers boxes from a queue (OK/Yes when the queue is
// empty), and keeps every box shown, every error displayed and the count of event
// processing calls.
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

// Installs a RecordingServices for the life of the object.
class ScopedRecordingServices {
 public:
  ScopedRecordingServices() { WindowServices::Install(&services); }
  ~ScopedRecordingServices() { WindowServices::Install(nullptr); }
  ScopedRecordingServices(const ScopedRecordingServices&) = delete;
  ScopedRecordingServices& operator=(const ScopedRecordingServices&) = delete;
  RecordingServices services;
};
