#pragma once
// The summary shown after every run started from the window, whatever its end: each
// kind's counts, the reconciliation with the source, every row that was not written
// and why, whether anything was kept, and the row report saved where the operator
// says (the same file the console writes with --relatorio).
#include <QDialog>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/WindowServices.h"
#include "toolkit/RunReport.h"

class QLabel;
class QPushButton;
class QTableView;
class QTableWidget;

// One source row the run did not write, as the run's report told it.
struct LinhaNaoGravada {
  UString tipo;
  RunReport::Outcome desfecho;
  RowNote nota;
};

// What a run from the window came to.
struct ResultadoConversao {
  enum class Desfecho { Gravada, Simulada, Conferida, Falhou, Interrompida };
  Desfecho desfecho = Desfecho::Falhou;
  // A trial run that failed: the run for real would fail as well.
  bool simulacao = false;
  // A check of the target as it stands against the source (rolled back like a trial).
  bool conferencia = false;
  RunReport report;
  std::vector<LinhaNaoGravada> linhas;  // in the order the run met them
  std::vector<UString> avisos;          // what the reading of the legacy tables remarked
  // Where the run read and wrote: the report may go over neither.
  std::string origem, destino;
};

class Resumo : public QDialog {
 public:
  // Boxes (a refused place for the report, a failed write) go through `servicos`.
  Resumo(ResultadoConversao resultado, WindowServices& servicos, QWidget* parent = nullptr);
  ~Resumo() override;

  const ResultadoConversao& Resultado() const { return resultado_; }

  // Asks where the report goes; nothing on cancel. Opens a save dialog suggesting
  // a .csv name; a test may put its own answer here.
  std::function<std::optional<QString>()> EscolheArquivoRelatorio;
  std::optional<QString> AbreDialogoRelatorio();

  // "Salvar relatório...": asks where and writes the report there.
  void SalvarRelatorio();

  QLabel* lblSituacao;        // whether anything was kept
  QTableWidget* tabTipos;     // one line per kind
  QTableWidget* tabConferencia;  // nullptr when no kind was reconciled
  QLabel* lblLinhas;          // how many rows were not written
  QTableView* tabLinhas;      // every one of them
  QLabel* lblAvisos;          // nullptr when the source remarked nothing
  QLabel* lblGravado;         // where the report was saved, once it was
  QPushButton* btnSalvar;
  QPushButton* btnFechar;

 private:
  ResultadoConversao resultado_;
  WindowServices& servicos_;
};
