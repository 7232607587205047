#pragma once
// Converts the legacy customers (source table CLIENTES) into CLIENTE.
#include "platform/WindowServices.h"
#include "platform/firebird/Firebird.h"
#include "platform/Text.h"

class TClassPreencheDadosClientes {
 public:
  // Every legacy row gives one insert; a row the target refuses is reported in the
  // run's report and the pass goes on.
  void PreencheDadosClientes(const UString& DbOrigem, fb::Database& DbDestino, ProgressBar& Barra,
                             StatusLabel& lblInfo);
};
