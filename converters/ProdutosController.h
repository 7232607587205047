#pragma once
// Converts the legacy products of one company (source table PR) into PRODUTO, with
// their companion rows in COMPPROD and PRODUTODETALHE, registering missing units and
// the catch-all revenue nature on the way.
#include "platform/WindowServices.h"
#include "platform/firebird/Firebird.h"
#include "run/SourceQuery.h"

class TClassPreencheDadosProdutos {
 public:
  // Sets the product statement for the company and opens it, on its first row.
  SourceQuery& BuscaProdutosBDOrigem(SourceQuery& qryBusca, const UString& Empresa);
  // Row 1 of NATRECEITA becomes revenue 999, "OUTRAS RECEITAS", whatever it held.
  void GravaRegistroNaturezaReceita(fb::Database& DbDestino);
  // GerarCodigo: number the products 000001, 000002, ... in legacy code order instead
  // of keeping the last six characters of their legacy codes.
  void PreencheDadosProdutos(const UString& DbOrigem, fb::Database& DbDestino, ProgressBar& Barra,
                             StatusLabel& lblInfo, const UString& Empresa, bool GerarCodigo);
};
