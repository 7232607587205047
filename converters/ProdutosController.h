#pragma once
// Converts the legacy products of one company (source table PR) into PRODUTO, with
// their companion rows in COMPPROD and PRODUTODETALHE, registering missing units and
// the catch-all revenue nature on the way.
#include "converters/Tipos.h"
#include "toolkit/RunContext.h"

class TClassPreencheDadosProdutos {
 public:
  // The run's entry: one mapping object for the pass.
  static void Converte(RunContext& ctx, const Tipo& tipo) { TClassPreencheDadosProdutos().PreencheDadosProdutos(ctx, tipo); }
  // Row 1 of NATRECEITA becomes revenue 999, "OUTRAS RECEITAS", whatever it held.
  void GravaRegistroNaturezaReceita(fb::Database& DbDestino);
  // The run's GerarCodigo: number the products 000001, 000002, ... in legacy code
  // order instead of keeping the last six characters of their legacy codes.
  void PreencheDadosProdutos(RunContext& ctx, const Tipo& tipo);
};
