// The suppliers converter through the run controller, on real dBase files into real
// Firebird files.
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

// A FORNEC row: CODIGO, RAZAOSOC, FANTASIA, ENDERECO, BAIRRO, CIDADE, ESTADO, CEP,
// CGC, INSC, TELEFONE1, FAX; columns left out are blank.
using Fornec = std::vector<std::string>;

class FornecedoresTest : public ::testing::Test {
 protected:
  void SetUp() override { ConnectTo(db_, dbPath_); }

  void WriteFornec(const std::vector<Fornec>& rows) {
    DbfTable t;
    t.path = src_.file("FORNEC.DBF");
    t.fields =
        "CODIGO C(8); RAZAOSOC C(80); FANTASIA C(50); ENDERECO C(60); BAIRRO C(40); CIDADE C(30); ESTADO C(2); "
        "CEP C(10); CGC C(20); INSC C(18); TELEFONE1 C(25); FAX C(25)";
    t.codepage = "cp850";
    for (Fornec f : rows) {
      f.resize(12);
      t.rows.push_back(f);
    }
    WriteDbf(t);
  }

  // Writes and commits target rows that were there before the run.
  void Before(std::initializer_list<const char16_t*> statements) {
    fb::Query q(db_);
    for (const char16_t* s : statements) {
      q.SetSQL(s);
      q.ExecSQL();
    }
    db_.DefaultTransaction().Commit();
  }

  // Rows of a statement as "COL1|COL2|...", through a connection of its own so that
  // only what was committed is seen.
  Rows Committed(const std::string& sql, const std::vector<std::string>& cols) {
    return CommittedRows(dbPath_, sql, cols);
  }
  Rows Suppliers() {
    return Committed("SELECT CODFORNEC, NOME, CODCIDADE, ESTADO FROM FORNECE ORDER BY CODFORNEC",
                     {"CODFORNEC", "NOME", "CODCIDADE", "ESTADO"});
  }
  Rows Cities() {
    return Committed("SELECT CODCIDADE, CIDADE, ESTADO FROM CIDADES ORDER BY CODCIDADE",
                     {"CODCIDADE", "CIDADE", "ESTADO"});
  }

  bool Run() {
    TStringList sel;
    sel.Add(u"FORNECEDOR=S");
    TClassesConversaoController c(ui_, engine_, report_);
    return c.FEfetuaConversao(sel, Utf8ToU(src_.path()), db_, db_.DefaultTransaction(), bar_, label_, u"01",
                              false);
  }

  std::string dbPath_ = FreshDatabase("fornecedores");
  fb::Database db_;
  TempDir src_{"fornecedores-src"};
  ProgressBar bar_;
  StatusLabel label_;
  RecordingServices ui_;
  dbase::Engine engine_;
  RunReport report_;
};

TEST_F(FornecedoresTest, EveryFieldArrivesNormalised) {
  WriteFornec({
      {"42", "D'Avila Distribuidora de Ferragens Ltda", "  Ferragens São João  ", "Rua D'Ouro, 5", "  Funcionários ",
       "", "sp", "30110-100", "12.345.678/0001-90", "062.307.904.0081", "(31) 3271-0000", "(31) 3271-0001 ramal 22"},
      {"1234567", "Marcenaria do Sebastião e Filhos Reunidos Comércio e Indústria", "Ação", "", "", "", "Mg",
       "cep isento", "529.982.247-25", "isento", "", ""},
      {"7", "Tintas", "", "", "", "", "", "", "ISENTO", "Isenta", "", ""},
      {"8", "Oito", "", "", "", "", "", "", "123456789012345678", "", "", ""},
      {"9", "Nove", "", "", "", "", "", "", "", "", "", ""},
  });
  ASSERT_TRUE(Run());
  const std::vector<std::string> cols = {"CODFORNEC", "NOME", "NOMEFANTASIA", "ENDERECO", "BAIRRO", "CEP",
                                         "ESTADO",    "CGCCPF", "PESSOA_FJ",  "INSCEST",  "FONE",   "FAX"};
  std::string sql = "SELECT ";
  for (std::size_t i = 0; i < cols.size(); ++i) sql += (i ? ", " : "") + cols[i];
  EXPECT_EQ(Committed(sql + " FROM FORNECE ORDER BY CODFORNEC", cols),
            (Rows{"000007|TINTAS||||||ISENTO|F|||",
                  "000008|OITO||||||12345678901234|J|||",
                  "000009|NOVE|||||||F|||",
                  "000042|DAVILA DISTRIBUIDORA DE FERRAGENS LTDA|FERRAGENS SAO JOAO|Rua DOuro, 5|Funcionários|"
                  "30110100|sp|12345678000190|J|0623079040081|3132710000|3132710001",
                  "123456|MARCENARIA DO SEBASTIAO E FILHOS REUNIDOS COMERCIO|ACAO||||Mg|52998224725|F|ISENTO||"}));

  // Columns the legacy table has nothing for are empty texts, never NULL.
  const std::string vazias[] = {"ATIVO",    "TIPOFORNECE", "CODTIPO", "CONTACX",       "CTCTBRED",   "CODCLIENTE",
                                "CONTATO",  "NUMERO",      "COMPLEMENTO", "INSCMUNICIPAL", "OBSERVACAO", "CELULAR",
                                "EMAIL",    "HOMEPAGE",    "CAMPOLIVRE1", "CAMPOLIVRE2",   "CODCIDADE"};
  for (const std::string& c : vazias)
    EXPECT_EQ(Committed("SELECT COUNT(*) AS N FROM FORNECE WHERE " + c + " = ''", {"N"}), Rows{"5"}) << c;
}

TEST_F(FornecedoresTest, CitiesAreFoundOrCreatedOnceAndOldSuppliersGo) {
  Before({u"INSERT INTO FORNECE (CODFORNEC, NOME) VALUES ('000099', 'ANTIGO')",
          u"INSERT INTO CIDADES (CODCIDADE, CIDADE, ESTADO) VALUES ('00041', 'BELO HORIZONTE', 'MG')",
          u"INSERT INTO CIDADES (CODCIDADE, CIDADE, ESTADO) VALUES ('00042', 'CONTAGEM', 'MG')"});
  WriteFornec({{"1", "Um", "", "", "", "Itaúna", "MG"},
               {"2", "Dois", "", "", "", "  Itaúna", "MG"},
               {"3", "Três", "", "", "", "BHTE", "SP"},
               {"4", "Quatro", "", "", "", "  Contagem", "mg"},
               {"5", "Cinco", "", "", "", "Betim", ""},
               {"6", "Seis", "", "", "", "", "MG"},
               {"7", "Sete", "", "", "", "bhte", "MG"}});
  ASSERT_TRUE(Run());
  EXPECT_EQ(Suppliers(), (Rows{"000001|UM|00043|MG", "000002|DOIS|00043|MG", "000003|TRES|00041|SP",
                               "000004|QUATRO|00042|mg", "000005|CINCO||", "000006|SEIS||MG",
                               "000007|SETE|00044|MG"}));
  EXPECT_EQ(Cities(), (Rows{"00041|BELO HORIZONTE|MG", "00042|CONTAGEM|MG", "00043|ITAúNA|MG", "00044|BHTE|MG"}));
}

TEST_F(FornecedoresTest, CityCodesBeyondFiveDigitsAreNotCut) {
  Before({u"INSERT INTO CIDADES (CODCIDADE, CIDADE, ESTADO) VALUES ('10000', 'ANTIGA', 'MG')",
          u"INSERT INTO CIDADES (CODCIDADE, CIDADE, ESTADO) VALUES ('99999', 'ULTIMA', 'MG')"});
  WriteFornec({{"1", "Um", "", "", "", "Nova", "MG"}});
  ASSERT_TRUE(Run());
  EXPECT_EQ(Suppliers(), (Rows{"000001|UM|100000|MG"}));
}

TEST_F(FornecedoresTest, BlankNamesAreSkippedCountedAndLeakNothing) {
  WriteFornec({{"1", "Primeiro", "", "", "", "Contagem", "MG"},
               {"2", "   ", "Sem razão", "Rua X", "", "Novo Hamburgo", "RS", "", "12.345.678/0001-90"},
               {"3", "Terceiro"},
               {"4", "", "", "", "", "", ""}});
  std::vector<UString> captions;
  ui_.onProcess = [&] { captions.push_back(label_.Caption()); };
  ASSERT_TRUE(Run());
  EXPECT_EQ(captions, (std::vector<UString>{u"Convertendo Fornecedores - Registro 1 de 4",
                                            u"Convertendo Fornecedores - Registro 2 de 4",
                                            u"Convertendo Fornecedores - Registro 3 de 4",
                                            u"Convertendo Fornecedores - Registro 4 de 4"}));
  EXPECT_EQ(Committed("SELECT CODFORNEC, NOMEFANTASIA, CODCIDADE, ESTADO, PESSOA_FJ FROM FORNECE ORDER BY CODFORNEC",
                      {"CODFORNEC", "NOMEFANTASIA", "CODCIDADE", "ESTADO", "PESSOA_FJ"}),
            (Rows{"000001||00001|MG|F", "000003||||F"}));
  // The skipped row's city was looked up before its name was tested.
  EXPECT_EQ(Cities(), (Rows{"00001|CONTAGEM|MG", "00002|NOVO HAMBURGO|RS"}));
  const KindReport& k = report_.Kinds().at(0);
  EXPECT_EQ(k.kind, u"Fornecedores");
  EXPECT_EQ(k.read, 4);
  EXPECT_EQ(k.written, 2);
  EXPECT_EQ(k.skipped, 2);
  EXPECT_EQ(label_.Caption(), u"");
  EXPECT_EQ(bar_.Max(), 0);
}

TEST_F(FornecedoresTest, ARefusedSupplierRollsTheWholeRunBack) {
  Before({u"INSERT INTO FORNECE (CODFORNEC, NOME) VALUES ('000001', 'ANTIGO')",
          u"INSERT INTO CIDADES (CODCIDADE, CIDADE, ESTADO) VALUES ('00007', 'CONTAGEM', 'MG')"});
  // 42 and 000042 are both 000042: the second insert breaks FORNECE's key.
  WriteFornec({{"42", "Primeiro", "", "", "", "Betim", "MG"},
               {"000042", "Segundo", "", "", "", "Sabará", "MG"},
               {"50", "Nunca chega"}});
  EXPECT_FALSE(Run());
  ASSERT_EQ(ui_.boxes.size(), 1u);
  EXPECT_EQ(ui_.boxes[0].kind, MsgKind::Error);
  EXPECT_NE(UToUtf8(ui_.boxes[0].text).find("PK_FORNECE"), std::string::npos);
  EXPECT_EQ(Suppliers(), (Rows{"000001|ANTIGO||"}));
  EXPECT_EQ(Cities(), (Rows{"00007|CONTAGEM|MG"}));
}

}  // namespace
