#pragma once
// Converts the open receivables of one company (source table CR) into DocuRec and
// MoviRec. Nothing is emptied: the documents are added to what the target holds.
#include "platform/WindowServices.h"
#include "platform/firebird/Firebird.h"
#include "run/SourceQuery.h"

class TClassPreencheDadosDocuRec {
 public:
  SourceQuery& BuscaDocumentosBDOrigem(SourceQuery& qryBusca, const UString& Empresa);
  void PreencheDadosDocuRec(const UString& DbOrigem, fb::Database& DbDestino, ProgressBar& Barra,
                            StatusLabel& lblInfo, const UString& Empresa);
};
