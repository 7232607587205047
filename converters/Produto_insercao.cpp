// The product record's insert: one literal statement per product, with the
// registration date and the three dates of the last entry, price change and
// alteration only when they hold a value, so that the target keeps its own defaults
// otherwise.
#include <utility>
#include <vector>

#include "converters/Produto.h"
#include "converters/ValoresSql.h"

namespace {

using Coluna = std::pair<const char16_t*, UString>;

}  // namespace

UString TConverteProduto::MontaSql() const {
  const std::vector<Coluna> inicio = {
      {u"Produto.CODPROD", TextoSql(CodProd())},
      {u"Produto.TIPOPROD", TextoSql(TipoProd())},
      {u"Produto.ATIVO", TextoSql(Ativado())},
      {u"Produto.PRODBLOQUEADO", TextoSql(ProdBloqueado())},
      {u"Produto.CONTROLESERIE", TextoSql(ControleSerie())},
      {u"Produto.REFERENCIA", TextoSql(Referencia())},
      {u"Produto.REFFABRICANTE", TextoSql(RefFabricante())},
      {u"Produto.DESCRICAO", TextoSql(Descricao())},
      {u"Produto.DESCRICAO2", TextoSql(Descricao2())},
      {u"Produto.DESCRICAO3", TextoSql(Descricao3())},
      {u"Produto.FORNEC_ULT_ENT1", TextoSql(Fornec_Ult_Ent1())},
      {u"Produto.CODGRUPO", TextoSql(CodGrupo())},
      {u"Produto.CODSUBGRUPO", TextoSql(CodSubGrupo())},
      {u"Produto.PRINCIPALFORNEC", TextoSql(PrincipalFornecedor())},
      {u"Produto.EMBALAGEM", TextoSql(Embalagem())},
      {u"Produto.CODFABRIC", TextoSql(CodFabric())},
      {u"Produto.OBSERVACAO", TextoSql(Observacao())},
      {u"Produto.CODLOCAL", TextoSql(CodLocal())},
      {u"Produto.CODCLASFIS", TextoSql(CodClasFis())},
      {u"Produto.ALIQICMSREG00", NumeroSql(AliqIcmsReg00())},
      {u"Produto.BASEICMSREG00", NumeroSql(BaseIcmsReg00())},
      {u"Produto.BASEICMSREG02", NumeroSql(BaseIcmsReg02())},
      {u"Produto.CODTRIBUT00", TextoSql(CodTribut00())},
      {u"Produto.CODTRIBUT01", TextoSql(CodTribut01())},
      {u"Produto.ALIQICMSPDV", NumeroSql(AliqIcmsPdv())},
      {u"Produto.SUBSTRIB", TextoSql(SubsTrib())},
      {u"Produto.AliqIpi", NumeroSql(AliqIpi())},
      {u"Produto.AliqISS", NumeroSql(AliqIss())},
      {u"Produto.PESO", NumeroSql(Peso())},
      {u"Produto.UNIDADEENT", TextoSql(UnidEntrada())},
      {u"Produto.UNIDADESAIDA", TextoSql(UnidSaida())},
      {u"Produto.CodFamilia", TextoSql(CodFamilia())},
      {u"Produto.CodTipoProduto", TextoSql(CodTipoProduto())},
      {u"Produto.CodVolume", TextoSql(CodVolume())},
      {u"Produto.TipoEntrega", TextoSql(TipoEntrega())},
      {u"Produto.CodGeneroItem", TextoSql(CodGeneroItem())},
      {u"Produto.SUGESTAO", NumeroSql(Sugestao())},
      {u"Produto.PRECO", NumeroSql(Preco())},
      {u"Produto.DESCRICAOPRECO", TextoSql(DescricaoPreco())},
      {u"Produto.PRECO2", NumeroSql(Preco2())},
      {u"Produto.DESCRICAOPRECO2", TextoSql(DescricaoPreco2())},
      {u"Produto.PRECO3", NumeroSql(Preco3())},
      {u"Produto.DESCRICAOPRECO3", TextoSql(DescricaoPreco3())},
      {u"Produto.PRECO4", NumeroSql(Preco4())},
      {u"Produto.DESCRICAOPRECO4", TextoSql(DescricaoPreco4())},
      {u"Produto.PRECO_ANTERIOR", NumeroSql(Preco_Anterior())},
      {u"Produto.Pr_Ult_Ent1", NumeroSql(Pr_Ult_Ent1())},
      {u"Produto.Lucro", NumeroSql(Lucro())},
      {u"Produto.Lucro2", NumeroSql(Lucro2())},
      {u"Produto.Lucro3", NumeroSql(Lucro3())},
      {u"Produto.Lucro4", NumeroSql(Lucro4())},
      {u"Produto.EstMinimo", NumeroSql(EstMinimo())},
      {u"Produto.EstMaximo", NumeroSql(EstMaximo())},
      {u"Produto.Comissao", NumeroSql(Comissao())},
      {u"Produto.Perc_Iva", NumeroSql(PercIva())},
      {u"Produto.FatorConversao", NumeroSql(FatorConversao())},
      {u"Produto.MultDivide", TextoSql(MultiplicaDivide())},
      {u"Produto.ValorIpi", NumeroSql(ValorIpi())},
      {u"Produto.PrecoPromo", NumeroSql(PrecoPromo())},
  };
  const std::vector<Coluna> fim = {
      {u"Produto.Fracionado", TextoSql(Fracionado())},
      {u"Produto.CAMPOLIVRE1", TextoSql(CampoLivre1())},
      {u"Produto.CAMPOLIVRE2", TextoSql(CampoLivre2())},
      {u"Produto.CAMPOLIVRE3", TextoSql(CampoLivre3())},
      {u"Produto.CAMPOLIVRE4", TextoSql(CampoLivre4())},
      {u"produto.mensagem00", TextoSql(Mensagem00())},
      {u"produto.aliqicmsreg01", NumeroSql(AliqIcmsReg01())},
      {u"produto.BaseIcmsReg01", NumeroSql(BaseIcmsReg01())},
      {u"produto.mensagem01", TextoSql(Mensagem01())},
      {u"produto.aliqicmsreg02", NumeroSql(AliqIcmsReg02())},
      {u"Produto.CODTRIBUT02", TextoSql(CodTribut02())},
      {u"produto.mensagem02", TextoSql(Mensagem02())},
      {u"produto.aliqicmsreg03", NumeroSql(AliqIcmsReg03())},
      {u"produto.BaseIcmsReg03", NumeroSql(BaseIcmsReg03())},
      {u"Produto.CODTRIBUT03", TextoSql(CodTribut03())},
      {u"produto.mensagem03", TextoSql(Mensagem03())},
      {u"produto.AliqIcmsDiversos", NumeroSql(AliqIcmsDiversos())},
      {u"produto.BaseIcmsdiversos", NumeroSql(BaseIcmsdiversos())},
      {u"Produto.CodTributDiversos", TextoSql(CodTributDiversos())},
      {u"produto.MensagemDiversos", TextoSql(MensagemDiversos())},
      {u"produto.lucrosubstrib", NumeroSql(LucroSubStrib())},
      {u"produto.substribsaida", TextoSql(SubsTribSaida())},
      {u"Produto.PERCPERDA", NumeroSql(PercPerda())},
      {u"produto.percbasesubstribsaida", NumeroSql(PercBaseSubsTribSaida())},
      {u"produto.PercIcmsSubsTribSaida", NumeroSql(PercIcmsSubsTribSaida())},
      {u"produto.substribsaidaR1", TextoSql(SubsTribSaidaR1())},
      {u"produto.percbasesubstribsaidaR1", NumeroSql(PercBaseSubsTribSaidaR1())},
      {u"produto.PercIcmsSubsTribSaidaR1", NumeroSql(PercIcmsSubsTribSaidaR1())},
      {u"produto.substribsaidaR2", TextoSql(SubsTribSaidaR2())},
      {u"produto.percbasesubstribsaidaR2", NumeroSql(PercBaseSubsTribSaidaR2())},
      {u"produto.PercIcmsSubsTribSaidaR2", NumeroSql(PercIcmsSubsTribSaidaR2())},
      {u"produto.substribsaidaR3", TextoSql(SubsTribSaidaR3())},
      {u"produto.percbasesubstribsaidaR3", NumeroSql(PercBaseSubsTribSaidaR3())},
      {u"produto.PercIcmsSubsTribSaidaR3", NumeroSql(PercIcmsSubsTribSaidaR3())},
      {u"produto.substribsaidaR4", TextoSql(SubsTribSaidaR4())},
      {u"produto.percbasesubstribsaidaR4", NumeroSql(PercBaseSubsTribSaidaR4())},
      {u"Produto.ControleLote", TextoSql(ControleLote())},
      {u"Produto.PercIcmsSubsTribSaidaR4", NumeroSql(PercIcmsSubsTribSaidaR4())},
      {u"Produto.Quant_Ult_Ent1", NumeroSql(Quant_Ult_Ent1())},
      {u"Produto.CFOPFORAUF", TextoSql(CFOPForaUF())},
      {u"Produto.CFOPDENTROUF", TextoSql(CFOPDentroUF())},
      {u"Produto.DIASESTMINIMO", InteiroSql(DiasEstMinimo())},
      {u"Produto.DIASESTMAXIMO", InteiroSql(DiasEstMaximo())},
      {u"produto.grade", InteiroSql(Grade())},
  };

  // Each optional piece carries its own separator, so any of the sixteen
  // combinations gives a well-formed statement.
  UString colunasOpcionais, valoresOpcionais;
  if (!Dt_Cadastro().empty()) {
    colunasOpcionais += u"Produto.DT_CADASTRO , ";
    valoresOpcionais += TextoSql(Dt_Cadastro()) + u", ";
  }
  const std::pair<const char16_t*, TDateTime> datas[] = {
      {u"Produto.Data_Ult_Ent1, ", Data_Ult_Ent()},
      {u"Produto.Data_Ult_Reajuste, ", Data_Ult_Rea()},
      {u"Produto.Data_Ult_Alteracao, ", Data_Ult_Alteracao()},
  };
  for (const auto& [coluna, data] : datas)
    if (data != DataVazia()) {
      colunasOpcionais += coluna;
      valoresOpcionais += DataSql(data) + u", ";
    }

  UString colunas = u"Insert Into Produto (";
  UString valores = u" Values ( ";
  for (const Coluna& c : inicio) {
    colunas += UString(c.first) + u", ";
    valores += c.second + u", ";
  }
  colunas += colunasOpcionais;
  valores += valoresOpcionais;
  for (std::size_t i = 0; i < fim.size(); ++i) {
    const bool ultima = i + 1 == fim.size();
    colunas += UString(fim[i].first) + (ultima ? u")" : u", ");
    valores += fim[i].second + (ultima ? u") " : u", ");
  }
  return colunas + valores;
}

bool TConverteProduto::ExecutaSql() {
  QDestino->Close();
  QDestino->SetSQL(MontaSql());
  QDestino->ExecSQL();
  LimpaVariavel();
  return true;
}
