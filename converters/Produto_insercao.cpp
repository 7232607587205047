// The product record's insert, as (column, value) pairs and as the literal text
// they make, with the registration date and the three dates of the last entry,
// price change and alteration only when they hold a value, so that the target keeps
// its own defaults otherwise.
#include <utility>
#include <vector>

#include "converters/Produto.h"
#include "converters/ValoresSql.h"

void TConverteProduto::PreencheLinha(fb::Row& linha) const {
  fb::RowFiller p(linha);
  p.Texto(u"Produto.CODPROD", CodProd());
  p.Texto(u"Produto.TIPOPROD", TipoProd());
  p.Texto(u"Produto.ATIVO", Ativado());
  p.Texto(u"Produto.PRODBLOQUEADO", ProdBloqueado());
  p.Texto(u"Produto.CONTROLESERIE", ControleSerie());
  p.Texto(u"Produto.REFERENCIA", Referencia());
  p.Texto(u"Produto.REFFABRICANTE", RefFabricante());
  p.Texto(u"Produto.DESCRICAO", Descricao());
  p.Texto(u"Produto.DESCRICAO2", Descricao2());
  p.Texto(u"Produto.DESCRICAO3", Descricao3());
  p.Texto(u"Produto.FORNEC_ULT_ENT1", Fornec_Ult_Ent1());
  p.Texto(u"Produto.CODGRUPO", CodGrupo());
  p.Texto(u"Produto.CODSUBGRUPO", CodSubGrupo());
  p.Texto(u"Produto.PRINCIPALFORNEC", PrincipalFornecedor());
  p.Texto(u"Produto.EMBALAGEM", Embalagem());
  p.Texto(u"Produto.CODFABRIC", CodFabric());
  p.Texto(u"Produto.OBSERVACAO", Observacao());
  p.Texto(u"Produto.CODLOCAL", CodLocal());
  p.Texto(u"Produto.CODCLASFIS", CodClasFis());
  p.Numero(u"Produto.ALIQICMSREG00", NumeroSql(AliqIcmsReg00()));
  p.Numero(u"Produto.BASEICMSREG00", NumeroSql(BaseIcmsReg00()));
  p.Numero(u"Produto.BASEICMSREG02", NumeroSql(BaseIcmsReg02()));
  p.Texto(u"Produto.CODTRIBUT00", CodTribut00());
  p.Texto(u"Produto.CODTRIBUT01", CodTribut01());
  p.Numero(u"Produto.ALIQICMSPDV", NumeroSql(AliqIcmsPdv()));
  p.Texto(u"Produto.SUBSTRIB", SubsTrib());
  p.Numero(u"Produto.AliqIpi", NumeroSql(AliqIpi()));
  p.Numero(u"Produto.AliqISS", NumeroSql(AliqIss()));
  p.Numero(u"Produto.PESO", NumeroSql(Peso()));
  p.Texto(u"Produto.UNIDADEENT", UnidEntrada());
  p.Texto(u"Produto.UNIDADESAIDA", UnidSaida());
  p.Texto(u"Produto.CodFamilia", CodFamilia());
  p.Texto(u"Produto.CodTipoProduto", CodTipoProduto());
  p.Texto(u"Produto.CodVolume", CodVolume());
  p.Texto(u"Produto.TipoEntrega", TipoEntrega());
  p.Texto(u"Produto.CodGeneroItem", CodGeneroItem());
  p.Numero(u"Produto.SUGESTAO", NumeroSql(Sugestao()));
  p.Numero(u"Produto.PRECO", NumeroSql(Preco()));
  p.Texto(u"Produto.DESCRICAOPRECO", DescricaoPreco());
  p.Numero(u"Produto.PRECO2", NumeroSql(Preco2()));
  p.Texto(u"Produto.DESCRICAOPRECO2", DescricaoPreco2());
  p.Numero(u"Produto.PRECO3", NumeroSql(Preco3()));
  p.Texto(u"Produto.DESCRICAOPRECO3", DescricaoPreco3());
  p.Numero(u"Produto.PRECO4", NumeroSql(Preco4()));
  p.Texto(u"Produto.DESCRICAOPRECO4", DescricaoPreco4());
  p.Numero(u"Produto.PRECO_ANTERIOR", NumeroSql(Preco_Anterior()));
  p.Numero(u"Produto.Pr_Ult_Ent1", NumeroSql(Pr_Ult_Ent1()));
  p.Numero(u"Produto.Lucro", NumeroSql(Lucro()));
  p.Numero(u"Produto.Lucro2", NumeroSql(Lucro2()));
  p.Numero(u"Produto.Lucro3", NumeroSql(Lucro3()));
  p.Numero(u"Produto.Lucro4", NumeroSql(Lucro4()));
  p.Numero(u"Produto.EstMinimo", NumeroSql(EstMinimo()));
  p.Numero(u"Produto.EstMaximo", NumeroSql(EstMaximo()));
  p.Numero(u"Produto.Comissao", NumeroSql(Comissao()));
  p.Numero(u"Produto.Perc_Iva", NumeroSql(PercIva()));
  p.Numero(u"Produto.FatorConversao", NumeroSql(FatorConversao()));
  p.Texto(u"Produto.MultDivide", MultiplicaDivide());
  p.Numero(u"Produto.ValorIpi", NumeroSql(ValorIpi()));
  p.Numero(u"Produto.PrecoPromo", NumeroSql(PrecoPromo()));

  if (!Dt_Cadastro().empty()) p.Texto(u"Produto.DT_CADASTRO ", Dt_Cadastro());
  const std::pair<const char16_t*, TDateTime> datas[] = {
      {u"Produto.Data_Ult_Ent1", Data_Ult_Ent()},
      {u"Produto.Data_Ult_Reajuste", Data_Ult_Rea()},
      {u"Produto.Data_Ult_Alteracao", Data_Ult_Alteracao()},
  };
  for (const auto& [coluna, data] : datas)
    if (data != DataVazia()) p.Texto(coluna, DataTexto(data));

  p.Texto(u"Produto.Fracionado", Fracionado());
  p.Texto(u"Produto.CAMPOLIVRE1", CampoLivre1());
  p.Texto(u"Produto.CAMPOLIVRE2", CampoLivre2());
  p.Texto(u"Produto.CAMPOLIVRE3", CampoLivre3());
  p.Texto(u"Produto.CAMPOLIVRE4", CampoLivre4());
  p.Texto(u"produto.mensagem00", Mensagem00());
  p.Numero(u"produto.aliqicmsreg01", NumeroSql(AliqIcmsReg01()));
  p.Numero(u"produto.BaseIcmsReg01", NumeroSql(BaseIcmsReg01()));
  p.Texto(u"produto.mensagem01", Mensagem01());
  p.Numero(u"produto.aliqicmsreg02", NumeroSql(AliqIcmsReg02()));
  p.Texto(u"Produto.CODTRIBUT02", CodTribut02());
  p.Texto(u"produto.mensagem02", Mensagem02());
  p.Numero(u"produto.aliqicmsreg03", NumeroSql(AliqIcmsReg03()));
  p.Numero(u"produto.BaseIcmsReg03", NumeroSql(BaseIcmsReg03()));
  p.Texto(u"Produto.CODTRIBUT03", CodTribut03());
  p.Texto(u"produto.mensagem03", Mensagem03());
  p.Numero(u"produto.AliqIcmsDiversos", NumeroSql(AliqIcmsDiversos()));
  p.Numero(u"produto.BaseIcmsdiversos", NumeroSql(BaseIcmsdiversos()));
  p.Texto(u"Produto.CodTributDiversos", CodTributDiversos());
  p.Texto(u"produto.MensagemDiversos", MensagemDiversos());
  p.Numero(u"produto.lucrosubstrib", NumeroSql(LucroSubStrib()));
  p.Texto(u"produto.substribsaida", SubsTribSaida());
  p.Numero(u"Produto.PERCPERDA", NumeroSql(PercPerda()));
  p.Numero(u"produto.percbasesubstribsaida", NumeroSql(PercBaseSubsTribSaida()));
  p.Numero(u"produto.PercIcmsSubsTribSaida", NumeroSql(PercIcmsSubsTribSaida()));
  p.Texto(u"produto.substribsaidaR1", SubsTribSaidaR1());
  p.Numero(u"produto.percbasesubstribsaidaR1", NumeroSql(PercBaseSubsTribSaidaR1()));
  p.Numero(u"produto.PercIcmsSubsTribSaidaR1", NumeroSql(PercIcmsSubsTribSaidaR1()));
  p.Texto(u"produto.substribsaidaR2", SubsTribSaidaR2());
  p.Numero(u"produto.percbasesubstribsaidaR2", NumeroSql(PercBaseSubsTribSaidaR2()));
  p.Numero(u"produto.PercIcmsSubsTribSaidaR2", NumeroSql(PercIcmsSubsTribSaidaR2()));
  p.Texto(u"produto.substribsaidaR3", SubsTribSaidaR3());
  p.Numero(u"produto.percbasesubstribsaidaR3", NumeroSql(PercBaseSubsTribSaidaR3()));
  p.Numero(u"produto.PercIcmsSubsTribSaidaR3", NumeroSql(PercIcmsSubsTribSaidaR3()));
  p.Texto(u"produto.substribsaidaR4", SubsTribSaidaR4());
  p.Numero(u"produto.percbasesubstribsaidaR4", NumeroSql(PercBaseSubsTribSaidaR4()));
  p.Texto(u"Produto.ControleLote", ControleLote());
  p.Numero(u"Produto.PercIcmsSubsTribSaidaR4", NumeroSql(PercIcmsSubsTribSaidaR4()));
  p.Numero(u"Produto.Quant_Ult_Ent1", NumeroSql(Quant_Ult_Ent1()));
  p.Texto(u"Produto.CFOPFORAUF", CFOPForaUF());
  p.Texto(u"Produto.CFOPDENTROUF", CFOPDentroUF());
  p.Numero(u"Produto.DIASESTMINIMO", InteiroSql(DiasEstMinimo()));
  p.Numero(u"Produto.DIASESTMAXIMO", InteiroSql(DiasEstMaximo()));
  p.Numero(u"produto.grade", InteiroSql(Grade()));
  p.Done();
}

fb::Row TConverteProduto::Colunas() const {
  fb::Row linha;
  PreencheLinha(linha);
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
  PreencheLinha(FLinha);
  Insere(u"Produto", FLinha, [this] { return MontaSql(); });
  LimpaVariavel();
  return true;
}
