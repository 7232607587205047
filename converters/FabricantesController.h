#pragma once
// Converts the legacy manufacturers (source table FABRICA) into CADFABR.
#include "platform/WindowServices.h"
#include "platform/firebird/Firebird.h"
#include "run/SourceQuery.h"

class TClassPreencheDadosFabricantes {
 public:
  SourceQuery& BuscaFabricantesBDOrigem(SourceQuery& qryBusca);
  void PreencheDadosFabricantes(const UString& DbOrigem, fb::Database& DbDestino, ProgressBar& Barra,
                                StatusLabel& lblInfo);
};
