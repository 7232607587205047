#include "app/Controles.h"

#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QFileInfo>
#include <QMouseEvent>
#include <QPainter>

namespace {

UString U(const QString& s) { return s.toStdU16String(); }

}  // namespace

// Tahoma 8 pt where it is installed; otherwise a narrow sans-serif of the same build.
QFont FonteJanela(int pixelHeight, bool bold) {
  QFont f;
  f.setFamilies({QStringLiteral("Tahoma"), QStringLiteral("DejaVu Sans Condensed"),
                 QStringLiteral("DejaVu Sans")});
  f.setStyleHint(QFont::SansSerif);
  f.setPixelSize(pixelHeight);
  f.setBold(bold);
  return f;
}

void PintaFundo(QWidget* w, QPalette::ColorRole role, const QColor& c) {
  QPalette pal = w->palette();
  pal.setColor(role, c);
  w->setPalette(pal);
}

QLabel* CriaRotulo(QWidget* parent, const QString& text, int left, int top) {
  auto* l = new QLabel(text, parent);
  l->setTextFormat(Qt::PlainText);
  QFont f = l->font();
  f.setBold(true);
  l->setFont(f);
  l->move(left, top);
  l->adjustSize();
  return l;
}

QLineEdit* CriaCaminho(QWidget* parent, int left, int top) {
  auto* e = new QLineEdit(parent);
  e->setGeometry(left, top, 449, 21);
  e->setReadOnly(true);
  PintaFundo(e, QPalette::Base, clCampo);
  return e;
}

QCheckBox* CriaCaixa(QWidget* parent, const QString& text, int left, int top) {
  auto* c = new QCheckBox(text, parent);
  // Set outright: a style sheet on the parent would otherwise drop the inherited font.
  c->setFont(parent->font());
  c->move(left, top);
  c->adjustSize();
  return c;
}

// ---------------------------------------------------------------- TPanel

TPanel::TPanel(QWidget* parent) : QWidget(parent), color_(clAccent) {
  setFocusPolicy(Qt::NoFocus);
}

void TPanel::SetColor(const QColor& color) {
  color_ = color;
  update();
}

void TPanel::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), color_);
}

void TPanel::focusInEvent(QFocusEvent* event) {
  QWidget::focusInEvent(event);
  if (OnEnter) OnEnter(this);
}

void TPanel::focusOutEvent(QFocusEvent* event) {
  QWidget::focusOutEvent(event);
  if (OnExit) OnExit(this);
}

void TPanel::mousePressEvent(QMouseEvent* event) {
  pressed_ = event->button() == Qt::LeftButton;
  event->accept();
}

void TPanel::mouseReleaseEvent(QMouseEvent* event) {
  const bool click = pressed_ && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
  pressed_ = false;
  event->accept();
  if (click && OnClick) OnClick(this);
}

// ---------------------------------------------------------------- TImage

TImage::TImage(QWidget* parent) : QLabel(parent) {
  setAlignment(Qt::AlignCenter);
  setAttribute(Qt::WA_TranslucentBackground);
}

void TImage::SetPicture(const QPixmap& picture) {
  setPixmap(picture.size() == size() ? picture
                                     : picture.scaled(size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
}

void TImage::enterEvent(QEnterEvent* event) {
  QLabel::enterEvent(event);
  if (OnMouseEnter) OnMouseEnter(this);
}

void TImage::leaveEvent(QEvent* event) {
  QLabel::leaveEvent(event);
  if (OnMouseLeave) OnMouseLeave(this);
}

void TImage::mousePressEvent(QMouseEvent* event) {
  pressed_ = event->button() == Qt::LeftButton;
  event->accept();
}

void TImage::mouseReleaseEvent(QMouseEvent* event) {
  const bool click = pressed_ && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
  pressed_ = false;
  event->accept();
  if (click && OnClick) OnClick(this);
}

// ---------------------------------------------------------------- TPastaDialog

TPastaDialog::TPastaDialog(WindowServices& servicos, QWidget* parent) : QFileDialog(parent), servicos_(servicos) {
  setWindowTitle(QStringLiteral("Procurar pasta"));
  setOption(QFileDialog::DontUseNativeDialog, true);
  setOption(QFileDialog::ShowDirsOnly, true);
  setFileMode(QFileDialog::Directory);
  setAcceptMode(QFileDialog::AcceptOpen);
  setDirectory(QDir::currentPath());
}

void TPastaDialog::accept() {
  const QStringList escolhidas = selectedFiles();
  if (!escolhidas.isEmpty()) {
    const QString pasta = escolhidas.first();
    if (!pasta.isEmpty() && !QFileInfo::exists(pasta)) {
      const UString pergunta = u"A pasta " + U(QDir::toNativeSeparators(pasta)) +
                               u" não existe.\r\nDeseja criá-la?";
      if (servicos_.MessageBox(MsgKind::Confirmation, pergunta, MsgButtons::YesNo) != MsgResult::Yes) return;
      if (!QDir().mkpath(pasta)) {
        servicos_.MessageBox(MsgKind::Error, u"Não foi possível criar a pasta " + U(QDir::toNativeSeparators(pasta)),
                             MsgButtons::OK);
        return;
      }
    }
  }
  QFileDialog::accept();
}
