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
#include "app/Credenciais.h"
#include "app/QtServices.h"
#include "app/Resumo.h"
#include "converters/Tipos.h"
#include "platform/StringList.h"
#include "platform/dbase/DbfEngine.h"
#include "platform/firebird/Firebird.h"
#include "run/Plano.h"
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
  // The row of labelled commands under the window's own: the inspection of the
  // source folder, the connection to the target, and whether the next run is a
  // trial, rolled back at its end.
  QPushButton* btnExaminar;
  QPushButton* btnConexao;
  // The check of a converted target against the source folder, writing nothing.
  QPushButton* btnConferir;
  QCheckBox* boxSimular;

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
  // Shows the summary of the run that just ended; it opens it as a modal dialog, and
  // a test may look at it here instead.
  std::function<void(Resumo&)> MostraResumo;

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
  void btnConferirClick();
  void ConverteEResume(bool conferir);
  void imgSairClick();
  void boxProdutoClick();
  void btnCancelarClick();
  void btnExaminarClick();
  void btnConexaoClick();

  // Operations of a run.
  bool ConectaBancoNorvale();
  bool ConectaBancoOrigem();
  void HabilitaBotoes(bool bln);
  void CarregaParametros(TStringList& params);

  // The user and password the next run attaches with.
  const Credenciais& CredenciaisNorvale() const { return credenciais_; }

  // True while a run goes on.
  bool EmConversao() const { return emConversao_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void CriaControles();
  void CriaLinhaComandos();
  void LigaEventos();
  TPanel* CriaBotao(int left, int top, int size, TImage*& image, const QPixmap& picture,
                    const QString& hint, const QString& nome);

  void CriaCaixas();
  // The run itself, from the checks to the end of the run; what it came to when the
  // run started, nothing when a check or the operator stopped it before.
  // One run of the ticked kinds; `conferir`: the check of the target as it stands,
  // rolled back like a trial. Nothing when it did not start.
  std::optional<ResultadoConversao> Converte(bool conferir = false);
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
  // Given in the connection dialog, else taken as the Firebird tools take them; kept
  // only in memory.
  Credenciais credenciais_ = CredenciaisPadrao();
  bool emConversao_ = false;
  // The plan of the run going on, for the overall progress line; null between runs.
  const Plano* planoEmCurso_ = nullptr;
  bool centrada_ = false;
  // The operator's request to stop the run going on (Cancel, or closing the window).
  std::atomic<bool> cancelar_{false};
  bool fecharAoFim_ = false;
};

