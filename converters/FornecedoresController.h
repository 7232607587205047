#pragma once
// Converts the legacy suppliers (source table FORNEC) into FORNECE, registering the
// cities the target lacks.
#include "converters/Tipos.h"
#include "toolkit/RunContext.h"

class TClassPreencheDadosFornecedores {
 public:
  // The run's entry: one mapping object for the pass.
  static void Converte(RunContext& ctx, const Tipo& tipo) { TClassPreencheDadosFornecedores().PreencheDadosFornecedores(ctx, tipo); }
  void PreencheDadosFornecedores(RunContext& ctx, const Tipo& tipo);
};
