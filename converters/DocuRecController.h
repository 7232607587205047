#pragma once
// Converts the open receivables of one company (source table CR) into DocuRec and
// MoviRec. Nothing is emptied: the documents are added to what the target holds.
#include "converters/Tipos.h"
#include "toolkit/RunContext.h"

class TClassPreencheDadosDocuRec {
 public:
  // The run's entry: one mapping object for the pass.
  static void Converte(RunContext& ctx, const Tipo& tipo) { TClassPreencheDadosDocuRec().PreencheDadosDocuRec(ctx, tipo); }
  void PreencheDadosDocuRec(RunContext& ctx, const Tipo& tipo);
};
