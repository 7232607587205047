// The window services over Qt: boxes answered as an operator would, the progress
// display, event processing and the general error display.
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>

#include "GuiTest.h"
#include "platform/Error.h"

namespace {

struct SeenBox {
  QString title, text;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QList<QMessageBox::StandardButton> buttons;
};

// Shows one box through the services and answers it with `press`.
MsgResult Answer(QtWindowServices& s, MsgKind kind, const UString& text, MsgButtons buttons,
                 QMessageBox::StandardButton press, SeenBox& seen) {
  WhenModal<QMessageBox>([&, press](QMessageBox* box) {
    seen.title = box->windowTitle();
    seen.text = box->text();
    seen.icon = box->icon();
    for (QAbstractButton* b : box->buttons()) seen.buttons << box->standardButton(b);
    QTest::mouseClick(box->button(press), Qt::LeftButton);
  });
  return s.MessageBox(kind, text, buttons);
}

}  // namespace

TEST(QtWindowServices, BoxesCarryTheKindsTitleAndReturnThePressedButton) {
  QtWindowServices s;
  SeenBox seen;
  EXPECT_EQ(Answer(s, MsgKind::Error, u"Falhou", MsgButtons::OK, QMessageBox::Ok, seen), MsgResult::OK);
  EXPECT_EQ(seen.title, "Error");
  EXPECT_EQ(seen.text, "Falhou");
  EXPECT_EQ(seen.icon, QMessageBox::Critical);
  EXPECT_EQ(seen.buttons, QList<QMessageBox::StandardButton>{QMessageBox::Ok});

  seen = {};
  EXPECT_EQ(Answer(s, MsgKind::Warning, u"Cuidado", MsgButtons::OK, QMessageBox::Ok, seen), MsgResult::OK);
  EXPECT_EQ(seen.title, "Warning");
  seen = {};
  EXPECT_EQ(Answer(s, MsgKind::Information, u"Conversão concluída com sucesso!", MsgButtons::OK, QMessageBox::Ok,
                   seen),
            MsgResult::OK);
  EXPECT_EQ(seen.title, "Information");
  EXPECT_EQ(seen.text, QString::fromUtf8("Conversão concluída com sucesso!"));

  seen = {};
  EXPECT_EQ(Answer(s, MsgKind::Confirmation, u"Continuar?", MsgButtons::YesNo, QMessageBox::No, seen),
            MsgResult::No);
  EXPECT_EQ(seen.title, "Confirm");
  EXPECT_EQ(seen.buttons.size(), 2);
  EXPECT_TRUE(seen.buttons.contains(QMessageBox::Yes));
  EXPECT_TRUE(seen.buttons.contains(QMessageBox::No));
  EXPECT_EQ(Answer(s, MsgKind::Confirmation, u"Continuar?", MsgButtons::YesNo, QMessageBox::Yes, seen),
            MsgResult::Yes);
}

TEST(QtWindowServices, TextIsShownAsGivenWithTheCarriageReturnAsALineBreak) {
  QtWindowServices s;
  SeenBox seen;
  Answer(s, MsgKind::Error, u"Não foi possível conectar ao banco de dados Norvale\rMotivo: <b>x</b> & 'y'",
         MsgButtons::OK, QMessageBox::Ok, seen);
  EXPECT_EQ(seen.text, QString::fromUtf8("Não foi possível conectar ao banco de dados Norvale\nMotivo: <b>x</b> & 'y'"));

  // Closing a question without an answer counts as No.
  WhenModal<QMessageBox>([](QMessageBox* box) { QTest::keyClick(box, Qt::Key_Escape); });
  EXPECT_EQ(s.MessageBox(MsgKind::Confirmation, u"Sair?", MsgButtons::YesNo), MsgResult::No);
}

TEST(QtWindowServices, ProcessMessagesDeliversWaitingEvents) {
  QtWindowServices s;
  bool delivered = false;
  QTimer::singleShot(0, [&] { delivered = true; });
  s.ProcessMessages();
  EXPECT_TRUE(delivered);
}

TEST(QtWindowServices, ErrorsLeavingAnEventHandlerReachTheErrorDisplay) {
  // An object whose event handler throws, as a handler of the window might.
  struct Throws : QObject {
    bool event(QEvent* e) override {
      if (e->type() == QEvent::User) throw EDatabaseError(u"conexão perdida");
      return QObject::event(e);
    }
  } target;
  ScopedRecordingServices rec;
  QEvent ev(QEvent::User);
  EXPECT_FALSE(QApplication::sendEvent(&target, &ev));
  ASSERT_EQ(rec.services.errors.size(), 1u);
  EXPECT_EQ(rec.services.errors[0], u"conexão perdida");

  // And ShowError itself is an error box.
  QtWindowServices s;
  SeenBox seen;
  WhenModal<QMessageBox>([&](QMessageBox* box) {
    seen.title = box->windowTitle();
    seen.text = box->text();
    box->accept();
  });
  s.ShowError(u"Falha geral");
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
  bar.SetMax(0);
  // Nothing to convert: 0%, never Qt's busy indicator.
  EXPECT_EQ(bar.Position(), 0);
  EXPECT_EQ(bar.text(), "0%");
  EXPECT_EQ(bar.maximum(), 100);
  EXPECT_EQ(bar.value(), 0);

  QtStatusLabel label;
  label.SetCaption(u"Convertendo Grupos de produtos - Registro 1 de 3 <i>");
  EXPECT_EQ(label.text(), QString::fromUtf8("Convertendo Grupos de produtos - Registro 1 de 3 <i>"));
  EXPECT_EQ(label.textFormat(), Qt::PlainText);
  EXPECT_GE(label.width(), label.sizeHint().width());
  label.SetCaption(u"");
  EXPECT_EQ(label.text(), "");
}
