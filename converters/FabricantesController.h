#pragma once
// Converts the legacy manufacturers (source table FABRICA) into CADFABR.
#include "converters/Tipos.h"
#include "toolkit/RunContext.h"

class TClassPreencheDadosFabricantes {
 public:
  // The run's entry: one mapping object for the pass.
  static void Converte(RunContext& ctx, const Tipo& tipo) { TClassPreencheDadosFabricantes().PreencheDadosFabricantes(ctx, tipo); }
  void PreencheDadosFabricantes(RunContext& ctx, const Tipo& tipo);
};
