#pragma once
// How far a run has got, read from its progress display alone: which kind is on
// display (n of the run's m), the rows per second it goes at and the time left.
// The console and the window both show it; neither needs more from the run than
// the bar and the label the converters already keep up to date.
#include <optional>
#include <vector>

#include "platform/Text.h"
#include "platform/WindowServices.h"

class Andamento {
 public:
  // One kind of the run, in the run's order: the start of its progress text
  // ("Convertendo Clientes - Registro ") and the source rows it will read, when
  // known beforehand (negative: not known).
  struct Etapa {
    UString texto;
    long long linhas = -1;
  };
  // The kinds of the run; without them the display still has a rate and the time
  // left of the kind on display.
  void SetEtapas(std::vector<Etapa> etapas) { etapas_ = std::move(etapas); }
  const std::vector<Etapa>& Etapas() const { return etapas_; }

  // Follows the display at a moment (milliseconds of a steady clock): a caption
  // that starts another kind than the one before restarts the rate's count.
  // Returns true when it did. An empty caption means no kind is on display.
  bool Acompanha(const StatusLabel& rotulo, const ProgressBar& barra, long long agoraMs);

  // The kind on display as the n-th of the run (from 1); 0 when none is, or the
  // caption is not one of the run's kinds.
  int EtapaAtual() const;

  struct Ritmo {
    double porSegundo;  // rows of the kind on display per second, since it began
    long long faltam;   // seconds: the rest of this kind at that rate, and of the
                        // kinds still to come when their rows are known
    bool daConversao;   // `faltam` covers the whole run: no kind to come of unknown rows
  };
  // Nothing in a kind's first second, or before its first row: too early for a
  // rate worth showing.
  std::optional<Ritmo> RitmoAgora(const ProgressBar& barra, long long agoraMs) const;

  // The line an operator reads: "Tipo 2 de 5 - 1.234 registros/s - faltam 0:42",
  // "... - faltam 0:42 neste tipo" while kinds of unknown size are still to come;
  // what is not known yet is left out. Empty while no kind is on display.
  UString Resumo(const ProgressBar& barra, long long agoraMs) const;

 private:
  std::vector<Etapa> etapas_;
  UString prefixo_;  // the caption without its running number, of the kind on display
  long long inicioMs_ = 0;
  int inicioPos_ = 0;
};

// The caption without its running number ("Convertendo Clientes - "), which tells
// one kind from the next.
UString PrefixoDoRotulo(const UString& caption);

// 1234567 as "1.234.567", the Brazilian way.
UString ComMilhares(long long valor);
// The numbers of a text written with the Brazilian thousands separator
// ("Registro 1234 de 20000" as "Registro 1.234 de 20.000"). Only whole numbers
// standing alone are touched: digits next to a letter, a point, a comma or a slash,
// or led by a zero (codes), stay.
UString NumerosComMilhares(const UString& texto);
// Seconds as "m:ss" ("0:42", "75:03").
UString MinutosSegundos(long long segundos);
