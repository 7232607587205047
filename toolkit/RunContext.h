#pragma once
// Everything one run works with, handed down from the front end that starts it to
// the converters and record classes: the target connection, the engine of the
// legacy tables and the folder, the window services and the progress display, the
// run's report, its regional settings, the company and the run's choices. Nothing
// of a run lives in process-wide state, so two runs (a window and a test, say)
// never see each other's settings or counts.
#include <atomic>
#include <memory>
#include <vector>

#include "platform/Regional.h"
#include "platform/SourceQuery.h"
#include "platform/WindowServices.h"
#include "platform/firebird/Firebird.h"
#include "toolkit/IndiceReferencias.h"
#include "toolkit/RunReport.h"

// The operator asked the run to stop (Ctrl-C, the window's Cancel): raised where the
// run looks at the request, so it unwinds like any failure and is rolled back.
class EInterrompida : public EConversao {
 public:
  EInterrompida() : EConversao(u"Conversão interrompida pelo usuário; nada foi gravado.") {}
};

class RunContext {
 public:
  // Lends the run's regional settings to the target connection, so that the
  // parameters it binds and the columns it reads follow them, as the source
  // queries of the run do.
  RunContext(fb::Database& destino, SourceEngine& fonte, WindowServices& ui, RunReport& report);
  ~RunContext();  // the connection gets its own settings back
  RunContext(const RunContext&) = delete;
  RunContext& operator=(const RunContext&) = delete;

  fb::Database& Destino() const { return destino_; }
  SourceEngine& Fonte() const { return fonte_; }
  WindowServices& Ui() const { return ui_; }
  RunReport& Report() const { return report_; }

  // The run's regional settings. The product records switch the short date format
  // for the rest of the run; the source queries and the target connection read
  // dates and numbers under these same settings.
  FormatSettings& Regional() { return regional_; }
  const FormatSettings& Regional() const { return regional_; }

  // The folder of the legacy tables.
  const UString& Origem() const { return origem_; }
  void SetOrigem(const UString& pasta) { origem_ = pasta; }
  // The company code whose products and documents are converted ("01", "02").
  const UString& Empresa() const { return empresa_; }
  void SetEmpresa(const UString& empresa) { empresa_ = empresa; }
  // True: the products are numbered by the run instead of keeping their codes.
  bool GerarCodigo() const { return gerarCodigo_; }
  void SetGerarCodigo(bool gerar) { gerarCodigo_ = gerar; }
  // A trial run: everything is done, and rolled back at the end.
  bool Simulacao() const { return simulacao_; }
  void SetSimulacao(bool simulacao) { simulacao_ = simulacao; }

  // A check after the fact: the run goes as a trial, and its reconciliation compares
  // the source with what the target held before it (committed by an earlier run).
  bool Conferir() const { return conferir_; }
  void SetConferir(bool conferir) { conferir_ = conferir; }

  // The front end lists every row not written once the run has ended (the window's
  // summary): no box is shown for a refused row, neither as it happens nor in a
  // list at the end. The rows are in the run's report either way.
  bool LinhasNoResumo() const { return linhasNoResumo_; }
  void SetLinhasNoResumo(bool noResumo) { linhasNoResumo_ = noResumo; }

  // The request to stop, set from outside the run (a signal handler, the window's
  // Cancel); nullptr: the run cannot be interrupted.
  void SetInterrupcao(const std::atomic<bool>* pedido) { interrupcao_ = pedido; }
  bool InterrupcaoPedida() const { return interrupcao_ && interrupcao_->load(); }
  // Throws EInterrompida when the operator asked the run to stop.
  void VerificaInterrupcao() const {
    if (InterrupcaoPedida()) throw EInterrompida();
  }

  // The progress display the converters show their rows on.
  ProgressBar& Barra() const { return *barra_; }
  StatusLabel& Rotulo() const { return *rotulo_; }
  void SetProgresso(ProgressBar& barra, StatusLabel& rotulo) {
    barra_ = &barra;
    rotulo_ = &rotulo;
  }

  // Where the run is: the kind being converted and its source row (counted from 1,
  // skipped rows included, as the progress text counts) of how many; no kind
  // between the passes over rows.
  struct Posicao {
    const char16_t* tipo = nullptr;  // "Clientes", ...
    int registro = 0;
    int total = 0;
    UString codigo;  // the code the converter made of the row's, once it has
  };
  const Posicao& Onde() const { return posicao_; }
  void SetPosicao(const char16_t* tipo, int registro, int total) { posicao_ = {tipo, registro, total, UString()}; }
  void SetCodigoAtual(const UString& codigo) { posicao_.codigo = codigo; }

  // The totals the pass of the current kind collects over the rows it writes, for
  // the reconciliation that follows it.
  std::vector<SomaOrigem>& Somas() { return somas_; }

  // The target's units and cities as the run's lookups see them.
  IndiceReferencias& Referencias() { return referencias_; }

  // A new query of the legacy folder under the run's settings.
  std::unique_ptr<SourceQuery> NovaConsulta();

  MsgResult MessageDlg(const UString& text, MsgKind kind, MsgButtons buttons) const {
    return ui_.MessageBox(kind, text, buttons);
  }
  void ProcessMessages() const { ui_.ProcessMessages(); }

 private:
  fb::Database& destino_;
  SourceEngine& fonte_;
  WindowServices& ui_;
  RunReport& report_;
  FormatSettings regional_;
  UString origem_;
  UString empresa_ = u"01";
  bool gerarCodigo_ = false;
  bool simulacao_ = false;
  bool conferir_ = false;
  bool linhasNoResumo_ = false;
  ProgressBar ownBarra_;
  StatusLabel ownRotulo_;
  ProgressBar* barra_ = &ownBarra_;
  StatusLabel* rotulo_ = &ownRotulo_;
  Posicao posicao_;
  std::vector<SomaOrigem> somas_;
  const std::atomic<bool>* interrupcao_ = nullptr;
  IndiceReferencias referencias_{destino_};
};
