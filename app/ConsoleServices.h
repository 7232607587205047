#pragma once
// Window services for the console: boxes go to standard output as "[Title] text",
// the progress display to standard error (on a terminal a bar redrawn in place with
// the kind, the row, the rate and the time left; otherwise a line at each tenth of
// the way, quiet enough for a log).
#include <cstdio>
#include <string>

#include "platform/Andamento.h"
#include "platform/WindowServices.h"

class ConsoleProgress;

class ConsoleServices : public WindowServices {
 public:
  explicit ConsoleServices(std::FILE* out = stdout) : out_(out) {}
  // The progress display whose bar a box must not be written over.
  void SetProgress(ConsoleProgress* progress) { progress_ = progress; }
  MsgResult MessageBox(MsgKind kind, const UString& text, MsgButtons buttons) override;
  void ProcessMessages() override {}
  void ShowError(const UString& text) override;

 private:
  std::FILE* out_;
  ConsoleProgress* progress_ = nullptr;
};

class ConsoleBar : public ProgressBar {
 public:
  explicit ConsoleBar(ConsoleProgress& p) : p_(p) {}

 protected:
  void Changed() override;

 private:
  ConsoleProgress& p_;
};

class ConsoleLabel : public StatusLabel {
 public:
  explicit ConsoleLabel(ConsoleProgress& p) : p_(p) {}

 protected:
  void Changed() override;

 private:
  ConsoleProgress& p_;
};

// Draws the bar and the label together on standard error.
class ConsoleProgress {
 public:
  explicit ConsoleProgress(std::FILE* err = stderr);
  ~ConsoleProgress();
  ConsoleBar& Bar() { return bar_; }
  ConsoleLabel& Label() { return label_; }
  void Update(bool labelChanged);
  // Erases a bar drawn on the terminal's current line, so that other text starts on a
  // clean line; the bar is drawn again at its next change.
  void ClearLine();
  // Ends the display: a finished run leaves no bar behind.
  void Finish() { ClearLine(); }

 private:
  // " | 1234 reg/s, faltam 0:42" for the converter on display, once it has a rate.
  std::string RateAndTimeLeft(long long nowMs) const;

  std::FILE* err_;
  bool tty_;
  ConsoleBar bar_;
  ConsoleLabel label_;
  bool drawn_ = false;
  int lastTenth_ = -1;
  long long lastDrawMs_ = 0;
  UString lastPrefix_;  // of the last line written when not on a terminal
  Andamento andamento_;  // the rate and time left of the converter on display
};
