#pragma once
// The window services over Qt: modal message boxes, processing of pending events,
// the general error display, and the progress display bound to a QProgressBar and
// a QLabel.
#include <QApplication>
#include <chrono>
#include <QLabel>
#include <QProgressBar>

#include "platform/WindowServices.h"

class QtWindowServices : public WindowServices {
 public:
  // A modal box over the active window, titled with the kind's standard word.
  MsgResult MessageBox(MsgKind kind, const UString& text, MsgButtons buttons) override;
  // QCoreApplication::processEvents: repaints and handles waiting input, at most
  // about twenty times a second (calls in between return at once).
  void ProcessMessages() override;
  // An error box holding the message; the program goes on.
  void ShowError(const UString& text) override;

 private:
  bool processed_ = false;
  std::chrono::steady_clock::time_point ultimo_;
};

// The progress bar of the progress display. The widget always runs from 0 to 100
// and shows the whole-number percentage of the display, so a maximum of 0 reads
// as 0% instead of Qt's busy indicator.
class QtProgressBar : public QProgressBar, public ProgressBar {
 public:
  explicit QtProgressBar(QWidget* parent = nullptr);

 protected:
  void Changed() override;
};

// The status label of the progress display; the text is shown as it is, never as
// rich text, and the label grows to fit it. A new caption reaches the widget when the
// window next processes its events (the last of several changes in between wins).
class QtStatusLabel : public QLabel, public StatusLabel {
 public:
  explicit QtStatusLabel(QWidget* parent = nullptr);

 protected:
  void Changed() override;

 private:
  void Mostra();
  bool pendente_ = false;
};

// Runs `handler`; an error that leaves it is shown by the general error display of
// the services in force, and the program goes on.
template <class F>
void Protegido(F&& handler);

// The application object: an error that leaves any event handler is shown by the
// general error display instead of ending the program.
class TApplication : public QApplication {
 public:
  TApplication(int& argc, char** argv) : QApplication(argc, argv) {}
  bool notify(QObject* receiver, QEvent* event) override;
  // The services that show such an error (not owned; until set, standard error).
  void SetServicos(WindowServices* servicos) { servicos_ = servicos; }

 private:
  WindowServices* servicos_ = nullptr;
};

// Shows the error held by the current exception (called from a catch block).
void MostraErroCorrente(WindowServices& servicos);

template <class F>
void Protegido(WindowServices& servicos, F&& handler) {
  try {
    handler();
  } catch (...) {
    MostraErroCorrente(servicos);
  }
}
