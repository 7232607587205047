#pragma once
// Converts the legacy suppliers (source table FORNEC) into FORNECE, registering the
// cities the target lacks.
#include "platform/WindowServices.h"
#include "platform/firebird/Firebird.h"
#include "run/SourceQuery.h"

class TClassPreencheDadosFornecedores {
 public:
  SourceQuery& BuscaFornecedoresBDOrigem(SourceQuery& qryBusca);
  void PreencheDadosFornecedores(const UString& DbOrigem, fb::Database& DbDestino, ProgressBar& Barra,
                                 StatusLabel& lblInfo);
};
