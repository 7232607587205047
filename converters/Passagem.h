#pragma once
// One pass over the source rows of a kind, shared by every converter: it opens the
// kind's statement, sets the progress bar to the row count, shows the progress text
// before each row and lets the window process its events, counts each row into the
// run's report as read and then written, skipped or rejected, advances the bar, and
// clears the display at the end. Each kind gives what it does with one row; its
// rules stay in its own unit.
#include <functional>

#include "converters/Tipos.h"
#include "platform/SourceQuery.h"
#include "toolkit/RunContext.h"

// What one source row came to.
class Linha {
 public:
  enum class Desfecho { Gravada, Ignorada, Recusada };

  static Linha Gravada() { return Linha(Desfecho::Gravada, UString()); }
  // Left out by a rule of the converter; `regra` says which.
  static Linha Ignorada(const UString& regra) { return Linha(Desfecho::Ignorada, regra); }
  // Refused by the target; `motivo` is its message.
  static Linha Recusada(const UString& motivo) { return Linha(Desfecho::Recusada, motivo); }

  Desfecho desfecho;
  UString motivo;

 private:
  Linha(Desfecho d, const UString& m) : desfecho(d), motivo(m) {}
};

class Passagem {
 public:
  // Begins the kind's section of the run's report.
  Passagem(RunContext& ctx, const Tipo& tipo);

  // Opens the kind's statement for the run's company, then goes over its rows.
  // When the kind lists refused rows, an error of the target raised by `linha` is
  // such a refusal and the pass goes on; otherwise it ends the pass (and the run).
  void Percorre(const std::function<Linha(const SourceQuery&)>& linha);

  // What the current row is called in the target: the code the converter made of
  // the legacy one ("000106") and its name or description. A row not written is
  // reported with both, so the operator finds it on either side; the converter
  // says so as soon as it knows them, before it writes.
  void Identifica(const UString& codigo, const UString& nome) {
    derivado_ = codigo;
    nome_ = nome;
    ctx_.SetCodigoAtual(codigo);
  }
  const UString& Derivado() const { return derivado_; }

 private:
  void Conta(const Linha& l, const SourceQuery& q);

  RunContext& ctx_;
  const Tipo& tipo_;
  UString derivado_, nome_;
};
