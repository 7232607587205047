#include "app/QtServices.h"

#include <QMessageBox>
#include <chrono>
#include <QPushButton>
#include <exception>

#include "platform/Error.h"

namespace {

QWidget* BoxParent() {
  if (QWidget* w = QApplication::activeModalWidget()) return w;
  return QApplication::activeWindow();
}

}  // namespace

MsgResult QtWindowServices::MessageBox(MsgKind kind, const UString& text, MsgButtons buttons) {
  QMessageBox box(BoxParent());
  box.setWindowTitle(QString::fromStdU16String(MsgTitle(kind)));
  box.setTextFormat(Qt::PlainText);
  // The texts break their lines with a carriage return, as the legacy boxes did.
  QString shown = QString::fromStdU16String(text);
  shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  box.setText(shown);
  switch (kind) {
    case MsgKind::Error: box.setIcon(QMessageBox::Critical); break;
    case MsgKind::Warning: box.setIcon(QMessageBox::Warning); break;
    case MsgKind::Information: box.setIcon(QMessageBox::Information); break;
    case MsgKind::Confirmation: box.setIcon(QMessageBox::Question); break;
  }
  const bool pergunta = buttons != MsgButtons::OK;
  if (pergunta) {
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    box.setDefaultButton(buttons == MsgButtons::YesNoPadraoNao ? QMessageBox::No : QMessageBox::Yes);
    // Closing the box without an answer counts as No.
    box.setEscapeButton(QMessageBox::No);
  } else {
    box.setStandardButtons(QMessageBox::Ok);
  }
  box.setWindowModality(Qt::ApplicationModal);
  const int pressed = box.exec();
  if (pergunta) return pressed == QMessageBox::Yes ? MsgResult::Yes : MsgResult::No;
  return MsgResult::OK;
}

void QtWindowServices::ProcessMessages() {
  // The converters call this once per source row, thousands of times a second. The
  // window repaints and takes input some twenty times a second, which nobody can tell
  // from every row, and the run is not spent painting the same label over and over.
  const auto now = std::chrono::steady_clock::now();
  if (processed_ && now - ultimo_ < std::chrono::milliseconds(50)) return;
  processed_ = true;
  ultimo_ = now;
  QCoreApplication::processEvents();
}

void QtWindowServices::ShowError(const UString& text) {
  MessageBox(MsgKind::Error, text, MsgButtons::OK);
}

QtProgressBar::QtProgressBar(QWidget* parent) : QProgressBar(parent) {
  setOrientation(Qt::Horizontal);
  setRange(0, 100);
  setTextVisible(true);
  setFormat(QStringLiteral("%p%"));
  setAlignment(Qt::AlignCenter);
  Changed();
}

void QtProgressBar::Changed() { setValue(Percent()); }

QtStatusLabel::QtStatusLabel(QWidget* parent) : QLabel(parent) { setTextFormat(Qt::PlainText); }

void QtStatusLabel::Changed() {
  // The converters change the text for every source row, far more often than anyone
  // can read it, and laying a label out costs more than converting the row: the text
  // is shown when the window next processes its events, once for all the changes
  // made since.
  if (pendente_) return;
  pendente_ = true;
  QMetaObject::invokeMethod(this, [this] { Mostra(); }, Qt::QueuedConnection);
}

void QtStatusLabel::Mostra() {
  pendente_ = false;
  setText(QString::fromStdU16String(Caption()));
  adjustSize();
}

void MostraErroCorrente(WindowServices& servicos) {
  UString text;
  try {
    throw;
  } catch (const std::exception& e) {
    text = ErrorMessage(e);
  } catch (...) {
    text = u"Erro desconhecido";
  }
  try {
    servicos.ShowError(text);
  } catch (...) {
    // Nothing is left to tell the operator with; the program goes on.
  }
}

bool TApplication::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (...) {
    QuietServices quieto;
    MostraErroCorrente(servicos_ ? *servicos_ : quieto);
    return false;
  }
}
