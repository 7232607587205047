// The manufacturers converter, on real dBase files into real Firebird files.
#include "tests/support/RecordingServices.h"
#include "ConverterRun.h"

namespace {

class FabricantesTest : public ConverterRunTest {
 protected:
  void WriteFabrica(std::vector<std::vector<std::string>> rows) {
    Write("FABRICA.DBF", "CODIGO C(7); RAZAOSOC C(40)", std::move(rows));
  }
  std::vector<std::string> Manufacturers() {
    return Committed("SELECT CODFABRIC, COALESCE(DESCRICAO, '<nulo>') FROM CADFABR ORDER BY CODFABRIC");
  }
};

TEST_F(FabricantesTest, EveryRowIsWrittenWithItsCodeZeroFilledAndItsNameAsItCame) {
  Seed({u"INSERT INTO CADFABR (CODFABRIC, DESCRICAO) VALUES ('00001', 'Antigo')"});
  WriteFabrica({{"12", "Tramontina S.A."},
                {"", "Sem código"},
                {"1234567", "Fábrica com código longo"},
                {"45", "Irmãos D'Ângelo Ferramentas"},
                {"99", ""},
                {"3", "  Suvinil - Tintas Ação Rápida e Secagem"}});
  ASSERT_TRUE(Run({"FABRICANTE"}));
  EXPECT_EQ(BoxTexts(), std::vector<UString>{Utf8ToU(kSucesso)});
  EXPECT_EQ(Manufacturers(), (std::vector<std::string>{"00000|Sem código", "00003|  Suvinil - Tintas Ação Rápida",
                                                       "00012|Tramontina S.A.", "00045|Irmãos D'Ângelo Ferramentas",
                                                       "00099|", "12345|Fábrica com código longo"}));
  const KindReport& k = Report("Fabricantes");
  EXPECT_EQ(k.read, 6);
  EXPECT_EQ(k.written, 6);
  EXPECT_EQ(k.skipped + k.rejected, 0);
  ASSERT_EQ(captions_.size(), 6u);
  EXPECT_EQ(captions_[5], "Convertendo Fabricantes - Registro 6 de 6");
  EXPECT_EQ(bar_.Max(), 0);
}

// 12 and 0001234 both become 00012: the target refuses the second. The operator is
// told at once, the rows after it are written, the run commits and lists it.
TEST_F(FabricantesTest, ARefusedRowIsReportedAndTheRunGoesOn) {
  WriteFabrica({{"12", "Primeiro"}, {"0001234", "Repetido"}, {"5", "Depois"}});
  ASSERT_TRUE(Run({"FABRICANTE"}));
  ASSERT_EQ(ui_.boxes.size(), 3u);
  const std::string erro = UToUtf8(ui_.boxes[0].text);
  EXPECT_EQ(ui_.boxes[0].kind, MsgKind::Error);
  EXPECT_EQ(erro.rfind("Ocorreu um erro durante a conversão de Fabricantes. Motivo: ", 0), 0u) << erro;
  EXPECT_NE(erro.find("PK_CADFABR"), std::string::npos) << erro;
  EXPECT_EQ(UToUtf8(ui_.boxes[1].text), kSucesso);
  EXPECT_EQ(ui_.boxes[2].kind, MsgKind::Warning);
  EXPECT_NE(UToUtf8(ui_.boxes[2].text).find("Fabricantes, registro 2 (código 0001234, no Norvale 00012, Repetido): "), std::string::npos);

  EXPECT_EQ(Manufacturers(), (std::vector<std::string>{"00005|Depois", "00012|Primeiro"}));
  const KindReport& k = Report("Fabricantes");
  EXPECT_EQ(k.written, 2);
  ASSERT_EQ(k.rejections.size(), 1u);
  EXPECT_EQ(k.rejections[0].row, 2);
  EXPECT_EQ(k.rejections[0].code, u"0001234");
  EXPECT_NE(UToUtf8(k.rejections[0].what).find("PK_CADFABR"), std::string::npos);
}

// Neither emptying commits: when the manufacturers' source cannot be read, the
// subgroups converted before and both emptied tables are as they were.
TEST_F(FabricantesTest, AFailureAfterTheEmptyingsUndoesThem) {
  Seed({u"INSERT INTO SUBGRUP (CODGRUPO, CODSUBGRUPO, DESCRICAO) VALUES ('009', '001', 'Antigo')",
        u"INSERT INTO CADFABR (CODFABRIC, DESCRICAO) VALUES ('00001', 'Antigo')"});
  Write("SUBGRUPO.DBF", "CODIGO C(4); DESCRICAO C(50)", {{"0102", "Novo"}});
  Write("FABRICA.DBF", "CODIGO C(7); NOME C(40)", {{"12", "Sem a coluna RAZAOSOC"}});

  EXPECT_FALSE(Run({"SUBGRUPO", "FABRICANTE"}));
  ASSERT_EQ(ui_.boxes.size(), 1u);
  EXPECT_NE(UToUtf8(ui_.boxes[0].text).find("RAZAOSOC"), std::string::npos);
  EXPECT_EQ(Committed("SELECT CODGRUPO, CODSUBGRUPO, DESCRICAO FROM SUBGRUP"),
            std::vector<std::string>{"009|001|Antigo"});
  EXPECT_EQ(Manufacturers(), std::vector<std::string>{"00001|Antigo"});
}

}  // namespace
