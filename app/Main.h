#pragma once
// The main window: the operator picks the source folder and the target database,
// ticks the kinds of data, chooses the company and starts the run.
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QWidget>
#include <functional>
#include <optional>

#include "app/QtServices.h"
#include "platform/StringList.h"
#include "platform/firebird/Firebird.h"

// Colours of the window.
inline const QColor clAccent(182, 66, 69);
inline const QColor clFoco(128, 0, 0);
inline const QColor clCampo(221, 221, 221);

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
  explicit TPastaDialog(QWidget* parent);

 protected:
  void accept() override;
};

class TForm1 : public QWidget {
 public:
  explicit TForm1(QWidget* parent = nullptr);
  ~TForm1() override;

  // Header band.
  TPanel* Panel2;
  TImage* Image1;
  QLabel* Label2;
  QLabel* Label3;
  TImage* Image3;
  // Source folder.
  QLabel* Label5;
  QLineEdit* edtOrigem;
  TPanel* pnlAbrirOrigem;
  TImage* imgAbrirOrigem;
  // Target database.
  QLabel* Label6;
  QLineEdit* edtDestino;
  TPanel* pnlAbrirNorvale;
  TImage* imgAbrirNorvale;
  // Company and kinds of data.
  QLabel* Label1;
  QComboBox* cmbEmpresa;
  QGroupBox* GroupBox1;
  QCheckBox* boxCliente;
  QCheckBox* boxFornecedor;
  QCheckBox* boxGrupo;
  QCheckBox* boxPagar;
  QCheckBox* boxSubGrupo;
  QCheckBox* boxProduto;
  QCheckBox* boxReceber;
  QCheckBox* boxFabricante;
  // Progress display and commands.
  QtStatusLabel* lblProgresso;
  QtProgressBar* barra;
  TPanel* pnlConverter;
  TImage* imgConverter;
  TPanel* pnlSair;
  TImage* imgSair;

  // The target connection, open from the first run for as long as the window lives.
  fb::Database dbNorvale;
  fb::Transaction& transacaoNorvale;
  // The operator's answer to whether product codes are generated.
  bool mGerarCodigo = false;

  // The pickers: each returns the chosen path, or nothing on cancel. They open the
  // folder picker and the file-open dialog; a test may put its own answer here.
  std::function<std::optional<QString>()> EscolhePastaOrigem;
  std::function<std::optional<QString>()> EscolheArquivoNorvale;
  std::optional<QString> AbreDialogoPasta();
  std::optional<QString> AbreDialogoArquivo();

  // Event handlers.
  void FormCreate();
  void FormKeyDown(QWidget* Sender, int Key);
  void pnlAbrirOrigemEnter(TPanel* Sender);
  void pnlAbrirOrigemExit(TPanel* Sender);
  void imgAbrirOrigemMouseEnter(TImage* Sender);
  void imgAbrirOrigemMouseLeave(TImage* Sender);
  void imgAbrirOrigemClick();
  void imgAbrirNorvaleClick();
  void imgConverterClick();
  void imgSairClick();
  void boxProdutoClick();

  // Operations of a run.
  bool ConectaBancoNorvale();
  bool ConectaBancoOrigem();
  void HabilitaBotoes(bool bln);
  void CarregaParametros(TStringList& params);

  // True while a run goes on.
  bool EmConversao() const { return emConversao_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void CriaControles();
  void LigaEventos();
  TPanel* CriaBotao(int left, int top, int size, TImage*& image, const QPixmap& picture,
                    const QString& hint);

  bool emConversao_ = false;
  bool centrada_ = false;
};

// The main window of the program.
extern TForm1* Form1;
