#pragma once
// The main window: the operator picks the source folder and the target database,
// ticks the kinds of data, chooses the company and starts the run.
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>
#include <atomic>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

#include "app/Controles.h"
#include "app/QtServices.h"
#include "converters/Tipos.h"
#include "platform/StringList.h"
#include "platform/dbase/DbfEngine.h"
#include "platform/firebird/Firebird.h"
#include "toolkit/RunReport.h"

class TForm1 : public QWidget {
 public:
  // The window shows its boxes and errors through `servicos`.
  explicit TForm1(WindowServices& servicos, QWidget* parent = nullptr);
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
  // Under the bar: the kind on display of the run's kinds, the rows per second and
  // the time left.
  QtLinhaGeral* lblGeral;
  TPanel* pnlConverter;
  TImage* imgConverter;
  TPanel* pnlSair;
  TImage* imgSair;
  // Under the two commands, shown only while a run goes on: stops it, and the run
  // is rolled back.
  QPushButton* btnCancelar;

  // The target connection, attached for each run and let go when it ends, so that
  // Norvale can open the file at once.
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
  void btnCancelarClick();

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
                    const QString& hint, const QString& nome);

  void CriaCaixas();
  MsgResult MessageDlg(const UString& text, MsgKind kind, MsgButtons buttons) {
    return servicos_.MessageBox(kind, text, buttons);
  }
  template <class F>
  void Protege(F&& handler) {
    Protegido(servicos_, std::forward<F>(handler));
  }

  WindowServices& servicos_;
  // The engine the runs read the legacy tables with, and the report of the last run.
  dbase::Engine fonte_;
  RunReport relatorio_;
  // The check box of each kind, in the run's order.
  std::vector<std::pair<const Tipo*, QCheckBox*>> caixas_;
  bool emConversao_ = false;
  bool centrada_ = false;
  // The operator's request to stop the run going on (Cancel, or closing the window).
  std::atomic<bool> cancelar_{false};
  bool fecharAoFim_ = false;
};

