// The product record: its write rules, its defaults and its insert statement, written
// into a real Norvale database file.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "tests/support/RecordingServices.h"
#include "tests/support/TestRun.h"
#include "converters/Produto.h"
#include "converters/ValoresSql.h"
#include "platform/Error.h"
#include "platform/Regional.h"
#include "platform/WindowServices.h"
#include "platform/firebird/Firebird.h"
#include "tests/converters/Insercao.h"
#include "tests/support/TestDatabase.h"

namespace {

using P = TConverteProduto;
std::string S(const UString& u) { return UToUtf8(u); }

class ProdutoRegistro : public ::testing::Test {
 protected:
  void SetUp() override {
    tdb.Connect(db);
    p = std::make_unique<P>(run.ctx);
  }

  // Columns of the row of PRODUTO with the given code, read as text, in this
  // connection's transaction.
  std::vector<std::string> Row(const std::string& codprod, const std::vector<std::string>& cols) {
    fb::Query q(db);
    q.SetSQL(Utf8ToU("SELECT * FROM PRODUTO WHERE CODPROD = '" + codprod + "'"));
    q.Open();
    std::vector<std::string> out;
    if (q.IsEmpty()) return out;
    for (const auto& c : cols) out.push_back(q.FieldIsNull(Utf8ToU(c)) ? "<null>" : S(q.FieldAsText(Utf8ToU(c))));
    return out;
  }

  TestDatabase tdb{"produto"};
  fb::Database db;
  TestRun run{db};  // Brazilian settings: decimal comma
  RecordingServices& ui = run.ui;
  std::unique_ptr<P> p;
};

TEST_F(ProdutoRegistro, WriteRules) {
  struct Case {
    const char* what;
    std::function<void(P&)> set;
    std::function<UString(const P&)> get;
    UString expected;
  };
  // 49 letters, blanks at 50 and 51, then nine more letters.
  const UString sessenta = UString(49, u'a') + u"  " + UString(9, u'x');
  const std::vector<Case> cases = {
      {"code: trimmed, zero-filled", [](P& r) { r.SetCodProd(u"  12 "); }, &P::CodProd, u"000012"},
      {"code: first six", [](P& r) { r.SetCodProd(u"1234567"); }, &P::CodProd, u"123456"},
      {"code: empty is six zeros", [](P& r) { r.SetCodProd(u""); }, &P::CodProd, u"000000"},
      {"group: last three", [](P& r) { r.SetCodGrupo(u"0012"); }, &P::CodGrupo, u"012"},
      {"group: zero-filled", [](P& r) { r.SetCodGrupo(u"5"); }, &P::CodGrupo, u"005"},
      {"group: blanks stay empty", [](P& r) { r.SetCodGrupo(u"   "); }, &P::CodGrupo, u""},
      {"group: untrimmed last three", [](P& r) { r.SetCodGrupo(u"12 "); }, &P::CodGrupo, u"12 "},
      {"subgroup: last three", [](P& r) { r.SetCodSubGrupo(u"0007"); }, &P::CodSubGrupo, u"007"},
      {"subgroup: empty stays empty", [](P& r) { r.SetCodSubGrupo(u""); }, &P::CodSubGrupo, u""},
      {"manufacturer: trimmed, zero-filled", [](P& r) { r.SetFCodFabric(u" 123 "); }, &P::CodFabric, u"00123"},
      {"manufacturer: first five", [](P& r) { r.SetFCodFabric(u"1234567"); }, &P::CodFabric, u"12345"},
      {"manufacturer: empty stays empty", [](P& r) { r.SetFCodFabric(u""); }, &P::CodFabric, u""},
      {"fiscal class: untrimmed, zero-filled", [](P& r) { r.SetCodClasFis(u"85 "); }, &P::CodClasFis, u"085 "},
      {"fiscal class: blanks", [](P& r) { r.SetCodClasFis(u"  "); }, &P::CodClasFis, u""},
      {"supplier: zero-filled", [](P& r) { r.SetPrincipalFornecedor(u"42"); }, &P::PrincipalFornecedor, u"000042"},
      {"supplier: empty stays empty", [](P& r) { r.SetPrincipalFornecedor(u" "); }, &P::PrincipalFornecedor, u""},
      {"tax code: zero-filled", [](P& r) { r.SetCodTribut00(u"60"); }, &P::CodTribut00, u"060"},
      {"tax code: already three", [](P& r) { r.SetCodTribut00(u"060"); }, &P::CodTribut00, u"060"},
      {"active: first one", [](P& r) { r.SetAtivado(u"SIM"); }, &P::Ativado, u"S"},
      {"unit: first six", [](P& r) { r.SetUnidEntrada(u"CAIXA12"); }, &P::UnidEntrada, u"CAIXA1"},
      {"description: first 50, then trimmed", [&](P& r) { r.SetDescricao(sessenta); }, &P::Descricao,
       UString(49, u'a')},
      {"description: trimmed", [](P& r) { r.SetDescricao(u"  Alicate  "); }, &P::Descricao, u"Alicate"},
      {"description 2: first 50, not trimmed", [](P& r) { r.SetDescricao2(u"  x"); }, &P::Descricao2, u"  x"},
      {"manufacturer reference: trimmed, first 20",
       [](P& r) { r.SetRefFabricante(u"  123456789012345678901"); }, &P::RefFabricante, u"12345678901234567890"},
      {"free field 3: trimmed, first 50", [](P& r) { r.SetCampoLivre3(u" a "); }, &P::CampoLivre3, u"a"},
      {"packing: trimmed, first 15", [](P& r) { r.SetEmbalagem(u" 1234567890123456"); }, &P::Embalagem,
       u"123456789012345"},
      {"CFOP: first four", [](P& r) { r.SetCFOPForaUF(u"61020"); }, &P::CFOPForaUF, u"6102"},
      {"observation: unchanged", [](P& r) { r.SetObservacao(u" o "); }, &P::Observacao, u" o "},
  };
  for (const Case& c : cases) {
    c.set(*p);
    EXPECT_EQ(S(c.get(*p)), S(c.expected)) << c.what;
  }
}

TEST_F(ProdutoRegistro, AFreshRecordHoldsItsDefaultsAndWritesThemWithoutOptionalColumns) {
  EXPECT_EQ(run.ctx.Regional().ShortDateFormat, u"dd/mm/yyyy");
  EXPECT_EQ(p->DataVazia(), EncodeDate(1900, 1, 1));
  for (TDateTime d : {p->Data_Ult_Ent(), p->Data_Ult_Rea(), p->Data_Ult_Alteracao()})
    EXPECT_EQ(d, EncodeDate(1900, 1, 1));

  const insercao::Pares pares = insercao::Le(p->MontaSql());
  ASSERT_EQ(pares.size(), 103u);
  const std::map<std::string, std::string> especiais = {
      {"Produto.CODPROD", "'000000'"},    {"Produto.TIPOPROD", "'R'"},   {"Produto.ATIVO", "'S'"},
      {"Produto.PRODBLOQUEADO", "'N'"},   {"Produto.UNIDADEENT", "'UN'"}, {"Produto.UNIDADESAIDA", "'UN'"}};
  for (const auto& [coluna, valor] : pares) {
    auto it = especiais.find(coluna);
    if (it != especiais.end())
      EXPECT_EQ(valor, it->second) << coluna;
    else
      EXPECT_TRUE(valor == "''" || valor == "0") << coluna << " = " << valor;
  }
  for (const char* opcional : {"Produto.DT_CADASTRO", "Produto.Data_Ult_Ent1", "Produto.Data_Ult_Reajuste",
                               "Produto.Data_Ult_Alteracao"})
    EXPECT_EQ(insercao::Valor(pares, opcional), "<absent>");

  ASSERT_TRUE(p->ExecutaSql());
  EXPECT_EQ(Row("000000", {"DESCRICAO", "UNIDADEENT", "PRECO", "GRADE", "DT_CADASTRO", "DATA_ULT_ENT1"}),
            (std::vector<std::string>{"", "UN", "0", "0", "<null>", "<null>"}));
}

// Every property goes to its own column: each gets a value of its own, and the row
// the target holds afterwards is read back column by column.
TEST_F(ProdutoRegistro, EveryPropertyLandsInItsColumn) {
  struct Coluna {
    const char* coluna;
    std::function<void(P&)> set;
    const char* lido;
  };
  const std::vector<Coluna> colunas = {
      {"CODPROD", [](P& r) { r.SetCodProd(u"7"); }, "000007"},
      {"TIPOPROD", [](P& r) { r.SetTipoProd(u"P"); }, "P"},
      {"ATIVO", [](P& r) { r.SetAtivado(u"N"); }, "N"},
      {"PRODBLOQUEADO", [](P& r) { r.SetProdBloqueado(u"S"); }, "S"},
      {"CONTROLESERIE", [](P& r) { r.SetControleSerie(u"C"); }, "C"},
      {"REFERENCIA", [](P& r) { r.SetReferencia(u"REF-1"); }, "REF-1"},
      {"REFFABRICANTE", [](P& r) { r.SetRefFabricante(u" RF-2 "); }, "RF-2"},
      {"DESCRICAO", [](P& r) { r.SetDescricao(u"Chave D'Água"); }, "Chave D'Água"},
      {"DESCRICAO2", [](P& r) { r.SetDescricao2(u"Segunda"); }, "Segunda"},
      {"DESCRICAO3", [](P& r) { r.SetDescricao3(u"Terceira"); }, "Terceira"},
      {"FORNEC_ULT_ENT1", [](P& r) { r.setFFornec_Ult_Ent1(u"F00001"); }, "F00001"},
      {"CODGRUPO", [](P& r) { r.SetCodGrupo(u"12"); }, "012"},
      {"CODSUBGRUPO", [](P& r) { r.SetCodSubGrupo(u"7"); }, "007"},
      {"PRINCIPALFORNEC", [](P& r) { r.SetPrincipalFornecedor(u"42"); }, "000042"},
      {"EMBALAGEM", [](P& r) { r.SetEmbalagem(u" Caixa 12 "); }, "Caixa 12"},
      {"CODFABRIC", [](P& r) { r.SetFCodFabric(u"123"); }, "00123"},
      {"OBSERVACAO", [](P& r) { r.SetObservacao(u"Obs"); }, "Obs"},
      {"CODLOCAL", [](P& r) { r.SetCodLocal(u"A-01"); }, "A-01"},
      {"CODCLASFIS", [](P& r) { r.SetCodClasFis(u"85"); }, "0085"},
      {"ALIQICMSREG00", [](P& r) { r.SetAliqIcmsReg00(1.5); }, "1.5"},
      {"BASEICMSREG00", [](P& r) { r.SetBaseicmsReg00(2.5); }, "2.5"},
      {"BASEICMSREG02", [](P& r) { r.SetBaseIcmsReg02(3.5); }, "3.5"},
      {"CODTRIBUT00", [](P& r) { r.SetCodTribut00(u"60"); }, "060"},
      {"CODTRIBUT01", [](P& r) { r.SetCodTribut01(u"10"); }, "010"},
      {"ALIQICMSPDV", [](P& r) { r.SetAliqIcmsPdv(4.5); }, "4.5"},
      {"SUBSTRIB", [](P& r) { r.SetSubsTrib(u"S"); }, "S"},
      {"ALIQIPI", [](P& r) { r.SetAliqIpi(5.5); }, "5.5"},
      {"ALIQISS", [](P& r) { r.SetAliqIss(6.5); }, "6.5"},
      {"PESO", [](P& r) { r.SetPeso(7.5); }, "7.5"},
      {"UNIDADEENT", [](P& r) { r.SetUnidEntrada(u"CX"); }, "CX"},
      {"UNIDADESAIDA", [](P& r) { r.SetUnidSaida(u"PC"); }, "PC"},
      {"CODFAMILIA", [](P& r) { r.SetCodFamilia(u"F1"); }, "F1"},
      {"CODTIPOPRODUTO", [](P& r) { r.SetCodTipoProduto(u"04"); }, "04"},
      {"CODVOLUME", [](P& r) { r.setCodVolume(u"V01"); }, "V01"},
      {"TIPOENTREGA", [](P& r) { r.setTipoEntrega(u"E"); }, "E"},
      {"CODGENEROITEM", [](P& r) { r.SetCodGeneroItem(u"07"); }, "07"},
      {"SUGESTAO", [](P& r) { r.SetSugestao(8.5); }, "8.5"},
      {"PRECO", [](P& r) { r.SetPreco(12.5); }, "12.5"},
      {"DESCRICAOPRECO", [](P& r) { r.SetDescricaoPreco(u"Varejo"); }, "Varejo"},
      {"PRECO2", [](P& r) { r.SetPreco2(10.25); }, "10.25"},
      {"DESCRICAOPRECO2", [](P& r) { r.SetDescricaoPreco2(u"Atacado"); }, "Atacado"},
      {"PRECO3", [](P& r) { r.SetPreco3(11.5); }, "11.5"},
      {"DESCRICAOPRECO3", [](P& r) { r.SetDescricaoPreco3(u"Prazo"); }, "Prazo"},
      {"PRECO4", [](P& r) { r.SetPreco4(0.1); }, "0.1"},
      {"DESCRICAOPRECO4", [](P& r) { r.SetDescricaoPreco4(u"Promo"); }, "Promo"},
      {"PRECO_ANTERIOR", [](P& r) { r.SetPrecoAnterior(13.5); }, "13.5"},
      {"PR_ULT_ENT1", [](P& r) { r.SetPr_Ult_Ent1(14.5); }, "14.5"},
      {"LUCRO", [](P& r) { r.SetLucro(15.5); }, "15.5"},
      {"LUCRO2", [](P& r) { r.setLucro2(16.5); }, "16.5"},
      {"LUCRO3", [](P& r) { r.setLucro3(17.5); }, "17.5"},
      {"LUCRO4", [](P& r) { r.setLucro4(18.5); }, "18.5"},
      {"ESTMINIMO", [](P& r) { r.SetEstMinimo(19.5); }, "19.5"},
      {"ESTMAXIMO", [](P& r) { r.SetEstMaximo(20.5); }, "20.5"},
      {"COMISSAO", [](P& r) { r.SetComissao(-21.5); }, "-21.5"},
      {"PERC_IVA", [](P& r) { r.setPercIva(22.5); }, "22.5"},
      {"FATORCONVERSAO", [](P& r) { r.SetFatorConversao(1e20); }, "100000000000000000000"},
      {"MULTDIVIDE", [](P& r) { r.setMultiplicaDivide(u"M"); }, "M"},
      {"VALORIPI", [](P& r) { r.SetValorIpi(24.5); }, "24.5"},
      {"PRECOPROMO", [](P& r) { r.SetPrecoPromo(25.5); }, "25.5"},
      {"DT_CADASTRO", [](P& r) { r.SetDt_Cadastro(u"08.06.2014"); }, "08/06/2014"},
      {"DATA_ULT_ENT1", [](P& r) { r.SetData_Ult_Ent(EncodeDate(2011, 3, 5)); }, "05/03/2011"},
      {"DATA_ULT_REAJUSTE", [](P& r) { r.SetData_Ult_Rea(EncodeDate(2012, 4, 6)); }, "06/04/2012"},
      {"DATA_ULT_ALTERACAO", [](P& r) { r.SetData_Ult_Alteracao(EncodeDate(2013, 5, 7)); }, "07/05/2013"},
      {"FRACIONADO", [](P& r) { r.SetFracionado(u"S"); }, "S"},
      {"CAMPOLIVRE1", [](P& r) { r.SetCampoLivre1(u"L1"); }, "L1"},
      {"CAMPOLIVRE2", [](P& r) { r.SetCampoLivre2(u"L2"); }, "L2"},
      {"CAMPOLIVRE3", [](P& r) { r.SetCampoLivre3(u"L3"); }, "L3"},
      {"CAMPOLIVRE4", [](P& r) { r.SetCampoLivre4(u"L4"); }, "L4"},
      {"MENSAGEM00", [](P& r) { r.SetMensagem00(u"M00"); }, "M00"},
      {"ALIQICMSREG01", [](P& r) { r.SetAliqIcmsReg01(26.5); }, "26.5"},
      {"BASEICMSREG01", [](P& r) { r.SetBaseIcmsReg01(27.5); }, "27.5"},
      {"MENSAGEM01", [](P& r) { r.SetMensagem01(u"M01"); }, "M01"},
      {"ALIQICMSREG02", [](P& r) { r.SetAliqIcmsReg02(28.5); }, "28.5"},
      {"CODTRIBUT02", [](P& r) { r.SetCodTribut02(u"20"); }, "020"},
      {"MENSAGEM02", [](P& r) { r.SetMensagem02(u"M02"); }, "M02"},
      {"ALIQICMSREG03", [](P& r) { r.SetAliqIcmsReg03(29.5); }, "29.5"},
      {"BASEICMSREG03", [](P& r) { r.SetBaseIcmsReg03(30.5); }, "30.5"},
      {"CODTRIBUT03", [](P& r) { r.SetCodTribut03(u"30"); }, "030"},
      {"MENSAGEM03", [](P& r) { r.SetMensagem03(u"M03"); }, "M03"},
      {"ALIQICMSDIVERSOS", [](P& r) { r.SetAliqIcmsDiversos(31.5); }, "31.5"},
      {"BASEICMSDIVERSOS", [](P& r) { r.SetBaseIcmsdiversos(32.5); }, "32.5"},
      {"CODTRIBUTDIVERSOS", [](P& r) { r.SetCodTributDiversos(u"40"); }, "040"},
      {"MENSAGEMDIVERSOS", [](P& r) { r.SetMensagemDiversos(u"MD"); }, "MD"},
      {"LUCROSUBSTRIB", [](P& r) { r.SetLucroSubStrib(33.5); }, "33.5"},
      {"SUBSTRIBSAIDA", [](P& r) { r.SetSubsTribSaida(u"T"); }, "T"},
      {"PERCPERDA", [](P& r) { r.SetPercPerda(34.5); }, "34.5"},
      {"PERCBASESUBSTRIBSAIDA", [](P& r) { r.SetPercBaseSubsTribSaida(35.5); }, "35.5"},
      {"PERCICMSSUBSTRIBSAIDA", [](P& r) { r.SetPercIcmsSubsTribSaida(36.5); }, "36.5"},
      {"SUBSTRIBSAIDAR1", [](P& r) { r.SetSubsTribSaidaR1(u"1"); }, "1"},
      {"PERCBASESUBSTRIBSAIDAR1", [](P& r) { r.SetPercBaseSubsTribSaidaR1(37.5); }, "37.5"},
      {"PERCICMSSUBSTRIBSAIDAR1", [](P& r) { r.SetPercIcmsSubsTribSaidaR1(38.5); }, "38.5"},
      {"SUBSTRIBSAIDAR2", [](P& r) { r.SetSubsTribSaidaR2(u"2"); }, "2"},
      {"PERCBASESUBSTRIBSAIDAR2", [](P& r) { r.SetPercBaseSubsTribSaidaR2(39.5); }, "39.5"},
      {"PERCICMSSUBSTRIBSAIDAR2", [](P& r) { r.SetPercIcmsSubsTribSaidaR2(40.5); }, "40.5"},
      {"SUBSTRIBSAIDAR3", [](P& r) { r.SetSubsTribSaidaR3(u"3"); }, "3"},
      {"PERCBASESUBSTRIBSAIDAR3", [](P& r) { r.SetPercBaseSubsTribSaidaR3(41.5); }, "41.5"},
      {"PERCICMSSUBSTRIBSAIDAR3", [](P& r) { r.SetPercIcmsSubsTribSaidaR3(42.5); }, "42.5"},
      {"SUBSTRIBSAIDAR4", [](P& r) { r.SetSubsTribSaidaR4(u"4"); }, "4"},
      {"PERCBASESUBSTRIBSAIDAR4", [](P& r) { r.SetPercBaseSubsTribSaidaR4(43.5); }, "43.5"},
      {"CONTROLELOTE", [](P& r) { r.SetControleLote(u"L"); }, "L"},
      {"PERCICMSSUBSTRIBSAIDAR4", [](P& r) { r.SetPercIcmsSubsTribSaidaR4(44.5); }, "44.5"},
      {"QUANT_ULT_ENT1", [](P& r) { r.SetQuant_Ult_Ent1(45.5); }, "45.5"},
      {"CFOPFORAUF", [](P& r) { r.SetCFOPForaUF(u"6102"); }, "6102"},
      {"CFOPDENTROUF", [](P& r) { r.SetCFOPDentroUF(u"5102"); }, "5102"},
      {"DIASESTMINIMO", [](P& r) { r.SetDiasEstMinimo(3); }, "3"},
      {"DIASESTMAXIMO", [](P& r) { r.SetDiasEstMaximo(30); }, "30"},
      {"GRADE", [](P& r) { r.SetGrade(2); }, "2"},
  };
  ASSERT_EQ(colunas.size(), 107u);
  for (const Coluna& c : colunas) c.set(*p);

  const UString sql = p->MontaSql();
  EXPECT_NE(S(sql).find("'Chave D''Água'"), std::string::npos);  // the apostrophe doubled
  EXPECT_NE(S(sql).find(", 12.5,"), std::string::npos);            // a point under a decimal comma
  EXPECT_EQ(insercao::Le(sql).size(), 107u);
  ASSERT_TRUE(p->ExecutaSql());

  std::vector<std::string> nomes, esperados;
  for (const Coluna& c : colunas) {
    nomes.push_back(c.coluna);
    esperados.push_back(c.lido);
  }
  const std::vector<std::string> lidos = Row("000007", nomes);
  ASSERT_EQ(lidos.size(), nomes.size());
  for (std::size_t i = 0; i < nomes.size(); ++i) EXPECT_EQ(lidos[i], esperados[i]) << nomes[i];
}

// The registration date and the three dates are each present or absent on their own;
// every one of the sixteen combinations must give a statement the target accepts.
TEST_F(ProdutoRegistro, OptionalColumnsInEverySixteenCombinations) {
  const char* nomes[] = {"Produto.DT_CADASTRO", "Produto.Data_Ult_Ent1", "Produto.Data_Ult_Reajuste",
                         "Produto.Data_Ult_Alteracao"};
  const char* valores[] = {"'05.03.2011'", "'06.04.2012'", "'07.05.2013'", "'08.06.2014'"};
  for (int mask = 0; mask < 16; ++mask) {
    SCOPED_TRACE(mask);
    p->SetCodProd(IntToU(mask + 1));
    if (mask & 1) p->SetDt_Cadastro(u"05.03.2011");
    if (mask & 2) p->SetData_Ult_Ent(EncodeDate(2012, 4, 6));
    if (mask & 4) p->SetData_Ult_Rea(EncodeDate(2013, 5, 7));
    if (mask & 8) p->SetData_Ult_Alteracao(EncodeDate(2014, 6, 8));

    const std::vector<std::string> colunas = insercao::Colunas(insercao::Le(p->MontaSql()));
    std::vector<std::string> esperadas;
    for (int b = 0; b < 4; ++b)
      if (mask & (1 << b)) esperadas.push_back(nomes[b]);
    // Right after the promotional price, in this order.
    const auto depois = std::find(colunas.begin(), colunas.end(), "Produto.PrecoPromo");
    ASSERT_NE(depois, colunas.end());
    EXPECT_EQ(std::vector<std::string>(depois + 1, depois + 1 + static_cast<long>(esperadas.size())), esperadas);
    EXPECT_EQ(*(depois + 1 + static_cast<long>(esperadas.size())), "Produto.Fracionado");
    const insercao::Pares pares = insercao::Le(p->MontaSql());
    for (int b = 0; b < 4; ++b)
      EXPECT_EQ(insercao::Valor(pares, nomes[b]), (mask & (1 << b)) ? valores[b] : "<absent>");

    ASSERT_TRUE(p->ExecutaSql());
    const std::string cod = S(TConversao::StrZero(IntToU(mask + 1), 6));
    EXPECT_EQ(Row(cod, {"DT_CADASTRO", "DATA_ULT_ENT1", "DATA_ULT_REAJUSTE", "DATA_ULT_ALTERACAO"}),
              (std::vector<std::string>{(mask & 1) ? "05/03/2011" : "<null>", (mask & 2) ? "06/04/2012" : "<null>",
                                        (mask & 4) ? "07/05/2013" : "<null>", (mask & 8) ? "08/06/2014" : "<null>"}));
  }
  // The registration date goes in as it is held, neither checked nor reformatted.
  p->SetDt_Cadastro(u"qualquer 'coisa'");
  EXPECT_EQ(insercao::Valor(insercao::Le(p->MontaSql()), "Produto.DT_CADASTRO"), "'qualquer ''coisa'''");
}

TEST_F(ProdutoRegistro, NumbersAreWrittenWithAPointWhateverTheRegionalSettings) {
  struct Case {
    double v;
    const char* sql;
  };
  const Case cases[] = {{12.5, "12.5"},        {0, "0"},           {-0.25, "-0.25"},
                        {1.0 / 3, "0.333333333333333"},             {1234567.125, "1234567.125"},
                        {1e20, "1E20"},        {1.5e-7, "1.5E-7"}, {123456789012345678.0, "1.23456789012346E17"},
                        // whole numbers take a shorter way, up to where the exponent starts
                        {-0.0, "0"},           {-7, "-7"},         {999999999999999.0, "999999999999999"},
                        {1e15, "1E15"},        {-1e15, "-1E15"}};
  for (const Case& c : cases) EXPECT_EQ(S(NumeroSql(c.v)), c.sql) << c.v;
}

// After a write the record is back at its defaults, except the four fields the
// conversion never writes; a rejected write leaves the record as it was.
TEST_F(ProdutoRegistro, ResetAfterAWriteAndNotAfterARejection) {
  p->SetCodProd(u"1");
  p->SetPreco(3);
  p->SetUnidEntrada(u"CX");
  p->SetPercPerda(2);
  p->SetDescontoMaximo(5);
  p->SetPr_Ult_Ent1(7);
  p->setMultiplicaDivide(u"M");
  p->SetFracionado(u"S");
  ASSERT_TRUE(p->ExecutaSql());
  EXPECT_EQ(S(p->CodProd()), "000000");
  EXPECT_EQ(p->Preco(), 0);
  EXPECT_EQ(S(p->UnidEntrada()), "UN");
  EXPECT_EQ(S(p->Fracionado()), "");
  EXPECT_EQ(p->PercPerda(), 2);
  EXPECT_EQ(p->DescontoMaximo(), 5);
  EXPECT_EQ(p->Pr_Ult_Ent1(), 7);
  EXPECT_EQ(S(p->MultiplicaDivide()), "M");

  p->SetCodProd(u"1");  // already there
  p->SetPreco(4);
  EXPECT_THROW(p->ExecutaSql(), EDatabaseError);
  EXPECT_EQ(S(p->CodProd()), "000001");
  EXPECT_EQ(p->Preco(), 4);
}

// Creating a record switches the rest of the run to day-first dates; the empty date is
// 1 January 1900 even where the regional date separator cannot read "01/01/1900".
TEST_F(ProdutoRegistro, CreationSwitchesTheShortDateFormat) {
  for (char16_t sep : {u'/', u'-'}) {
    FormatSettings fs;
    fs.ShortDateFormat = u"mm/dd/yyyy";
    fs.DateSeparator = sep;
    run.ctx.Regional() = fs;
    P outro(run.ctx);
    EXPECT_EQ(run.ctx.Regional().ShortDateFormat, u"dd/mm/yyyy");
    EXPECT_EQ(outro.DataVazia(), EncodeDate(1900, 1, 1));
    EXPECT_EQ(insercao::Valor(insercao::Le(outro.MontaSql()), "Produto.Data_Ult_Ent1"), "<absent>");
  }
}

}  // namespace
