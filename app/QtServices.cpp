#include "app/QtServices.h"

#include <QMessageBox>
#include <QPushButton>
#include <chrono>
#include <exception>

#include "platform/Error.h"

namespace {

QWidget* BoxParent() {
  if (QWidget* w = QApplication::activeModalWidget()) return w;
  return QApplication::activeWindow();
}

long long AgoraMs() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

}  // namespace

// The console keeps the standard English words ("[Information] ..."), which scripts
// read; the operator at the window reads Portuguese.
QString TituloDaCaixa(MsgKind kind) {
  switch (kind) {
    case MsgKind::Error: return QStringLiteral("Erro");
    case MsgKind::Warning: return QString::fromUtf8("Atenção");
    case MsgKind::Information: return QString::fromUtf8("Informação");
    case MsgKind::Confirmation: return QString::fromUtf8("Confirmação");
  }
  return QString();
}

MsgResult QtWindowServices::MessageBox(MsgKind kind, const UString& text, MsgButtons buttons) {
  return MessageBoxExplicada(kind, text, UString(), buttons);
}

MsgResult QtWindowServices::MessageBoxExplicada(MsgKind kind, const UString& text, const UString& explicacao,
                                                MsgButtons buttons) {
  QMessageBox box(BoxParent());
  box.setWindowTitle(TituloDaCaixa(kind));
  box.setTextFormat(Qt::PlainText);
  // The texts break their lines with a carriage return, as the legacy boxes did.
  QString shown = QString::fromStdU16String(text);
  shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  box.setText(shown);
  if (!explicacao.empty()) {
    QString mais = QString::fromStdU16String(explicacao);
    mais.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    box.setInformativeText(mais);
  }
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
  Mostra();
}

void QtProgressBar::Changed() {
  if (pendente_) return;
  pendente_ = true;
  QMetaObject::invokeMethod(this, [this] { Mostra(); }, Qt::QueuedConnection);
}

void QtProgressBar::Mostra() {
  pendente_ = false;
  if (value() == Percent()) return;
  // QProgressBar repaints at once at each new percent; the bar waits for the paint
  // the label's new text gets, so both reach the screen together (and a run does not
  // stop to paint a hundred times per kind).
  setUpdatesEnabled(false);
  setValue(Percent());
  setUpdatesEnabled(true);
}

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
  setText(QString::fromStdU16String(NumerosComMilhares(Caption())));
  adjustSize();
  if (aoMostrar_) aoMostrar_();
}

QtLinhaGeral::QtLinhaGeral(const ProgressBar& barra, QtStatusLabel& rotulo, QWidget* parent)
    : QLabel(parent), barra_(barra), rotulo_(rotulo), seguido_(&rotulo) {
  setTextFormat(Qt::PlainText);
  rotulo.AoMostrar([this] { Atualiza(AgoraMs()); });
}

QtLinhaGeral::~QtLinhaGeral() {
  if (seguido_) seguido_->AoMostrar(nullptr);
}

void QtLinhaGeral::Atualiza(long long agoraMs) {
  if (andamento_.Acompanha(rotulo_, barra_, agoraMs)) {
    if (EtapasDaConversao) andamento_.SetEtapas(EtapasDaConversao());
    escritaMs_ = 0;  // a new kind is said at once
  }
  if (rotulo_.Caption().empty()) {
    if (!text().isEmpty()) clear();
    return;
  }
  // The rate and the time left move with every row; read four times a second they
  // can be followed, and the line costs the run nothing worth counting.
  if (escritaMs_ != 0 && agoraMs - escritaMs_ < 250) return;
  escritaMs_ = agoraMs;
  const QString novo = QString::fromStdU16String(andamento_.Resumo(barra_, agoraMs));
  if (novo != text()) setText(novo);
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
