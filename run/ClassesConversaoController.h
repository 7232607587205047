#pragma once
// One conversion run: starts the target transaction, runs each selected converter
// in the fixed order, commits, and tells the operator whether the run succeeded.
// A run is one transaction: a failure anywhere rolls all of it back.
#include <atomic>

#include "platform/SourceQuery.h"
#include "platform/StringList.h"
#include "platform/Text.h"
#include "platform/WindowServices.h"
#include "platform/firebird/Firebird.h"
#include "run/Plano.h"
#include "toolkit/RunReport.h"

class TClassesConversaoController {
 public:
  // The run shows its boxes through `ui`, reads the legacy tables through `fonte`
  // and counts into `report` (cleared when the run starts).
  TClassesConversaoController(WindowServices& ui, SourceEngine& fonte, RunReport& report)
      : ui_(ui), fonte_(fonte), report_(report) {}

  // A trial run does everything a run does, shows the same boxes, and then rolls
  // its one transaction back instead of committing it: the target stays as it was.
  void SetSimulacao(bool simulacao) { simulacao_ = simulacao; }
  bool Simulacao() const { return simulacao_; }
  // A check of a target converted earlier against the legacy folder: a trial run
  // whose reconciliation compares the source with what the target held; it shows
  // no box of its own when it ends (the caller prints the reconciliation).
  void SetConferir(bool conferir) { conferir_ = conferir; }

  // The front end shows every row not written in a summary of its own after the
  // run: the run then shows no box per refused row and no list of them at its end
  // (its own success or failure box stays).
  void SetLinhasNoResumo(bool noResumo) { linhasNoResumo_ = noResumo; }

  // The plan the operator was shown and confirmed (not owned; it must outlive the
  // run). Without one the run checks and plans for itself before it starts: a
  // missing table or a target that is not Norvale stops it before anything is
  // emptied, and repeated documents are still counted.
  void SetPlano(const Plano* plano) { plano_ = plano; }
  // The operator's request to stop, set from outside (a signal handler, the
  // window's Cancel); the run looks at it before each source row and before the
  // commit, and then rolls back.
  void SetInterrupcao(const std::atomic<bool>* pedido) { interrupcao_ = pedido; }
  // The last run stopped at the operator's request.
  bool Interrompida() const { return interrompida_; }

  bool FEfetuaConversao(const TStringList& MParams, const UString& BDOrigem, fb::Database& BDDestino,
                        fb::Transaction& Transacao, ProgressBar& Barra, StatusLabel& lblInfo,
                        const UString& Empresa, bool GerarCodigo);

 private:
  WindowServices& ui_;
  SourceEngine& fonte_;
  RunReport& report_;
  bool simulacao_ = false;
  bool conferir_ = false;
  bool linhasNoResumo_ = false;
  const Plano* plano_ = nullptr;
  const std::atomic<bool>* interrupcao_ = nullptr;
  bool interrompida_ = false;
};
