#pragma once
// Converts the open payables of one company (source table ContPag) into DocuPag and
// MoviPag. Nothing is emptied: the documents are added to what the target holds.
#include "platform/WindowServices.h"
#include "platform/firebird/Firebird.h"
#include "run/SourceQuery.h"

class TClassPreencheDadosDocuPag {
 public:
  SourceQuery& BuscaDocumentosBDOrigem(SourceQuery& qryBusca, const UString& Empresa);
  void PreencheDadosDocuPag(const UString& DbOrigem, fb::Database& DbDestino, ProgressBar& Barra,
                            StatusLabel& lblInfo, const UString& Empresa);
};
