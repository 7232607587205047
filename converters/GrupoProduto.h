#pragma once
// One product group of the target table GRUPROD: holds it, normalises it, writes it.
#include <cstdint>

#include "toolkit/classConversao.h"

class TConverteGruposProd : public TConversao {
 public:
  explicit TConverteGruposProd(RunContext& Contexto);

  const UString& Codigo() const { return FCodigo; }
  const UString& Descricao() const { return FDescricao; }
  std::int32_t DiasEstoqueMaximo() const { return FDiasEstoqueMaximo; }
  std::int32_t DiasEstoqueMinimo() const { return FDiasEstoqueMinimo; }

  // The last three characters, zero-filled to three.
  void SetCodigo(const UString& Value);
  // Trimmed, then cut to 30.
  void SetDescricao(const UString& Value);

  void LimpaVariavel();
  // Empties GRUPROD inside the run's transaction.
  void LimpaTabela();
  // Writes the group held as one row of GRUPROD, then resets the fields.
  bool ExecutaSql();

 private:
  UString FCodigo;
  UString FDescricao;
  std::int32_t FDiasEstoqueMaximo = 0;
  std::int32_t FDiasEstoqueMinimo = 0;
};
