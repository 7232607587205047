#pragma once
// Converts the legacy customers (source table CLIENTES) into CLIENTE.
#include "converters/Tipos.h"
#include "toolkit/RunContext.h"

class TClassPreencheDadosClientes {
 public:
  // The run's entry: one mapping object for the pass.
  static void Converte(RunContext& ctx, const Tipo& tipo) { TClassPreencheDadosClientes().PreencheDadosClientes(ctx, tipo); }
  // Every legacy row gives one insert; a row the target refuses is reported in the
  // run's report and the pass goes on.
  void PreencheDadosClientes(RunContext& ctx, const Tipo& tipo);
};
