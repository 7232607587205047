// The product record's insert, as (column, value) pairs and as the literal text
// they make, with the registration date and the three dates of the last entry,
// price change and alteration only when they hold a value, so that the target keeps
// its own defaults otherwise.
#include <utility>
#include <vector>

#include "converters/Produto.h"
#include "converters/ValoresSql.h"

namespace {

fb::Value Texto(const UString& v) { return ValorTexto(v); }
fb::Value Numero(double v) { return ValorNumero(v); }
fb::Value Inteiro(std::int32_t v) { return ValorInteiro(v); }

}  // namespace

fb::Row TConverteProduto::Colunas() const {
  fb::Row linha = {
      {u"Produto.CODPROD", Texto(CodProd())},
      {u"Produto.TIPOPROD", Texto(TipoProd())},
      {u"Produto.ATIVO", Texto(Ativado())},
      {u"Produto.PRODBLOQUEADO", Texto(ProdBloqueado())},
      {u"Produto.CONTROLESERIE", Texto(ControleSerie())},
      {u"Produto.REFERENCIA", Texto(Referencia())},
      {u"Produto.REFFABRICANTE", Texto(RefFabricante())},
      {u"Produto.DESCRICAO", Texto(Descricao())},
      {u"Produto.DESCRICAO2", Texto(Descricao2())},
      {u"Produto.DESCRICAO3", Texto(Descricao3())},
      {u"Produto.FORNEC_ULT_ENT1", Texto(Fornec_Ult_Ent1())},
      {u"Produto.CODGRUPO", Texto(CodGrupo())},
      {u"Produto.CODSUBGRUPO", Texto(CodSubGrupo())},
      {u"Produto.PRINCIPALFORNEC", Texto(PrincipalFornecedor())},
      {u"Produto.EMBALAGEM", Texto(Embalagem())},
      {u"Produto.CODFABRIC", Texto(CodFabric())},
      {u"Produto.OBSERVACAO", Texto(Observacao())},
      {u"Produto.CODLOCAL", Texto(CodLocal())},
      {u"Produto.CODCLASFIS", Texto(CodClasFis())},
      {u"Produto.ALIQICMSREG00", Numero(AliqIcmsReg00())},
      {u"Produto.BASEICMSREG00", Numero(BaseIcmsReg00())},
      {u"Produto.BASEICMSREG02", Numero(BaseIcmsReg02())},
      {u"Produto.CODTRIBUT00", Texto(CodTribut00())},
      {u"Produto.CODTRIBUT01", Texto(CodTribut01())},
      {u"Produto.ALIQICMSPDV", Numero(AliqIcmsPdv())},
      {u"Produto.SUBSTRIB", Texto(SubsTrib())},
      {u"Produto.AliqIpi", Numero(AliqIpi())},
      {u"Produto.AliqISS", Numero(AliqIss())},
      {u"Produto.PESO", Numero(Peso())},
      {u"Produto.UNIDADEENT", Texto(UnidEntrada())},
      {u"Produto.UNIDADESAIDA", Texto(UnidSaida())},
      {u"Produto.CodFamilia", Texto(CodFamilia())},
      {u"Produto.CodTipoProduto", Texto(CodTipoProduto())},
      {u"Produto.CodVolume", Texto(CodVolume())},
      {u"Produto.TipoEntrega", Texto(TipoEntrega())},
      {u"Produto.CodGeneroItem", Texto(CodGeneroItem())},
      {u"Produto.SUGESTAO", Numero(Sugestao())},
      {u"Produto.PRECO", Numero(Preco())},
      {u"Produto.DESCRICAOPRECO", Texto(DescricaoPreco())},
      {u"Produto.PRECO2", Numero(Preco2())},
      {u"Produto.DESCRICAOPRECO2", Texto(DescricaoPreco2())},
      {u"Produto.PRECO3", Numero(Preco3())},
      {u"Produto.DESCRICAOPRECO3", Texto(DescricaoPreco3())},
      {u"Produto.PRECO4", Numero(Preco4())},
      {u"Produto.DESCRICAOPRECO4", Texto(DescricaoPreco4())},
      {u"Produto.PRECO_ANTERIOR", Numero(Preco_Anterior())},
      {u"Produto.Pr_Ult_Ent1", Numero(Pr_Ult_Ent1())},
      {u"Produto.Lucro", Numero(Lucro())},
      {u"Produto.Lucro2", Numero(Lucro2())},
      {u"Produto.Lucro3", Numero(Lucro3())},
      {u"Produto.Lucro4", Numero(Lucro4())},
      {u"Produto.EstMinimo", Numero(EstMinimo())},
      {u"Produto.EstMaximo", Numero(EstMaximo())},
      {u"Produto.Comissao", Numero(Comissao())},
      {u"Produto.Perc_Iva", Numero(PercIva())},
      {u"Produto.FatorConversao", Numero(FatorConversao())},
      {u"Produto.MultDivide", Texto(MultiplicaDivide())},
      {u"Produto.ValorIpi", Numero(ValorIpi())},
      {u"Produto.PrecoPromo", Numero(PrecoPromo())},
  };

  if (!Dt_Cadastro().empty()) linha.push_back({u"Produto.DT_CADASTRO ", Texto(Dt_Cadastro())});
  const std::pair<const char16_t*, TDateTime> datas[] = {
      {u"Produto.Data_Ult_Ent1", Data_Ult_Ent()},
      {u"Produto.Data_Ult_Reajuste", Data_Ult_Rea()},
      {u"Produto.Data_Ult_Alteracao", Data_Ult_Alteracao()},
  };
  for (const auto& [coluna, data] : datas)
    if (data != DataVazia()) linha.push_back({coluna, fb::Value::Texto(DataTexto(data))});

  const fb::Row fim = {
      {u"Produto.Fracionado", Texto(Fracionado())},
      {u"Produto.CAMPOLIVRE1", Texto(CampoLivre1())},
      {u"Produto.CAMPOLIVRE2", Texto(CampoLivre2())},
      {u"Produto.CAMPOLIVRE3", Texto(CampoLivre3())},
      {u"Produto.CAMPOLIVRE4", Texto(CampoLivre4())},
      {u"produto.mensagem00", Texto(Mensagem00())},
      {u"produto.aliqicmsreg01", Numero(AliqIcmsReg01())},
      {u"produto.BaseIcmsReg01", Numero(BaseIcmsReg01())},
      {u"produto.mensagem01", Texto(Mensagem01())},
      {u"produto.aliqicmsreg02", Numero(AliqIcmsReg02())},
      {u"Produto.CODTRIBUT02", Texto(CodTribut02())},
      {u"produto.mensagem02", Texto(Mensagem02())},
      {u"produto.aliqicmsreg03", Numero(AliqIcmsReg03())},
      {u"produto.BaseIcmsReg03", Numero(BaseIcmsReg03())},
      {u"Produto.CODTRIBUT03", Texto(CodTribut03())},
      {u"produto.mensagem03", Texto(Mensagem03())},
      {u"produto.AliqIcmsDiversos", Numero(AliqIcmsDiversos())},
      {u"produto.BaseIcmsdiversos", Numero(BaseIcmsdiversos())},
      {u"Produto.CodTributDiversos", Texto(CodTributDiversos())},
      {u"produto.MensagemDiversos", Texto(MensagemDiversos())},
      {u"produto.lucrosubstrib", Numero(LucroSubStrib())},
      {u"produto.substribsaida", Texto(SubsTribSaida())},
      {u"Produto.PERCPERDA", Numero(PercPerda())},
      {u"produto.percbasesubstribsaida", Numero(PercBaseSubsTribSaida())},
      {u"produto.PercIcmsSubsTribSaida", Numero(PercIcmsSubsTribSaida())},
      {u"produto.substribsaidaR1", Texto(SubsTribSaidaR1())},
      {u"produto.percbasesubstribsaidaR1", Numero(PercBaseSubsTribSaidaR1())},
      {u"produto.PercIcmsSubsTribSaidaR1", Numero(PercIcmsSubsTribSaidaR1())},
      {u"produto.substribsaidaR2", Texto(SubsTribSaidaR2())},
      {u"produto.percbasesubstribsaidaR2", Numero(PercBaseSubsTribSaidaR2())},
      {u"produto.PercIcmsSubsTribSaidaR2", Numero(PercIcmsSubsTribSaidaR2())},
      {u"produto.substribsaidaR3", Texto(SubsTribSaidaR3())},
      {u"produto.percbasesubstribsaidaR3", Numero(PercBaseSubsTribSaidaR3())},
      {u"produto.PercIcmsSubsTribSaidaR3", Numero(PercIcmsSubsTribSaidaR3())},
      {u"produto.substribsaidaR4", Texto(SubsTribSaidaR4())},
      {u"produto.percbasesubstribsaidaR4", Numero(PercBaseSubsTribSaidaR4())},
      {u"Produto.ControleLote", Texto(ControleLote())},
      {u"Produto.PercIcmsSubsTribSaidaR4", Numero(PercIcmsSubsTribSaidaR4())},
      {u"Produto.Quant_Ult_Ent1", Numero(Quant_Ult_Ent1())},
      {u"Produto.CFOPFORAUF", Texto(CFOPForaUF())},
      {u"Produto.CFOPDENTROUF", Texto(CFOPDentroUF())},
      {u"Produto.DIASESTMINIMO", Inteiro(DiasEstMinimo())},
      {u"Produto.DIASESTMAXIMO", Inteiro(DiasEstMaximo())},
      {u"produto.grade", Inteiro(Grade())},
  };
  linha.insert(linha.end(), fim.begin(), fim.end());
  return linha;
}

UString TConverteProduto::MontaSql() const {
  UString colunas = u"Insert Into Produto (";
  UString valores = u" Values ( ";
  bool primeira = true;
  for (const fb::ColumnValue& c : Colunas()) {
    if (!primeira) {
      colunas += u", ";
      valores += u", ";
    }
    primeira = false;
    colunas += c.column;
    valores += LiteralSql(c.value);
  }
  return colunas + u")" + valores + u") ";
}

bool TConverteProduto::ExecutaSql() {
  Insere(u"Produto", Colunas(), [this] { return MontaSql(); });
  LimpaVariavel();
  return true;
}
