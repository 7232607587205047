// The products converter as a run sees it: legacy PR tables written by an
// independent dBase writer, converted through the run controller into a real Norvale
// database file, and the committed rows read back through a second connection.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/dbase/DbfEngine.h"
#include "tests/support/RecordingServices.h"
#include "platform/StringList.h"
#include "platform/WindowServices.h"
#include "platform/firebird/Firebird.h"
#include "run/ClassesConversaoController.h"
#include "toolkit/RunReport.h"
#include "tests/support/DbfFixture.h"
#include "tests/support/TargetDump.h"
#include "tests/support/TestDatabase.h"

namespace {

using Rows = std::vector<std::string>;

class LoggingBar : public ProgressBar {
 public:
  explicit LoggingBar(Rows& l) : log_(l) {}

 protected:
  void Changed() override { log_.push_back("bar " + std::to_string(Position()) + "/" + std::to_string(Max())); }

 private:
  Rows& log_;
};

class LoggingLabel : public StatusLabel {
 public:
  explicit LoggingLabel(Rows& l) : log_(l) {}

 protected:
  void Changed() override { log_.push_back("label " + UToUtf8(Caption())); }

 private:
  Rows& log_;
};

// One legacy product: CODITEM, GRUPO, SUBGRUPO, DESCRICAO, UNIDADE, ESTMIN, PVENDA,
// COMISSAO, CUSTOATUAL, CUSTOMEDIO, C_FISCAL, EMPRESA, CODFAB ("" is null for numbers).
using Pr = std::vector<std::string>;

Pr Item(const std::string& coditem, const std::string& descricao, const std::string& empresa = "01") {
  return {coditem, "00001", "00001", descricao, "UN", "1", "10", "0", "5", "5", "17", empresa, "1"};
}

const char kProdutos[] =
    "SELECT CODPROD, CODGRUPO, CODSUBGRUPO, DESCRICAO, UNIDADEENT, UNIDADESAIDA, ESTMINIMO, PRECO, COMISSAO, "
    "CODFABRIC, SUBSTRIB, CODTRIBUT00, ALIQICMSREG00, BASEICMSREG00, ALIQICMSPDV, ATIVO, CODTIPOPRODUTO, TIPOPROD "
    "FROM PRODUTO ORDER BY CODPROD";
const std::vector<std::string> kProdutosCols = {
    "CODPROD",   "CODGRUPO", "CODSUBGRUPO", "DESCRICAO",     "UNIDADEENT",    "UNIDADESAIDA",
    "ESTMINIMO", "PRECO",    "COMISSAO",    "CODFABRIC",     "SUBSTRIB",      "CODTRIBUT00",
    "ALIQICMSREG00", "BASEICMSREG00", "ALIQICMSPDV", "ATIVO", "CODTIPOPRODUTO", "TIPOPROD"};

class Produtos : public ::testing::Test {
 protected:
  void SetUp() override {
    dbPath_ = FreshDatabase("produtos");
    ConnectTo(db_, dbPath_);
  }

  void WritePr(std::vector<Pr> rows) {
    DbfTable t;
    t.path = src_.file("PR.DBF");
    t.fields =
        "CODITEM C(10); GRUPO C(5); SUBGRUPO C(5); DESCRICAO C(50); UNIDADE C(8); ESTMIN N(10,3); PVENDA N(12,2); "
        "COMISSAO N(6,2); CUSTOATUAL N(12,4); CUSTOMEDIO N(12,4); C_FISCAL C(2); EMPRESA C(2); CODFAB C(5)";
    t.codepage = "cp850";
    t.rows = std::move(rows);
    WriteDbf(t);
  }

  void Exec(const std::string& sql) {
    fb::Query q(db_);
    q.SetSQL(Utf8ToU(sql));
    q.ExecSQL();
  }

  // Rows of a statement, each as "COL1|COL2|...", through a connection of its own so
  // it sees only what was committed.
  Rows Committed(const std::string& sql, const std::vector<std::string>& cols) {
    return CommittedRows(dbPath_, sql, cols);
  }

  Rows Codes() {
    return Committed("SELECT CODPROD, DESCRICAO FROM PRODUTO ORDER BY CODPROD", {"CODPROD", "DESCRICAO"});
  }

  // The five tables a product run touches, one line per row.
  Rows Snapshot() {
    Rows all;
    auto add = [&](const std::string& table, const std::string& cols, const std::vector<std::string>& names) {
      for (const std::string& r : Committed("SELECT " + cols + " FROM " + table + " ORDER BY 1", names))
        all.push_back(table + ": " + r);
    };
    add("PRODUTO", "CODPROD, DESCRICAO", {"CODPROD", "DESCRICAO"});
    add("COMPPROD", "CODPROD, CODEMPRESA, PRECOCUSTO", {"CODPROD", "CODEMPRESA", "PRECOCUSTO"});
    add("PRODUTODETALHE", "CODPROD, CODCSOSN", {"CODPROD", "CODCSOSN"});
    add("UNIDADES", "UNIDADE", {"UNIDADE"});
    add("NATRECEITA", "ID, CODRECEITA, DESCRECEITA", {"ID", "CODRECEITA", "DESCRECEITA"});
    return all;
  }

  bool Run(const UString& empresa = u"01", bool gerar = false) {
    TStringList sel;
    sel.Add(u"PRODUTO=S");
    TClassesConversaoController c(ui_, engine_, report_);
    return c.FEfetuaConversao(sel, Utf8ToU(src_.path()), db_, db_.DefaultTransaction(), bar_, label_, empresa, gerar);
  }

  const KindReport& Report() { return report_.Kinds().at(0); }

  std::string dbPath_;
  fb::Database db_;
  TempDir src_{"produtos-src"};
  Rows log_;
  LoggingBar bar_{log_};
  LoggingLabel label_{log_};
  RecordingServices ui_;
  dbase::Engine engine_;
  RunReport report_;
};

TEST_F(Produtos, LegacyRowsArriveNormalisedWithTheirCompanionRows) {
  WritePr({
      {"ABC0012345", "00012", "00003", "Fio flexível 2,5mm", "rl", "3", "249.9", "1.5", "160", "158.25", "17", "01",
       "150"},
      {"42", "5", "00001", "Tomada D'Ouro", "Caixa12", "12", "8.9", "0", "", "4.1", "", "01", ""},
      {"000102", "00001", "", "  Chave de fenda", "PC", "10", "12.5", "2.5", "6.2", "", "01", "01", "12"},
  });
  ASSERT_TRUE(Run());
  ASSERT_EQ(ui_.boxes.size(), 1u);
  EXPECT_EQ(ui_.boxes[0].text, u"Conversão concluída com sucesso!");

  EXPECT_EQ(Committed(kProdutos, kProdutosCols),
            (Rows{
                // group "5" has no characters 2 to 5; an empty C_FISCAL: no rate, full base
                "000042||001|Tomada D'Ouro|CAIXA1|CAIXA1|12|8.9|0|00000|N|000|0|100|0|S|00|R",
                // C_FISCAL 01: tax substitution
                "000102|001||Chave de fenda|PC|PC|10|12.5|2.5|00012|S|060|0|0|0|S|00|R",
                // a rate
                "012345|012|003|Fio flexível 2,5mm|RL|RL|3|249.9|1.5|00150|N|000|17|100|17|S|00|R",
            }));
  EXPECT_EQ(Committed("SELECT * FROM COMPPROD ORDER BY CODPROD",
                      {"CODPROD", "CODEMPRESA", "CODGRADE", "ESTOQUE", "PRECOCUSTO", "PRECOMEDIO"}),
            (Rows{"000042|00|0000|0|0|4.1", "000102|00|0000|0|6.2|0", "012345|00|0000|0|160|158.25"}));
  EXPECT_EQ(Committed("SELECT CODPROD, CODCSOSN FROM PRODUTODETALHE ORDER BY CODPROD", {"CODPROD", "CODCSOSN"}),
            (Rows{"000042|101", "000102|500", "012345|101"}));
  EXPECT_EQ(Committed("SELECT ID, CODRECEITA, DESCRECEITA FROM NATRECEITA", {"ID", "CODRECEITA", "DESCRECEITA"}),
            (Rows{"1|999|OUTRAS RECEITAS"}));
  EXPECT_EQ(Report().read, 3);
  EXPECT_EQ(Report().written, 3);
}

TEST_F(Produtos, GeneratedCodesFollowTheLegacyCodeOrder) {
  WritePr({Item("B2", "Bê"), Item("A1", "Á"), Item("000106", "Primeiro"), Item("1000106", "Mesmo final"),
           Item("C3", "Cê")});
  ASSERT_TRUE(Run(u"01", true));
  EXPECT_EQ(Codes(), (Rows{"000001|Primeiro", "000002|Mesmo final", "000003|Á", "000004|Bê", "000005|Cê"}));
  EXPECT_EQ(Report().skipped, 0);
}

// Codes that end alike make one product only when the rows follow each other; the
// progress still counts every row.
TEST_F(Produtos, NeighbouringDuplicatesAreWrittenOnceTheFirst) {
  Pr primeiro = Item("000106", "Primeiro");
  primeiro[8] = "7.25";
  WritePr({Item("2000107", "Outro"), Item("1000106", "Repetido"), primeiro});
  ASSERT_TRUE(Run());
  EXPECT_EQ(Codes(), (Rows{"000106|Primeiro", "000107|Outro"}));
  EXPECT_EQ(Committed("SELECT CODPROD, PRECOCUSTO FROM COMPPROD ORDER BY CODPROD", {"CODPROD", "PRECOCUSTO"}),
            (Rows{"000106|7.25", "000107|5"}));
  EXPECT_EQ(Committed("SELECT CODPROD FROM PRODUTODETALHE ORDER BY CODPROD", {"CODPROD"}), (Rows{"000106", "000107"}));

  EXPECT_EQ(Report().read, 3);
  EXPECT_EQ(Report().written, 2);
  ASSERT_EQ(Report().skipped, 1);
  EXPECT_EQ(log_, (Rows{"bar 0/100", "bar 0/3",
                        "label Convertendo Produtos - Registro 1 de 3", "bar 1/3",
                        "label Convertendo Produtos - Registro 2 de 3", "bar 2/3",
                        "label Convertendo Produtos - Registro 3 de 3", "bar 3/3",
                        "label ", "bar 0/3", "bar 0/0", "bar 0/0"}));
}

TEST_F(Produtos, UnitsAreRegisteredOnceUpperCasedAndCutToSix) {
  Exec("INSERT INTO UNIDADES (UNIDADE, DESCRICAO) VALUES ('UN', 'Unidade')");
  db_.DefaultTransaction().Commit();
  std::vector<Pr> rows;
  const char* unidades[] = {"cx", "CX", "Caixa12", "un", "Cx"};
  for (int i = 0; i < 5; ++i) {
    rows.push_back(Item("00000" + std::to_string(i + 1), "Item"));
    rows.back()[4] = unidades[i];
  }
  WritePr(rows);
  ASSERT_TRUE(Run());
  EXPECT_EQ(Committed("SELECT UNIDADE, DESCRICAO FROM UNIDADES ORDER BY UNIDADE", {"UNIDADE", "DESCRICAO"}),
            (Rows{"CAIXA1|", "CX|", "UN|Unidade"}));
  EXPECT_EQ(Committed("SELECT UNIDADEENT, UNIDADESAIDA FROM PRODUTO ORDER BY CODPROD", {"UNIDADEENT", "UNIDADESAIDA"}),
            (Rows{"CX|CX", "CX|CX", "CAIXA1|CAIXA1", "UN|UN", "CX|CX"}));
}

TEST_F(Produtos, TheRevenueNatureRowIsUpsertedAndTheOthersKept) {
  Exec("INSERT INTO NATRECEITA (ID, CODRECEITA, DESCRECEITA, CST) VALUES (1, 5, 'VELHA', '01')");
  Exec("INSERT INTO NATRECEITA (ID, CODRECEITA, DESCRECEITA) VALUES (2, 10, 'OUTRA')");
  db_.DefaultTransaction().Commit();
  WritePr({Item("1", "Um")});
  ASSERT_TRUE(Run());
  EXPECT_EQ(Committed("SELECT * FROM NATRECEITA ORDER BY ID", {"ID", "CODRECEITA", "DESCRECEITA", "CST"}),
            (Rows{"1|999|OUTRAS RECEITAS|01", "2|10|OUTRA|"}));
}

// Only the chosen company's rows are read, but the tables are emptied for every
// company and the per-company rows always carry company 00.
TEST_F(Produtos, TheChosenCompanyOnly) {
  WritePr({Item("1", "Loja um"), Item("2", "Loja dois", "02"), Item("3", "Também um"), Item("4", "Também dois", "02")});
  ASSERT_TRUE(Run(u"01"));
  EXPECT_EQ(Codes(), (Rows{"000001|Loja um", "000003|Também um"}));
  ASSERT_TRUE(Run(u"02"));
  EXPECT_EQ(Codes(), (Rows{"000002|Loja dois", "000004|Também dois"}));
  EXPECT_EQ(Committed("SELECT CODPROD, CODEMPRESA FROM COMPPROD ORDER BY CODPROD", {"CODPROD", "CODEMPRESA"}),
            (Rows{"000002|00", "000004|00"}));
}

TEST_F(Produtos, NoProductsForTheCompany) {
  Exec("INSERT INTO PRODUTO (CODPROD, TIPOPROD, ATIVO, PRODBLOQUEADO, DESCRICAO) VALUES ('000009','R','S','N','A')");
  Exec("INSERT INTO COMPPROD (CODPROD, CODEMPRESA, CODGRADE) VALUES ('000009', '01', '0000')");
  Exec("INSERT INTO PRODUTODETALHE (CODPROD) VALUES ('000009')");
  db_.DefaultTransaction().Commit();
  WritePr({Item("1", "Só da loja um")});
  ASSERT_TRUE(Run(u"02"));
  EXPECT_EQ(Snapshot(), (Rows{"NATRECEITA: 1|999|OUTRAS RECEITAS"}));
  EXPECT_EQ(log_, (Rows{"bar 0/100", "bar 0/0", "label ", "bar 0/0", "bar 0/0", "bar 0/0"}));
  EXPECT_EQ(Report().read, 0);
}

// Whatever fails, the five tables a product run touches are exactly as before.
TEST_F(Produtos, AFailingRunLeavesEveryTableAsItWas) {
  Exec("INSERT INTO PRODUTO (CODPROD, TIPOPROD, ATIVO, PRODBLOQUEADO, DESCRICAO) "
       "VALUES ('000009', 'R', 'S', 'N', 'Antigo')");
  Exec("INSERT INTO COMPPROD (CODPROD, CODEMPRESA, CODGRADE, PRECOCUSTO) VALUES ('000009', '01', '0000', 3)");
  Exec("INSERT INTO PRODUTODETALHE (CODPROD, CODCSOSN) VALUES ('000009', '900')");
  Exec("INSERT INTO NATRECEITA (ID, CODRECEITA, DESCRECEITA) VALUES (1, 5, 'VELHA')");
  db_.DefaultTransaction().Commit();
  Exec("INSERT INTO UNIDADES (UNIDADE) VALUES ('UN')");
  db_.DefaultTransaction().Commit();
  const Rows before = Snapshot();
  ASSERT_EQ(before.size(), 5u);

  Pr novaUnidade = Item("000001", "Unidade nova");
  novaUnidade[4] = "NOVA";
  Pr semNumero = Item("000002", "Alíquota inválida");
  semNumero[10] = "XX";
  struct Case {
    const char* what;
    std::vector<Pr> rows;
    std::string setup;
    const char* motivo;
  };
  const Case cases[] = {
      {"a tax column that is not a number", {novaUnidade, semNumero}, "", "XX"},
      {"codes ending alike, not neighbours",
       {novaUnidade, Item("000106", "A"), Item("000107", "B"), Item("1000106", "C")}, "", "PK_PRODUTO"},
      // Last: the constraint stays.
      {"the revenue nature refused", {novaUnidade},
       "ALTER TABLE NATRECEITA ADD CONSTRAINT CK_SEM_999 CHECK (CODRECEITA <> 999)", "CK_SEM_999"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    if (!c.setup.empty()) {
      Exec(c.setup);
      db_.DefaultTransaction().Commit();
    }
    WritePr(c.rows);
    ui_.boxes.clear();
    EXPECT_FALSE(Run());
    ASSERT_EQ(ui_.boxes.size(), 1u);
    const std::string text = UToUtf8(ui_.boxes[0].text);
    EXPECT_EQ(text.rfind("Ocorreu um erro durante a conversão! Motivo: ", 0), 0u) << text;
    EXPECT_NE(text.find(c.motivo), std::string::npos) << text;
    EXPECT_EQ(Snapshot(), before);
  }
}

}  // namespace
