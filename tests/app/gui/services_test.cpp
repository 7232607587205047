// The window services over Qt: boxes answered as an operator would, the progress
// display, event processing and the general error display.
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <algorithm>

#include "tests/support/RecordingServices.h"
#include "GuiTest.h"
#include "platform/Andamento.h"
#include "platform/Error.h"

namespace {

using B = QMessageBox;

struct SeenBox {
  QString title, text;
  B::Icon icon = B::NoIcon;
  QList<B::StandardButton> buttons;  // in ascending order of the enum
};

// Runs `show`, which opens one box, and answers the box with `press`, or with
// Escape when `press` is NoButton.
SeenBox Answered(B::StandardButton press, const std::function<void()>& show) {
  SeenBox seen;
  WhenModal<B>([&seen, press](B* box) {
    seen = {box->windowTitle(), box->text(), box->icon(), {}};
    for (QAbstractButton* b : box->buttons()) seen.buttons << box->standardButton(b);
    std::sort(seen.buttons.begin(), seen.buttons.end());
    if (press == B::NoButton) QTest::keyClick(box, Qt::Key_Escape);
    else QTest::mouseClick(box->button(press), Qt::LeftButton);
  });
  show();
  return seen;
}

}  // namespace

TEST(QtWindowServices, BoxesCarryTheKindsTitleAndIconShowTheTextAsGivenAndReturnThePressedButton) {
  const QList<B::StandardButton> ok{B::Ok}, yesNo{B::Yes, B::No};
  struct Case { MsgKind kind; MsgButtons buttons; B::StandardButton press; MsgResult result; const char* title;
                B::Icon icon; };
  const Case cases[] = {
      {MsgKind::Error, MsgButtons::OK, B::Ok, MsgResult::OK, "Erro", B::Critical},
      {MsgKind::Warning, MsgButtons::OK, B::Ok, MsgResult::OK, "Atenção", B::Warning},
      {MsgKind::Information, MsgButtons::OK, B::Ok, MsgResult::OK, "Informação", B::Information},
      {MsgKind::Confirmation, MsgButtons::YesNo, B::No, MsgResult::No, "Confirmação", B::Question},
      {MsgKind::Confirmation, MsgButtons::YesNo, B::Yes, MsgResult::Yes, "Confirmação", B::Question},
      // Closing a question without an answer counts as No.
      {MsgKind::Confirmation, MsgButtons::YesNo, B::NoButton, MsgResult::No, "Confirmação", B::Question},
  };
  // Shown as given, never as rich text, with the carriage return as a line break.
  const UString text = u"Não foi possível conectar ao banco de dados Norvale\rMotivo: <b>x</b> & 'y'";
  const QString shown = QString::fromUtf8("Não foi possível conectar ao banco de dados Norvale\nMotivo: <b>x</b> & 'y'");
  QtWindowServices s;
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.title) + " pressing " + std::to_string(int(c.press)));
    MsgResult result{};
    const SeenBox seen = Answered(c.press, [&] { result = s.MessageBox(c.kind, text, c.buttons); });
    EXPECT_EQ(result, c.result);
    EXPECT_EQ(seen.title, QString::fromUtf8(c.title));
    EXPECT_EQ(seen.text, shown);
    EXPECT_EQ(seen.icon, c.icon);
    EXPECT_EQ(seen.buttons, c.buttons == MsgButtons::OK ? ok : yesNo);
  }
}

TEST(QtWindowServices, ProcessMessagesDeliversWaitingEvents) {
  QtWindowServices s;
  bool delivered = false;
  QTimer::singleShot(0, [&] { delivered = true; });
  s.ProcessMessages();
  EXPECT_TRUE(delivered);
}

TEST(QtWindowServices, ErrorsLeavingAnEventHandlerReachTheErrorDisplayWhichIsAnErrorBox) {
  // An object whose event handler throws, as a handler of the window might.
  struct Throws : QObject {
    bool event(QEvent* e) override {
      if (e->type() == QEvent::User) throw EDatabaseError(u"conexão perdida");
      return QObject::event(e);
    }
  } target;
  RecordingServices rec;
  auto* app = static_cast<TApplication*>(QApplication::instance());
  app->SetServicos(&rec);
  QEvent ev(QEvent::User);
  EXPECT_FALSE(QApplication::sendEvent(&target, &ev));
  app->SetServicos(nullptr);
  EXPECT_EQ(rec.errors, std::vector<UString>{u"conexão perdida"});
  // The error display of the Qt services is an error box.
  QtWindowServices s;
  const SeenBox seen = Answered(B::Ok, [&] { s.ShowError(u"Falha geral"); });
  EXPECT_EQ(seen.title, "Erro");
  EXPECT_EQ(seen.text, "Falha geral");
}

TEST(QtProgressDisplay, BarShowsTheWholePercentageAndLabelTheText) {
  QtProgressBar bar;
  EXPECT_EQ(bar.Max(), 100);
  bar.SetMax(3);
  bar.StepBy(1);
  QCoreApplication::processEvents();
  EXPECT_EQ(bar.text(), "33%");
  bar.StepBy(1);
  QCoreApplication::processEvents();
  EXPECT_EQ(bar.text(), "66%");  // cut, not rounded
  bar.StepBy(5);
  EXPECT_EQ(bar.Position(), 3);
  QCoreApplication::processEvents();
  EXPECT_EQ(bar.text(), "100%");
  // Nothing to convert: 0%, never Qt's busy indicator.
  bar.SetMax(0);
  EXPECT_EQ(bar.Position(), 0);
  QCoreApplication::processEvents();
  EXPECT_EQ(bar.text(), "0%");
  EXPECT_EQ(bar.maximum(), 100);
  EXPECT_EQ(bar.value(), 0);

  // The label shows its caption once the window has processed its events, the last
  // of several captions set in between.
  QtStatusLabel label;
  label.SetCaption(u"Convertendo Grupos de produtos - Registro 0 de 3");
  label.SetCaption(u"Convertendo Grupos de produtos - Registro 1 de 3 <i>");
  QCoreApplication::processEvents();
  EXPECT_EQ(label.text(), QString::fromUtf8("Convertendo Grupos de produtos - Registro 1 de 3 <i>"));
  EXPECT_EQ(label.textFormat(), Qt::PlainText);
  EXPECT_GE(label.width(), label.sizeHint().width());
  label.SetCaption(u"");
  QCoreApplication::processEvents();
  EXPECT_EQ(label.text(), "");
}

// The converters show row r's text, let the window process its events, convert the
// row and advance the bar: whatever the window shows, the bar's percentage is that
// of the rows before the one the label names, also right after a change of kind.
TEST(QtProgressDisplay, BarLabelAndOverallLineShowTheSameMomentAcrossAChangeOfKind) {
  QtProgressBar bar;
  QtStatusLabel label;
  QtLinhaGeral linha(bar, label);
  linha.EtapasDaConversao = [] {
    return std::vector<Andamento::Etapa>{{u"Convertendo Grupos de produtos - Registro ", -1},
                                         {u"Convertendo Fabricantes - Registro ", -1}};
  };
  auto kind = [&](const UString& texto, int rows, int upTo) {
    bar.SetMax(rows);
    for (int r = 1; r <= upTo; ++r) {
      label.SetCaption(texto + IntToU(r) + u" de " + IntToU(rows));
      if (r < upTo || upTo == rows) bar.StepBy(1);
    }
    if (upTo == rows) {
      label.SetCaption(u"");
      bar.SetPosition(0);
      bar.SetMax(0);
    }
  };
  const UString grupos = u"Convertendo Grupos de produtos - Registro ";
  kind(grupos, 5000, 3201);
  QCoreApplication::processEvents();
  EXPECT_EQ(label.text(), "Convertendo Grupos de produtos - Registro 3.201 de 5.000");
  EXPECT_EQ(bar.text(), "64%");
  EXPECT_EQ(linha.text(), "Tipo 1 de 2");  // no rate in a kind's first second

  // The rest of the groups and the start of the next kind, all between two turns of
  // the window: nothing reaches the screen before the rest does.
  for (int r = 3202; r <= 5000; ++r) {
    label.SetCaption(grupos + IntToU(r) + u" de 5000");
    bar.StepBy(1);
  }
  label.SetCaption(u"");
  bar.SetPosition(0);
  bar.SetMax(0);
  kind(u"Convertendo Fabricantes - Registro ", 200, 101);
  EXPECT_EQ(label.text(), "Convertendo Grupos de produtos - Registro 3.201 de 5.000");
  EXPECT_EQ(bar.text(), "64%");
  QCoreApplication::processEvents();
  EXPECT_EQ(label.text(), "Convertendo Fabricantes - Registro 101 de 200");
  EXPECT_EQ(bar.text(), "50%");
  EXPECT_EQ(linha.text(), "Tipo 2 de 2");

  kind(u"Convertendo Fabricantes - Registro ", 200, 200);
  QCoreApplication::processEvents();
  EXPECT_EQ(label.text(), "");
  EXPECT_EQ(bar.text(), "0%");
  EXPECT_EQ(linha.text(), "");
}

// What the overall line says once a kind has run a while: its rate and the time
// left, of the run when the rows of the kinds to come are known.
TEST(QtProgressDisplay, OverallLineSaysTheKindTheRateAndTheTimeLeft) {
  Andamento a;
  a.SetEtapas({{u"Convertendo Clientes - Registro ", 10000},
               {u"Convertendo Produtos - Registro ", 20000},
               {u"Convertendo Fabricantes - Registro ", -1}});
  ProgressBar bar;
  StatusLabel label;
  bar.SetMax(20000);
  label.SetCaption(u"Convertendo Produtos - Registro 1 de 20000");
  EXPECT_TRUE(a.Acompanha(label, bar, 100000));
  bar.SetPosition(5000);
  label.SetCaption(u"Convertendo Produtos - Registro 5001 de 20000");
  EXPECT_FALSE(a.Acompanha(label, bar, 104000));
  EXPECT_EQ(a.Resumo(bar, 100500), u"Tipo 2 de 3");
  EXPECT_EQ(a.Resumo(bar, 104000), u"Tipo 2 de 3 - 1.250 registros/s - faltam 0:12 neste tipo");
  a.SetEtapas({{u"Convertendo Clientes - Registro ", 10000},
               {u"Convertendo Produtos - Registro ", 20000},
               {u"Convertendo Fabricantes - Registro ", 60000}});
  EXPECT_EQ(a.Resumo(bar, 104000), u"Tipo 2 de 3 - 1.250 registros/s - faltam 1:00");
  label.SetCaption(u"");
  a.Acompanha(label, bar, 105000);
  EXPECT_EQ(a.Resumo(bar, 105000), u"");

  EXPECT_EQ(NumerosComMilhares(u"Registro 999 de 1234567; código 12345/2024 e 0012345"),
            u"Registro 999 de 1.234.567; código 12345/2024 e 0012345");
}
