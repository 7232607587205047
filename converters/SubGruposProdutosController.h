#pragma once
// Converts the legacy product subgroups (source table SUBGRUPO) into SUBGRUP. A
// legacy subgroup code holds its group: characters 1-2 are the group, 3-4 the
// subgroup.
#include "converters/Tipos.h"
#include "toolkit/RunContext.h"

class TClassPreencheDadosSubGruposProdutos {
 public:
  // The run's entry: one mapping object for the pass.
  static void Converte(RunContext& ctx, const Tipo& tipo) { TClassPreencheDadosSubGruposProdutos().PreencheDadosSubGruposProdutos(ctx, tipo); }
  void PreencheDadosSubGruposProdutos(RunContext& ctx, const Tipo& tipo);
};
