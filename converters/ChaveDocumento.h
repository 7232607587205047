#pragma once
// What tells one converted document from another in the target: company, type,
// number, customer or supplier, due date and value, as the receivables and payables
// converters write them for a legacy row. Two documents alike in all of these are
// the same document converted twice.
#include "converters/Tipos.h"
#include "platform/Regional.h"
#include "platform/SourceQuery.h"

struct ChaveDocumento {
  const char16_t* tabela = nullptr;        // DOCUREC, DOCUPAG
  const char16_t* colunaPessoa = nullptr;  // CODCLIENTE, CODFORNEC
  UString empresa, tipoDocto, numero, pessoa;
  UString vencimento;  // dd/mm/yyyy under the settings given
  double valor = 0;
};

// True for the kinds that add documents (receivables, payables).
bool EhDocumento(const Tipo& tipo);
// The table its documents go into: DOCUREC, DOCUPAG.
const char16_t* TabelaDocumentos(const Tipo& tipo);
// The key the kind's converter writes for the current row of its statement.
ChaveDocumento ChaveDoDocumento(const Tipo& tipo, const SourceQuery& q, const FormatSettings& fs);
