#pragma once
// One open payable: the document of DocuPag with its opening movement in MoviPag.
#include "converters/Documento.h"

class TConverteDocuPag : public TConverteDocumento {
 public:
  explicit TConverteDocuPag(RunContext& Contexto);

  const UString& CodFornec() const { return FCodFornec; }
  const UString& Historico() const { return FHistorico; }
  const UString& DoctoRecebido() const { return FDoctoRecebido; }

  void SetCodFornec(const UString& Value) { FCodFornec = SemAspas(Value); }
  // Never cut: a text the target cannot hold fails the run instead of losing its end.
  void SetHistorico(const UString& Value) { FHistorico = SemAspas(Value); }
  void SetDoctoRecebido(const UString& Value) { FDoctoRecebido = SemAspas(Value); }

  void LimpaVariavel();
  // Writes the document held and its opening movement, then resets the fields.
  bool ExecutaSql();

 private:
  UString FCodFornec;
  UString FHistorico;
  UString FDoctoRecebido;
};
