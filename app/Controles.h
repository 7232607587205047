#pragma once
// The controls the main window is drawn with: its colours, the flat coloured panel
// that acts as a button, the picture that reports the mouse, and the folder picker.
#include <QCheckBox>
#include <QColor>
#include <QLineEdit>
#include <QFileDialog>
#include <QLabel>
#include <QWidget>
#include <functional>

#include "platform/WindowServices.h"

// Colours of the window.
inline const QColor clAccent(182, 66, 69);
inline const QColor clFoco(128, 0, 0);
inline const QColor clCampo(221, 221, 221);

// The window's font: Tahoma 8 pt where it is installed; otherwise a narrow
// sans-serif of the same build.
QFont FonteJanela(int pixelHeight, bool bold);
void PintaFundo(QWidget* w, QPalette::ColorRole role, const QColor& c);
// A bold label, a read-only path box and a check box, placed as the window draws them.
QLabel* CriaRotulo(QWidget* parent, const QString& text, int left, int top);
QLineEdit* CriaCaminho(QWidget* parent, int left, int top);
QCheckBox* CriaCaixa(QWidget* parent, const QString& text, int left, int top);

// A flat coloured panel. The ones that act as buttons take the focus by Tab and
// report focus changes and clicks to the window.
class TPanel : public QWidget {
 public:
  explicit TPanel(QWidget* parent);
  QColor Color() const { return color_; }
  void SetColor(const QColor& color);

  std::function<void(TPanel*)> OnEnter;  // focus came in
  std::function<void(TPanel*)> OnExit;   // focus went away
  std::function<void(TPanel*)> OnClick;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  QColor color_;
  bool pressed_ = false;
};

// A picture, scaled proportionally into its bounds, that reports the mouse coming
// in, going out and clicking.
class TImage : public QLabel {
 public:
  explicit TImage(QWidget* parent);
  void SetPicture(const QPixmap& picture);

  std::function<void(TImage*)> OnClick;
  std::function<void(TImage*)> OnMouseEnter;
  std::function<void(TImage*)> OnMouseLeave;

 protected:
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  bool pressed_ = false;
};

// The folder picker: the operator may also type a folder name; a folder that does
// not exist is created after a confirmation, and on No the picker stays open.
class TPastaDialog : public QFileDialog {
 public:
  TPastaDialog(WindowServices& servicos, QWidget* parent);

 protected:
  void accept() override;

 private:
  WindowServices& servicos_;
};
