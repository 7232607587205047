#pragma once
// The reconciliation of one kind, inside the run, before the commit: the target is
// read back in the run's own transaction and compared with what the source gave for
// the rows written. Rows: the tables the kind empties must hold exactly the rows
// written (none left that the run did not write); the tables documents are added
// to must have grown by them. Money and quantities: the sum of every numeric column
// carried from the source, at the target column's scale (the rounding the target
// applied is told apart). A difference fails the run, so nothing that does not
// reconcile is ever committed.
#include <vector>

#include "converters/Tipos.h"
#include "platform/Error.h"
#include "toolkit/RunContext.h"

// A reconciliation that did not match: the run is rolled back.
class EConferencia : public EConversao {
 public:
  using EConversao::EConversao;
};

class Conferencia {
 public:
  Conferencia(RunContext& ctx, const Tipo& tipo);

  // Before the kind's pass: what its tables hold, and the totals to collect.
  void Antes();
  // After the pass: compares, writes the figures into the kind's report, and throws
  // EConferencia naming the first figure that does not match. After the fact (a
  // trial run whose context asks to check a converted target), the figures are the
  // target's as it was before the pass: the whole table for the kinds that empty
  // theirs, the documents equal to the legacy ones for the others; nothing throws.
  void Depois();

 private:
  struct Coluna {
    const char16_t* origem;
    const char16_t* destino;
    int escala = -1;  // decimal places; -1 floating point
  };
  struct Tabela {
    const Conferida* def;
    const char16_t* nome;
    std::vector<Coluna> colunas;
    long long linhasAntes = 0;
    std::vector<long long> unidadesAntes;  // scaled columns, in units
    std::vector<double> brutoAntes;        // floating columns
    long long ultimoId = 0;                // after the fact: the last row before the pass
  };

  // After the fact: the rows the pass added that equal a row that was there before
  // (one for one), and the sums of their columns.
  void Iguais(const Tabela& t, long long& linhas, std::vector<long long>& unidades,
              std::vector<double>& bruto) const;

  void Le(Tabela& t, long long& linhas, std::vector<long long>& unidades, std::vector<double>& bruto) const;
  int Escala(const char16_t* tabela, const char16_t* coluna) const;

  RunContext& ctx_;
  const Tipo& tipo_;
  bool acrescenta_ = false;  // the tables are added to, not emptied
  std::vector<Tabela> tabelas_;
};
