#pragma once
// Converts the legacy product groups (source table GRUPO) into GRUPROD.
#include "platform/WindowServices.h"
#include "platform/firebird/Firebird.h"
#include "run/SourceQuery.h"

class TClassPreencheDadosGruposProdutos {
 public:
  SourceQuery& BuscaGruposProdutosBDOrigem(SourceQuery& qryBusca);
  void PreencheDadosGruposProdutos(const UString& DbOrigem, fb::Database& DbDestino, ProgressBar& Barra,
                                   StatusLabel& lblInfo);
};
