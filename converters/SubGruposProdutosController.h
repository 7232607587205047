#pragma once
// Converts the legacy product subgroups (source table SUBGRUPO) into SUBGRUP. A
// legacy subgroup code holds its group: characters 1-2 are the group, 3-4 the
// subgroup.
#include "platform/WindowServices.h"
#include "platform/firebird/Firebird.h"
#include "run/SourceQuery.h"

class TClassPreencheDadosSubGruposProdutos {
 public:
  SourceQuery& BuscaSubGruposProdutosBDOrigem(SourceQuery& qryBusca);
  void PreencheDadosSubGruposProdutos(const UString& DbOrigem, fb::Database& DbDestino, ProgressBar& Barra,
                                      StatusLabel& lblInfo);
};
