#include "converters/CompProd.h"

#include "converters/ValoresSql.h"

TConverteCompProd::TConverteCompProd(RunContext& Contexto) : TConversao(Contexto) { LimpaVariavel(); }

TConverteCompProd::~TConverteCompProd() = default;

void TConverteCompProd::LimpaVariavel() {
  SetCodProd(u"");
  SetCodEmpresa(u"00");
  SetCodGrade(u"0000");
  SetEstoque(0);
  SetPrecoCusto(0);
}

void TConverteCompProd::LimpaTabela(const UString& Empresa) {
  // No commit here: the run's final commit makes the emptying permanent together
  // with the new rows, and a failed run gets the old figures back.
  QAuxiliar->Close();
  if (Empresa.empty())
    QAuxiliar->SetSQL(u"Delete from COMPPROD");
  else
    QAuxiliar->SetSQL(u"Delete from COMPPROD Where CODEMPRESA = " + TextoSql(Empresa));
  QAuxiliar->ExecSQL();
  QAuxiliar->Close();
}

UString TConverteCompProd::MontaSql() const {
  return u"Insert Into compprod ( compprod.codprod, compprod.codempresa, compprod.codgrade, compprod.dificms, "
         u"compprod.estoque, compprod.estoqueDisponivel, compprod.estminimo, compprod.estmaximo, "
         u"compprod.precomedio, compprod.precocusto, compprod.preconf) Values ( " +
         TextoSql(CodProd()) + u", " + TextoSql(CodEmpresa()) + u", " + TextoSql(CodGrade()) + u", " +
         NumeroSql(DifICMS()) + u", " + NumeroSql(Estoque()) + u", " + NumeroSql(EstoquDisp()) + u", " +
         NumeroSql(EstMinimo()) + u", " + NumeroSql(EstMaximo()) + u", " + NumeroSql(PrecoMedio()) + u", " +
         NumeroSql(PrecoCusto()) + u", " + NumeroSql(PrecoNF()) + u") ";
}

fb::Row TConverteCompProd::Colunas() const {
  return {
      {u"compprod.codprod", ValorTexto(CodProd())},       {u"compprod.codempresa", ValorTexto(CodEmpresa())},
      {u"compprod.codgrade", ValorTexto(CodGrade())},     {u"compprod.dificms", ValorNumero(DifICMS())},
      {u"compprod.estoque", ValorNumero(Estoque())},      {u"compprod.estoqueDisponivel", ValorNumero(EstoquDisp())},
      {u"compprod.estminimo", ValorNumero(EstMinimo())},  {u"compprod.estmaximo", ValorNumero(EstMaximo())},
      {u"compprod.precomedio", ValorNumero(PrecoMedio())}, {u"compprod.precocusto", ValorNumero(PrecoCusto())},
      {u"compprod.preconf", ValorNumero(PrecoNF())},
  };
}

bool TConverteCompProd::ExecutaSql(int vParam) {
  if (vParam != 1) return false;
  Insere(u"compprod", Colunas(), [this] { return MontaSql(); });
  return true;
}
