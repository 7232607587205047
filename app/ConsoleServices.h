#pragma once
// Window services for the console: boxes go to standard output as "[Title] text",
// the progress display to standard error (a bar redrawn in place on a terminal,
// a line at each tenth of the way otherwise).
#include <cstdio>

#include "platform/WindowServices.h"

class ConsoleServices : public WindowServices {
 public:
  explicit ConsoleServices(std::FILE* out = stdout) : out_(out) {}
  MsgResult MessageBox(MsgKind kind, const UString& text, MsgButtons buttons) override;
  void ProcessMessages() override {}
  void ShowError(const UString& text) override;

 private:
  std::FILE* out_;
};

class ConsoleProgress;

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
  // Ends a bar left drawn on the terminal's current line.
  void Finish();

 private:
  std::FILE* err_;
  bool tty_;
  ConsoleBar bar_;
  ConsoleLabel label_;
  bool drawn_ = false;
  int lastTenth_ = -1;
  long long lastDrawMs_ = 0;
  UString lastPrefix_;
};
