// The window services over Qt: boxes answered as an operator would, the progress
// display, event processing and the general error display.
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <algorithm>

#include "tests/support/RecordingServices.h"
#include "GuiTest.h"
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
      {MsgKind::Error, MsgButtons::OK, B::Ok, MsgResult::OK, "Error", B::Critical},
      {MsgKind::Warning, MsgButtons::OK, B::Ok, MsgResult::OK, "Warning", B::Warning},
      {MsgKind::Information, MsgButtons::OK, B::Ok, MsgResult::OK, "Information", B::Information},
      {MsgKind::Confirmation, MsgButtons::YesNo, B::No, MsgResult::No, "Confirm", B::Question},
      {MsgKind::Confirmation, MsgButtons::YesNo, B::Yes, MsgResult::Yes, "Confirm", B::Question},
      // Closing a question without an answer counts as No.
      {MsgKind::Confirmation, MsgButtons::YesNo, B::NoButton, MsgResult::No, "Confirm", B::Question},
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
    EXPECT_EQ(seen.title, c.title);
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
  EXPECT_EQ(seen.title, "Error");
  EXPECT_EQ(seen.text, "Falha geral");
}

TEST(QtProgressDisplay, BarShowsTheWholePercentageAndLabelTheText) {
  QtProgressBar bar;
  EXPECT_EQ(bar.Max(), 100);
  bar.SetMax(3);
  bar.StepBy(1);
  EXPECT_EQ(bar.text(), "33%");
  bar.StepBy(1);
  EXPECT_EQ(bar.text(), "66%");  // cut, not rounded
  bar.StepBy(5);
  EXPECT_EQ(bar.Position(), 3);
  EXPECT_EQ(bar.text(), "100%");
  // Nothing to convert: 0%, never Qt's busy indicator.
  bar.SetMax(0);
  EXPECT_EQ(bar.Position(), 0);
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
