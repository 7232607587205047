#pragma once
// Converts the open payables of one company (source table ContPag) into DocuPag and
// MoviPag. Nothing is emptied: the documents are added to what the target holds.
#include "converters/Tipos.h"
#include "toolkit/RunContext.h"

class TClassPreencheDadosDocuPag {
 public:
  // The run's entry: one mapping object for the pass.
  static void Converte(RunContext& ctx, const Tipo& tipo) { TClassPreencheDadosDocuPag().PreencheDadosDocuPag(ctx, tipo); }
  void PreencheDadosDocuPag(RunContext& ctx, const Tipo& tipo);
};
