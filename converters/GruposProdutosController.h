#pragma once
// Converts the legacy product groups (source table GRUPO) into GRUPROD.
#include "converters/Tipos.h"
#include "toolkit/RunContext.h"

class TClassPreencheDadosGruposProdutos {
 public:
  // The run's entry: one mapping object for the pass.
  static void Converte(RunContext& ctx, const Tipo& tipo) { TClassPreencheDadosGruposProdutos().PreencheDadosGruposProdutos(ctx, tipo); }
  void PreencheDadosGruposProdutos(RunContext& ctx, const Tipo& tipo);
};
