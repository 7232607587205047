#pragma once
// The few services of the window toolkit that the run and the converters call:
// message boxes, the progress display, processing of pending events and the
// general error display. The window, the console and the tests each provide them.
#include "platform/Text.h"

enum class MsgKind { Error, Warning, Information, Confirmation };
// YesNoPadraoNao: Yes and No where Enter (the default button) answers No, for a
// question whose Yes would delete or double what the operator has.
enum class MsgButtons { OK, YesNo, YesNoPadraoNao };
enum class MsgResult { OK, Yes, No };

// The box title: the kind's standard word.
UString MsgTitle(MsgKind kind);

class WindowServices {
 public:
  virtual ~WindowServices() = default;
  // Modal box; returns the button pressed.
  virtual MsgResult MessageBox(MsgKind kind, const UString& text, MsgButtons buttons) = 0;
  // The same with an explanation under the text (what each answer of a question
  // does). Boxes that have no room for one (the console's, a script's) show the
  // text alone.
  virtual MsgResult MessageBoxExplicada(MsgKind kind, const UString& text, const UString& explicacao,
                                        MsgButtons buttons) {
    (void)explicacao;
    return MessageBox(kind, text, buttons);
  }
  // Lets the window repaint and handle waiting input, then returns.
  virtual void ProcessMessages() = 0;
  // An error that left an event handler uncaught.
  virtual void ShowError(const UString& text) = 0;

};

// For a run nobody watches (benchmarks, tools): every box is answered OK/Yes and
// written to standard error, as are errors.
class QuietServices : public WindowServices {
 public:
  MsgResult MessageBox(MsgKind kind, const UString& text, MsgButtons buttons) override;
  void ProcessMessages() override {}
  void ShowError(const UString& text) override;
};

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
