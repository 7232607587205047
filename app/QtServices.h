#pragma once
// The window services over Qt: modal message boxes, processing of pending events,
// the general error display, and the progress display bound to a QProgressBar and
// a QLabel.
#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <chrono>
#include <functional>
#include <vector>

#include "platform/Andamento.h"
#include "platform/WindowServices.h"

class QtWindowServices : public WindowServices {
 public:
  // A modal box over the active window, titled with the kind's word in Portuguese
  // ("Erro", "Atenção", "Informação", "Confirmação").
  MsgResult MessageBox(MsgKind kind, const UString& text, MsgButtons buttons) override;
  // The explanation as the box's informative text, under the question.
  MsgResult MessageBoxExplicada(MsgKind kind, const UString& text, const UString& explicacao,
                                MsgButtons buttons) override;
  // QCoreApplication::processEvents: repaints and handles waiting input, at most
  // about twenty times a second (calls in between return at once).
  void ProcessMessages() override;
  // An error box holding the message; the program goes on.
  void ShowError(const UString& text) override;

 private:
  bool processed_ = false;
  std::chrono::steady_clock::time_point ultimo_;
};

// The window's title of a box of that kind.
QString TituloDaCaixa(MsgKind kind);

// The bar and the label of the progress display reach their widgets at one moment:
// when the window next processes its events, each showing the state of that moment
// (the last of several changes in between wins). Neither paints on its own before
// the other, so at a change of kind the label never names a row the bar is not at.

// The progress bar of the progress display. The widget always runs from 0 to 100
// and shows the whole-number percentage of the display, so a maximum of 0 reads
// as 0% instead of Qt's busy indicator.
class QtProgressBar : public QProgressBar, public ProgressBar {
 public:
  explicit QtProgressBar(QWidget* parent = nullptr);

 protected:
  void Changed() override;

 private:
  void Mostra();
  bool pendente_ = false;
};

// The status label of the progress display; the text is shown as given, never as
// rich text, with its numbers in the Brazilian way ("Registro 1.234 de 5.000"), and
// the label grows to fit it.
class QtStatusLabel : public QLabel, public StatusLabel {
 public:
  explicit QtStatusLabel(QWidget* parent = nullptr);
  // Called each time a caption reaches the widget (the overall line follows it).
  void AoMostrar(std::function<void()> f) { aoMostrar_ = std::move(f); }

 protected:
  void Changed() override;

 private:
  void Mostra();
  bool pendente_ = false;
  std::function<void()> aoMostrar_;
};

// The line under the progress display that says how the whole run goes: "Tipo 2
// de 5 - 1.234 registros/s - faltam 0:42". It follows the label and the bar as
// they reach the window, and changes its text at most four times a second. Empty
// while no kind is on display.
class QtLinhaGeral : public QLabel {
 public:
  QtLinhaGeral(const ProgressBar& barra, QtStatusLabel& rotulo, QWidget* parent = nullptr);
  ~QtLinhaGeral() override;
  // The kinds of the run going on, asked each time a kind begins.
  std::function<std::vector<Andamento::Etapa>()> EtapasDaConversao;
  // Brings the line up to date with the display at `agoraMs` (a steady clock's).
  void Atualiza(long long agoraMs);

 private:
  const ProgressBar& barra_;
  const StatusLabel& rotulo_;
  QPointer<QtStatusLabel> seguido_;  // the label that calls back, while it lives
  Andamento andamento_;
  long long escritaMs_ = 0;
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
