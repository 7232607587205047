#include "converters/GrupoProduto.h"

TConverteGruposProd::TConverteGruposProd(RunContext& Contexto) : TConversao(Contexto) { LimpaVariavel(); }

void TConverteGruposProd::SetCodigo(const UString& Value) { FCodigo = StrZero(RightU(Value, 3), 3); }

void TConverteGruposProd::SetDescricao(const UString& Value) { FDescricao = LeftU(TrimCtl(Value), 30); }

void TConverteGruposProd::LimpaVariavel() {
  FCodigo.clear();
  FDescricao.clear();
  FDiasEstoqueMaximo = 0;
  FDiasEstoqueMinimo = 0;
}

void TConverteGruposProd::LimpaTabela() {
  // No commit here: the run controller's commit makes the whole run permanent, and
  // its rollback restores the old groups when anything later fails.
  QAuxiliar->Close();
  QAuxiliar->SetSQL(u"Delete From GRUPROD");
  QAuxiliar->ExecSQL();
  QAuxiliar->Close();
}

bool TConverteGruposProd::ExecutaSql() {
  QDestino->SetSQL(
      u"INSERT INTO GRUPROD ( CODGRUPO, DESCRICAO, DIASESTMAXIMO, DIASESTMINIMO) VALUES (:pCODGRUPO, "
      u":pDESCRICAO, :pDIASESTMAXIMO, :pDIASESTMINIMO) ");
  QDestino->BindText(u"pCODGRUPO", FCodigo);
  QDestino->BindText(u"pDESCRICAO", FDescricao);
  QDestino->BindInteger(u"pDIASESTMAXIMO", FDiasEstoqueMaximo);
  QDestino->BindInteger(u"pDIASESTMINIMO", FDiasEstoqueMinimo);
  QDestino->ExecSQL();
  LimpaVariavel();
  return true;
}
