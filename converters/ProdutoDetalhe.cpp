#include "converters/ProdutoDetalhe.h"

#include "converters/ValoresSql.h"

TConverteProdutoDetalhe::TConverteProdutoDetalhe(RunContext& Contexto) : TConversao(Contexto) {
  Contexto.Regional().ShortDateFormat = u"dd/mm/yyyy";
  LimpaVariavel();
}

TConverteProdutoDetalhe::~TConverteProdutoDetalhe() = default;

void TConverteProdutoDetalhe::LimpaVariavel() {
  FCODPROD.clear();
  FCONTROLERECEITUARIO.clear();
  FCODIGOATIVIDADE.clear();
  FCODIGOLISTASERVICO.clear();
  FESPELHOMERCSERV.clear();
  FIMPORTADOPORTOSEGURO.clear();
  FCODPROMOCAO = 0;
  FALIQPIS = 0;
  FPIS_CST.clear();
  FPISENT_CST.clear();
  FPIS_ST = 0;
  FPISENT_ST = 0;
  FALIQCOFINS = 0;
  FCOFINS_CST.clear();
  FCOFINSENT_CST.clear();
  FCOFINS_ST = 0;
  FCOFINSENT_ST = 0;
  FCODCSOSN.clear();
  FPRECOMAXVENDA = 0;
  FPONTOBONUS = 0;
}

void TConverteProdutoDetalhe::LimpaTabela() {
  // No commit here: the run's final commit makes the emptying permanent together
  // with the new rows, and a failed run gets the old details back.
  QAuxiliar->Close();
  QAuxiliar->SetSQL(u"Delete from PRODUTODETALHE");
  QAuxiliar->ExecSQL();
  QAuxiliar->Close();
}

UString TConverteProdutoDetalhe::MontaSql() const {
  return u"Insert Into ProdutoDetalhe ( CODPROD , CONTROLERECEITUARIO , CODIGOATIVIDADE , CODIGOLISTASERVICO , "
         u"ESPELHOMERCSERV , IMPORTADOPORTOSEGURO , CODPROMOCAO , ALIQPIS , PIS_CST , PISENT_CST , PIS_ST , "
         u"PISENT_ST , ALIQCOFINS , ALIQPISENT , ALIQCOFINSENT , COFINS_CST , COFINSENT_CST , COFINS_ST , "
         u"COFINSENT_ST , CODCSOSN , PRECOMAXVENDA , PONTOBONUS ) Values (" +
         TextoSql(CodProd()) + u", " + TextoSql(ControleReceituario()) + u", " + TextoSql(CodigoAtividade()) +
         u", " + TextoSql(CodigoListaServico()) + u", " + TextoSql(EspelhoMercServ()) + u", " +
         TextoSql(ImportadoPortoSeguro()) + u", " + InteiroSql(CodPromocao()) + u", " + NumeroSql(AliqPis()) +
         u", " + TextoSql(Pis_CST()) + u", " + TextoSql(PisEnt_CST()) + u", " + InteiroSql(Pis_ST()) + u", " +
         InteiroSql(PisEnt_ST()) + u", " + NumeroSql(AliqCofins()) + u", " + NumeroSql(AliqPisEnt()) + u", " +
         NumeroSql(AliqCofinsEnt()) + u", " + TextoSql(Cofins_CST()) + u", " + TextoSql(CofinsEnt_CST()) + u", " +
         InteiroSql(Cofins_ST()) + u", " + InteiroSql(CofinsEnt_ST()) + u", " + TextoSql(CodCSOSN()) + u", " +
         NumeroSql(PrecoMaxVenda()) + u", " + InteiroSql(PontoBonus()) + u") ";
}

fb::Row TConverteProdutoDetalhe::Colunas() const {
  return {
      {u"CODPROD", ValorTexto(CodProd())},
      {u"CONTROLERECEITUARIO", ValorTexto(ControleReceituario())},
      {u"CODIGOATIVIDADE", ValorTexto(CodigoAtividade())},
      {u"CODIGOLISTASERVICO", ValorTexto(CodigoListaServico())},
      {u"ESPELHOMERCSERV", ValorTexto(EspelhoMercServ())},
      {u"IMPORTADOPORTOSEGURO", ValorTexto(ImportadoPortoSeguro())},
      {u"CODPROMOCAO", ValorInteiro(CodPromocao())},
      {u"ALIQPIS", ValorNumero(AliqPis())},
      {u"PIS_CST", ValorTexto(Pis_CST())},
      {u"PISENT_CST", ValorTexto(PisEnt_CST())},
      {u"PIS_ST", ValorInteiro(Pis_ST())},
      {u"PISENT_ST", ValorInteiro(PisEnt_ST())},
      {u"ALIQCOFINS", ValorNumero(AliqCofins())},
      {u"ALIQPISENT", ValorNumero(AliqPisEnt())},
      {u"ALIQCOFINSENT", ValorNumero(AliqCofinsEnt())},
      {u"COFINS_CST", ValorTexto(Cofins_CST())},
      {u"COFINSENT_CST", ValorTexto(CofinsEnt_CST())},
      {u"COFINS_ST", ValorInteiro(Cofins_ST())},
      {u"COFINSENT_ST", ValorInteiro(CofinsEnt_ST())},
      {u"CODCSOSN", ValorTexto(CodCSOSN())},
      {u"PRECOMAXVENDA", ValorNumero(PrecoMaxVenda())},
      {u"PONTOBONUS", ValorInteiro(PontoBonus())},
  };
}

bool TConverteProdutoDetalhe::ExecutaSql() {
  Insere(u"ProdutoDetalhe", Colunas(), [this] { return MontaSql(); });
  LimpaVariavel();
  return true;
}
