// The two companion records of a product (COMPPROD, PRODUTODETALHE) and the
// emptying of the three product tables, on a real Norvale database file.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "tests/support/RecordingServices.h"
#include "tests/support/TestRun.h"
#include "converters/CompProd.h"
#include "converters/Produto.h"
#include "converters/ProdutoDetalhe.h"
#include "platform/Regional.h"
#include "platform/WindowServices.h"
#include "platform/firebird/Firebird.h"
#include "tests/converters/Insercao.h"
#include "tests/support/TestDatabase.h"

namespace {

std::string S(const UString& u) { return UToUtf8(u); }

class Companheiros : public ::testing::Test {
 protected:
  void SetUp() override { tdb.Connect(db); }

  void Exec(const std::string& sql) {
    fb::Query q(db);
    q.SetSQL(Utf8ToU(sql));
    q.ExecSQL();
  }

  // Rows of a select, each as "COL1|COL2|...", in this connection's transaction.
  std::vector<std::string> Rows(const std::string& sql, const std::vector<std::string>& cols) {
    fb::Query q(db);
    q.SetSQL(Utf8ToU(sql));
    q.Open();
    std::vector<std::string> out;
    for (; !q.Eof(); q.Next()) {
      std::string row;
      for (std::size_t i = 0; i < cols.size(); ++i) row += (i ? "|" : "") + S(q.FieldAsText(Utf8ToU(cols[i])));
      out.push_back(row);
    }
    return out;
  }

  TestDatabase tdb{"companheiros"};
  fb::Database db;
  TestRun run{db};  // Brazilian settings: decimal comma
  RecordingServices& ui = run.ui;
};

const std::vector<std::string> kCompCols = {"CODPROD",   "CODEMPRESA", "CODGRADE",   "DIFICMS",
                                            "ESTOQUE",   "ESTOQUEDISPONIVEL",        "ESTMINIMO",
                                            "ESTMAXIMO", "PRECOMEDIO", "PRECOCUSTO", "PRECONF"};

TEST_F(Companheiros, PerCompanyRecordWritesItsFiguresAndKeepsThemAfterwards) {
  TConverteCompProd c(run.ctx);
  c.SetCodProd(u"123");
  c.SetPrecoCusto(9.9);
  ASSERT_TRUE(c.ExecutaSql(1));
  EXPECT_EQ(Rows("SELECT * FROM COMPPROD", kCompCols),
            (std::vector<std::string>{"000123|00|0000|0|0|0|0|0|0|9.9|0"}));

  // Every figure to its own column; the record is not reset by a write, and its
  // reset leaves the figures the conversion never sets.
  c.SetCodProd(u"124");
  c.SetCodEmpresa(u"01");
  c.SetCodGrade(u"0002");
  c.SetDifICMS(1.5);
  c.SetEstoque(2.5);
  c.setEstoqueDisp(3.5);
  c.SetEstMinimo(4.5);
  c.SetEstMaximo(5.5);
  c.setPrecoMedio(6.5);
  c.SetPrecoCusto(7.5);
  c.setPrecoNf(8.5);
  ASSERT_TRUE(c.ExecutaSql(1));
  EXPECT_EQ(Rows("SELECT * FROM COMPPROD WHERE CODPROD = '000124'", kCompCols),
            (std::vector<std::string>{"000124|01|0002|1.5|2.5|3.5|4.5|5.5|6.5|7.5|8.5"}));
  EXPECT_EQ(S(c.CodProd()), "000124");
  c.LimpaVariavel();
  EXPECT_EQ(S(c.CodProd() + u"|" + c.CodEmpresa() + u"|" + c.CodGrade()), "000000|00|0000");
  EXPECT_EQ(c.Estoque(), 0);
  EXPECT_EQ(c.PrecoCusto(), 0);
  EXPECT_EQ(c.PrecoMedio(), 6.5);
  EXPECT_EQ(c.EstMaximo(), 5.5);
  EXPECT_EQ(c.PrecoNF(), 8.5);

  // Only the insert exists.
  EXPECT_FALSE(c.ExecutaSql(2));
  EXPECT_EQ(Rows("SELECT COUNT(*) AS N FROM COMPPROD", {"N"}), (std::vector<std::string>{"2"}));
}

TEST_F(Companheiros, CodesAreZeroFilledButNeverCutNorTrimmed) {
  TConverteCompProd c(run.ctx);
  TConverteProdutoDetalhe d(run.ctx);
  const std::pair<UString, std::string> cases[] = {
      {u"1234567", "1234567"}, {u" 12 ", "00 12 "}, {u"42", "000042"}, {u"", "000000"}};
  for (const auto& [in, out] : cases) {
    c.SetCodProd(in);
    d.SetCODPROD(in);
    EXPECT_EQ(S(c.CodProd()), out);
    EXPECT_EQ(S(d.CodProd()), out);
  }
}

TEST_F(Companheiros, DetailRecordDefaultsItsColumnsAndItsReset) {
  TConverteProdutoDetalhe d(run.ctx);
  EXPECT_EQ(run.ctx.Regional().ShortDateFormat, u"dd/mm/yyyy");
  EXPECT_EQ(S(d.CodProd()), "");  // reset directly, not through the zero-filling setter
  for (const auto& [coluna, valor] : insercao::Le(d.MontaSql()))
    EXPECT_TRUE(valor == "''" || valor == "0") << coluna << " = " << valor;
  ASSERT_TRUE(d.ExecutaSql());
  EXPECT_EQ(Rows("SELECT * FROM PRODUTODETALHE", {"CODPROD", "CODCSOSN", "ALIQPIS", "PONTOBONUS"}),
            (std::vector<std::string>{"||0|0"}));
}

// Every property goes to its own column.
TEST_F(Companheiros, EveryDetailPropertyLandsInItsColumn) {
  using D = TConverteProdutoDetalhe;
  struct Coluna {
    const char* coluna;
    std::function<void(D&)> set;
    const char* lido;
  };
  const std::vector<Coluna> colunas = {
      {"CODPROD", [](D& r) { r.SetCODPROD(u"77"); }, "000077"},
      {"CONTROLERECEITUARIO", [](D& r) { r.SetCONTROLERECEITUARIO(u"R"); }, "R"},
      {"CODIGOATIVIDADE", [](D& r) { r.SetCODIGOATIVIDADE(u"ATV'1"); }, "ATV'1"},
      {"CODIGOLISTASERVICO", [](D& r) { r.SetCODIGOLISTASERVICO(u"LS1"); }, "LS1"},
      {"ESPELHOMERCSERV", [](D& r) { r.SetESPELHOMERCSERV(u"E"); }, "E"},
      {"IMPORTADOPORTOSEGURO", [](D& r) { r.SetIMPORTADOPORTOSEGURO(u"I"); }, "I"},
      {"CODPROMOCAO", [](D& r) { r.SetCODPROMOCAO(3); }, "3"},
      {"ALIQPIS", [](D& r) { r.SetALIQPIS(1.65); }, "1.65"},
      {"PIS_CST", [](D& r) { r.SetPIS_CST(u"01"); }, "01"},
      {"PISENT_CST", [](D& r) { r.SetPISENT_CST(u"50"); }, "50"},
      {"PIS_ST", [](D& r) { r.SetPIS_ST(4); }, "4"},
      {"PISENT_ST", [](D& r) { r.SetPISENT_ST(5); }, "5"},
      {"ALIQCOFINS", [](D& r) { r.SetALIQCOFINS(7.6); }, "7.6"},
      {"ALIQPISENT", [](D& r) { r.SetALIQPISENT(2.5); }, "2.5"},
      {"ALIQCOFINSENT", [](D& r) { r.SetALIQCOFINSENT(3.5); }, "3.5"},
      {"COFINS_CST", [](D& r) { r.SetCOFINS_CST(u"02"); }, "02"},
      {"COFINSENT_CST", [](D& r) { r.SetCOFINSENT_CST(u"51"); }, "51"},
      {"COFINS_ST", [](D& r) { r.SetCOFINS_ST(6); }, "6"},
      {"COFINSENT_ST", [](D& r) { r.SetCOFINSENT_ST(7); }, "7"},
      {"CODCSOSN", [](D& r) { r.SetCODCSOSN(u"500"); }, "500"},
      {"PRECOMAXVENDA", [](D& r) { r.SetPRECOMAXVENDA(99.99); }, "99.99"},
      {"PONTOBONUS", [](D& r) { r.SetPONTOBONUS(8); }, "8"},
  };
  D d(run.ctx);
  for (const Coluna& c : colunas) c.set(d);
  ASSERT_TRUE(d.ExecutaSql());
  std::vector<std::string> nomes;
  std::string esperado;
  for (const Coluna& c : colunas) {
    nomes.push_back(c.coluna);
    esperado += (esperado.empty() ? "" : "|") + std::string(c.lido);
  }
  EXPECT_EQ(Rows("SELECT * FROM PRODUTODETALHE", nomes), (std::vector<std::string>{esperado}));

  // Back at its defaults, except the purchase-side rates.
  EXPECT_EQ(S(d.CodProd() + d.CodCSOSN() + d.Pis_CST()), "");
  EXPECT_EQ(d.AliqPis(), 0);
  EXPECT_EQ(d.PontoBonus(), 0);
  EXPECT_EQ(d.AliqPisEnt(), 2.5);
  EXPECT_EQ(d.AliqCofinsEnt(), 3.5);
}

// The three tables are emptied inside the run's transaction, without a commit: a
// rollback brings the old rows back.
TEST_F(Companheiros, EmptyingDoesNotCommit) {
  Exec("INSERT INTO PRODUTO (CODPROD, TIPOPROD, ATIVO, PRODBLOQUEADO, DESCRICAO) VALUES ('000001','R','S','N','A')");
  Exec("INSERT INTO COMPPROD (CODPROD, CODEMPRESA, CODGRADE) VALUES ('000001', '01', '0000')");
  Exec("INSERT INTO COMPPROD (CODPROD, CODEMPRESA, CODGRADE) VALUES ('000001', '02', '0000')");
  Exec("INSERT INTO PRODUTODETALHE (CODPROD) VALUES ('000001')");
  db.DefaultTransaction().Commit();

  TConverteProduto p(run.ctx);
  TConverteCompProd c(run.ctx);
  TConverteProdutoDetalhe d(run.ctx);
  const auto contagens = [&] {
    return Rows("SELECT (SELECT COUNT(*) FROM PRODUTO) || '/' || (SELECT COUNT(*) FROM COMPPROD) || '/' || "
                "(SELECT COUNT(*) FROM PRODUTODETALHE) AS N FROM RDB$DATABASE",
                {"N"})
        .at(0);
  };

  c.LimpaTabela(u"02");  // a company given: that company's rows only
  EXPECT_EQ(Rows("SELECT CODEMPRESA FROM COMPPROD", {"CODEMPRESA"}), (std::vector<std::string>{"01"}));
  p.LimpaTabela();
  c.LimpaTabela(u"");  // every company
  d.LimpaTabela();
  EXPECT_TRUE(db.DefaultTransaction().InTransaction());
  EXPECT_EQ(contagens(), "0/0/0");
  db.DefaultTransaction().Rollback();
  EXPECT_EQ(contagens(), "1/2/1");
}

}  // namespace
