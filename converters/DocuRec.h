#pragma once
// One open receivable: the document of DocuRec with its opening movement in MoviRec.
#include "converters/Documento.h"

class TConverteDocuRec : public TConverteDocumento {
 public:
  explicit TConverteDocuRec(RunContext& Contexto);

  const UString& CodCliente() const { return FCodCliente; }
  const UString& CodVendedor() const { return FCodVendedor; }

  void SetCodCliente(const UString& Value) { FCodCliente = SemAspas(Value); }
  void SetCodVendedor(const UString& Value) { FCodVendedor = SemAspas(Value); }

  // Resets the document; the seller is kept (every row sets it anew).
  void LimpaVariavel();
  // Writes the document held and its opening movement, then resets the fields.
  bool ExecutaSql();

 private:
  UString FCodCliente;
  UString FCodVendedor;
};
