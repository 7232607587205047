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

// The columns ahead of the optional ones, in the order of the statement.
std::vector<Coluna> Iniciais(const TConverteProduto& p) {
  return {
      {u"Produto.CODPROD", TextoSql(p.CodProd())},
      {u"Produto.TIPOPROD", TextoSql(p.TipoProd())},
      {u"Produto.ATIVO", TextoSql(p.Ativado())},
      {u"Produto.PRODBLOQUEADO", TextoSql(p.ProdBloqueado())},
      {u"Produto.CONTROLESERIE", TextoSql(p.ControleSerie())},
      {u"Produto.REFERENCIA", TextoSql(p.Referencia())},
      {u"Produto.REFFABRICANTE", TextoSql(p.RefFabricante())},
      {u"Produto.DESCRICAO", TextoSql(p.Descricao())},
      {u"Produto.DESCRICAO2", TextoSql(p.Descricao2())},
      {u"Produto.DESCRICAO3", TextoSql(p.Descricao3())},
      {u"Produto.FORNEC_ULT_ENT1", TextoSql(p.Fornec_Ult_Ent1())},
      {u"Produto.CODGRUPO", TextoSql(p.CodGrupo())},
      {u"Produto.CODSUBGRUPO", TextoSql(p.CodSubGrupo())},
      {u"Produto.PRINCIPALFORNEC", TextoSql(p.PrincipalFornecedor())},
      {u"Produto.EMBALAGEM", TextoSql(p.Embalagem())},
      {u"Produto.CODFABRIC", TextoSql(p.CodFabric())},
      {u"Produto.OBSERVACAO", TextoSql(p.Observacao())},
      {u"Produto.CODLOCAL", TextoSql(p.CodLocal())},
      {u"Produto.CODCLASFIS", TextoSql(p.CodClasFis())},
      {u"Produto.ALIQICMSREG00", NumeroSql(p.AliqIcmsReg00())},
      {u"Produto.BASEICMSREG00", NumeroSql(p.BaseIcmsReg00())},
      {u"Produto.BASEICMSREG02", NumeroSql(p.BaseIcmsReg02())},
      {u"Produto.CODTRIBUT00", TextoSql(p.CodTribut00())},
      {u"Produto.CODTRIBUT01", TextoSql(p.CodTribut01())},
      {u"Produto.ALIQICMSPDV", NumeroSql(p.AliqIcmsPdv())},
      {u"Produto.SUBSTRIB", TextoSql(p.SubsTrib())},
      {u"Produto.AliqIpi", NumeroSql(p.AliqIpi())},
      {u"Produto.AliqISS", NumeroSql(p.AliqIss())},
      {u"Produto.PESO", NumeroSql(p.Peso())},
      {u"Produto.UNIDADEENT", TextoSql(p.UnidEntrada())},
      {u"Produto.UNIDADESAIDA", TextoSql(p.UnidSaida())},
      {u"Produto.CodFamilia", TextoSql(p.CodFamilia())},
      {u"Produto.CodTipoProduto", TextoSql(p.CodTipoProduto())},
      {u"Produto.CodVolume", TextoSql(p.CodVolume())},
      {u"Produto.TipoEntrega", TextoSql(p.TipoEntrega())},
      {u"Produto.CodGeneroItem", TextoSql(p.CodGeneroItem())},
      {u"Produto.SUGESTAO", NumeroSql(p.Sugestao())},
      {u"Produto.PRECO", NumeroSql(p.Preco())},
      {u"Produto.DESCRICAOPRECO", TextoSql(p.DescricaoPreco())},
      {u"Produto.PRECO2", NumeroSql(p.Preco2())},
      {u"Produto.DESCRICAOPRECO2", TextoSql(p.DescricaoPreco2())},
      {u"Produto.PRECO3", NumeroSql(p.Preco3())},
      {u"Produto.DESCRICAOPRECO3", TextoSql(p.DescricaoPreco3())},
      {u"Produto.PRECO4", NumeroSql(p.Preco4())},
      {u"Produto.DESCRICAOPRECO4", TextoSql(p.DescricaoPreco4())},
      {u"Produto.PRECO_ANTERIOR", NumeroSql(p.Preco_Anterior())},
      {u"Produto.Pr_Ult_Ent1", NumeroSql(p.Pr_Ult_Ent1())},
      {u"Produto.Lucro", NumeroSql(p.Lucro())},
      {u"Produto.Lucro2", NumeroSql(p.Lucro2())},
      {u"Produto.Lucro3", NumeroSql(p.Lucro3())},
      {u"Produto.Lucro4", NumeroSql(p.Lucro4())},
      {u"Produto.EstMinimo", NumeroSql(p.EstMinimo())},
      {u"Produto.EstMaximo", NumeroSql(p.EstMaximo())},
      {u"Produto.Comissao", NumeroSql(p.Comissao())},
      {u"Produto.Perc_Iva", NumeroSql(p.PercIva())},
      {u"Produto.FatorConversao", NumeroSql(p.FatorConversao())},
      {u"Produto.MultDivide", TextoSql(p.MultiplicaDivide())},
      {u"Produto.ValorIpi", NumeroSql(p.ValorIpi())},
      {u"Produto.PrecoPromo", NumeroSql(p.PrecoPromo())},
  };
}

// The columns after the optional ones; the last closes the lists.
std::vector<Coluna> Finais(const TConverteProduto& p) {
  return {
      {u"Produto.Fracionado", TextoSql(p.Fracionado())},
      {u"Produto.CAMPOLIVRE1", TextoSql(p.CampoLivre1())},
      {u"Produto.CAMPOLIVRE2", TextoSql(p.CampoLivre2())},
      {u"Produto.CAMPOLIVRE3", TextoSql(p.CampoLivre3())},
      {u"Produto.CAMPOLIVRE4", TextoSql(p.CampoLivre4())},
      {u"produto.mensagem00", TextoSql(p.Mensagem00())},
      {u"produto.aliqicmsreg01", NumeroSql(p.AliqIcmsReg01())},
      {u"produto.BaseIcmsReg01", NumeroSql(p.BaseIcmsReg01())},
      {u"produto.mensagem01", TextoSql(p.Mensagem01())},
      {u"produto.aliqicmsreg02", NumeroSql(p.AliqIcmsReg02())},
      {u"Produto.CODTRIBUT02", TextoSql(p.CodTribut02())},
      {u"produto.mensagem02", TextoSql(p.Mensagem02())},
      {u"produto.aliqicmsreg03", NumeroSql(p.AliqIcmsReg03())},
      {u"produto.BaseIcmsReg03", NumeroSql(p.BaseIcmsReg03())},
      {u"Produto.CODTRIBUT03", TextoSql(p.CodTribut03())},
      {u"produto.mensagem03", TextoSql(p.Mensagem03())},
      {u"produto.AliqIcmsDiversos", NumeroSql(p.AliqIcmsDiversos())},
      {u"produto.BaseIcmsdiversos", NumeroSql(p.BaseIcmsdiversos())},
      {u"Produto.CodTributDiversos", TextoSql(p.CodTributDiversos())},
      {u"produto.MensagemDiversos", TextoSql(p.MensagemDiversos())},
      {u"produto.lucrosubstrib", NumeroSql(p.LucroSubStrib())},
      {u"produto.substribsaida", TextoSql(p.SubsTribSaida())},
      {u"Produto.PERCPERDA", NumeroSql(p.PercPerda())},
      {u"produto.percbasesubstribsaida", NumeroSql(p.PercBaseSubsTribSaida())},
      {u"produto.PercIcmsSubsTribSaida", NumeroSql(p.PercIcmsSubsTribSaida())},
      {u"produto.substribsaidaR1", TextoSql(p.SubsTribSaidaR1())},
      {u"produto.percbasesubstribsaidaR1", NumeroSql(p.PercBaseSubsTribSaidaR1())},
      {u"produto.PercIcmsSubsTribSaidaR1", NumeroSql(p.PercIcmsSubsTribSaidaR1())},
      {u"produto.substribsaidaR2", TextoSql(p.SubsTribSaidaR2())},
      {u"produto.percbasesubstribsaidaR2", NumeroSql(p.PercBaseSubsTribSaidaR2())},
      {u"produto.PercIcmsSubsTribSaidaR2", NumeroSql(p.PercIcmsSubsTribSaidaR2())},
      {u"produto.substribsaidaR3", TextoSql(p.SubsTribSaidaR3())},
      {u"produto.percbasesubstribsaidaR3", NumeroSql(p.PercBaseSubsTribSaidaR3())},
      {u"produto.PercIcmsSubsTribSaidaR3", NumeroSql(p.PercIcmsSubsTribSaidaR3())},
      {u"produto.substribsaidaR4", TextoSql(p.SubsTribSaidaR4())},
      {u"produto.percbasesubstribsaidaR4", NumeroSql(p.PercBaseSubsTribSaidaR4())},
      {u"Produto.ControleLote", TextoSql(p.ControleLote())},
      {u"Produto.PercIcmsSubsTribSaidaR4", NumeroSql(p.PercIcmsSubsTribSaidaR4())},
      {u"Produto.Quant_Ult_Ent1", NumeroSql(p.Quant_Ult_Ent1())},
      {u"Produto.CFOPFORAUF", TextoSql(p.CFOPForaUF())},
      {u"Produto.CFOPDENTROUF", TextoSql(p.CFOPDentroUF())},
      {u"Produto.DIASESTMINIMO", InteiroSql(p.DiasEstMinimo())},
      {u"Produto.DIASESTMAXIMO", InteiroSql(p.DiasEstMaximo())},
      {u"produto.grade", InteiroSql(p.Grade())},
  };
}

// The registration date and the three dates that hold a value. Each column comes
// with its own separator, so that any of the sixteen combinations gives a
// well-formed statement.
std::vector<Coluna> Opcionais(const TConverteProduto& p) {
  std::vector<Coluna> opcionais;
  if (!p.Dt_Cadastro().empty()) opcionais.emplace_back(u"Produto.DT_CADASTRO , ", TextoSql(p.Dt_Cadastro()));
  const std::pair<const char16_t*, TDateTime> datas[] = {
      {u"Produto.Data_Ult_Ent1, ", p.Data_Ult_Ent()},
      {u"Produto.Data_Ult_Reajuste, ", p.Data_Ult_Rea()},
      {u"Produto.Data_Ult_Alteracao, ", p.Data_Ult_Alteracao()},
  };
  for (const auto& [coluna, data] : datas)
    if (data != p.DataVazia()) opcionais.emplace_back(coluna, DataSql(data));
  return opcionais;
}

}  // namespace

UString TConverteProduto::MontaSql() const {
  UString colunas = u"Insert Into Produto (";
  UString valores = u" Values ( ";
  for (const Coluna& c : Iniciais(*this)) {
    colunas += UString(c.first) + u", ";
    valores += c.second + u", ";
  }
  for (const Coluna& c : Opcionais(*this)) {
    colunas += c.first;
    valores += c.second + u", ";
  }
  const std::vector<Coluna> fim = Finais(*this);
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
