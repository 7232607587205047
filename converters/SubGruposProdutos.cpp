#include "converters/SubGruposProdutos.h"

TConverteSubGrupo::TConverteSubGrupo(RunContext& Contexto)
    : TConversao(Contexto), SubGrup(std::make_unique<fb::Query>(Contexto.Destino())) {
  SubGrup->SetSQL(
      u" insert into subgrup ( subgrup.codgrupo, subgrup.codsubgrupo, subgrup.descricao ) values (:pCodGrupo, "
      u":pCodSubGrupo, :pDescricao ) ");
}

TConverteSubGrupo::~TConverteSubGrupo() = default;

void TConverteSubGrupo::SetCodSubGrupo(const UString& Value) { FCodSubGrupo = StrZero(LeftU(Value, 3), 3); }

void TConverteSubGrupo::SetDescricao(const UString& Value) { FDescricao = LeftU(Value, 30); }

void TConverteSubGrupo::SetCodGrupo(const UString& Value) { FCodGrupo = StrZero(LeftU(Value, 3), 3); }

void TConverteSubGrupo::LimpaTabela() {
  // No commit here: the run controller's commit makes the whole run permanent, and
  // its rollback restores the old subgroups when anything later fails.
  QAuxiliar->Close();
  QAuxiliar->SetSQL(u"DELETE FROM SUBGRUP");
  QAuxiliar->ExecSQL();
  QAuxiliar->Close();
}

void TConverteSubGrupo::GravaSubGrupo() {
  SubGrup->BindText(u"pCodGrupo", FCodGrupo);
  SubGrup->BindText(u"pCodSubGrupo", FCodSubGrupo);
  SubGrup->BindText(u"pDescricao", FDescricao);
  SubGrup->ExecSQL();
}
