#pragma once
// One product subgroup of the target table SUBGRUP: holds it, normalises it, writes it.
#include <memory>

#include "toolkit/classConversao.h"

class TConverteSubGrupo : public TConversao {
 public:
  // Prepares the insert once, on a query of its own: every row only binds and runs it.
  explicit TConverteSubGrupo(RunContext& Contexto);
  ~TConverteSubGrupo() override;

  const UString& CodSubGrupo() const { return FCodSubGrupo; }
  const UString& Descricao() const { return FDescricao; }
  const UString& CodGrupo() const { return FCodGrupo; }

  // The first three characters, zero-filled to three.
  void SetCodSubGrupo(const UString& Value);
  // The first 30 characters, blanks kept.
  void SetDescricao(const UString& Value);
  // The first three characters, zero-filled to three.
  void SetCodGrupo(const UString& Value);

  // Empties SUBGRUP inside the run's transaction.
  void LimpaTabela();
  // Writes the subgroup held as one row of SUBGRUP; the fields keep their values.
  void GravaSubGrupo();

 private:
  UString FCodSubGrupo;
  UString FDescricao;
  UString FCodGrupo;
  std::unique_ptr<fb::Query> SubGrup;
};
