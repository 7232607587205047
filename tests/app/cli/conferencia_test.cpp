// The reconciliation inside the run, through the console: what the target holds of
// the rows written is read back before the commit and compared with the source.
#include <gtest/gtest.h>

#include <string>

#include "tests/support/CliRun.h"
#include "tests/support/Files.h"
#include "tests/support/TargetDump.h"
#include "tests/support/TestDatabase.h"

namespace {

bool Has(const std::string& text, const std::string& what) { return text.find(what) != std::string::npos; }

const std::string kExemplos = std::string(CT_SOURCE_DIR) + "/examples/tolv";

CliResult Converte(const TestDatabase& tdb, const TempDir& tmp, const std::string& tipos) {
  return RunCliProgram("--origem " + kExemplos + " --destino " + tdb.Path() + " " + tipos, tmp);
}

}  // namespace

TEST(ConferenciaTest, ACleanRunOfEveryKindReconcilesRowsAndMoney) {
  TestDatabase tdb("conferencia");
  TempDir tmp("conferencia");
  const CliResult r = Converte(tdb, tmp, "todos");
  ASSERT_EQ(r.status, 0) << r.out << r.err;
  EXPECT_TRUE(Has(r.out, "Conferência com a origem, antes da confirmação")) << r.out;
  for (const char* linha : {"linhas em CLIENTE: origem 7, destino 7: confere",
                            "soma de COMPPROD.PRECOCUSTO (CUSTOATUAL): origem 377,35, destino 377,35: confere",
                            "linhas acrescentadas a DOCUREC: origem 4, destino 4: confere",
                            "soma de MOVIPAG.VALORMOV (Valor): origem 4.740,65, destino 4.740,65: confere",
                            "linhas em CADFABR: origem 7, destino 7: confere"})
    EXPECT_TRUE(Has(r.out, linha)) << linha << "\n" << r.out;
  EXPECT_FALSE(Has(r.out, "NÃO CONFERE")) << r.out;
}

// A trigger of the target that changes a value, or takes a row away, as it is
// inserted: the run fails before its commit, names the figure, and the target
// stays exactly as it was.
TEST(ConferenciaTest, ATargetThatDoesNotKeepWhatWasWrittenFailsTheRunBeforeTheCommit) {
  struct Caso {
    const char* tipo;
    const char* gatilho;
    const char* figura;
  };
  const Caso casos[] = {
      {"receber",
       "CREATE TRIGGER ALTERA FOR DOCUREC BEFORE INSERT AS BEGIN NEW.VALORDOCTO = NEW.VALORDOCTO + 1; END",
       "soma de DOCUREC.VALORDOCTO (Valor): origem 2.034,46, destino 2.038,46"},
      {"grupo",
       "CREATE TRIGGER TIRA FOR GRUPROD AFTER INSERT AS BEGIN DELETE FROM GRUPROD WHERE CODGRUPO = NEW.CODGRUPO; END",
       "linhas em GRUPROD: origem 5, destino 0"},
  };
  for (const Caso& c : casos) {
    SCOPED_TRACE(c.tipo);
    TestDatabase tdb("conferencia-gatilho");
    TempDir tmp("conferencia-gatilho");
    tdb.Isql(std::string("SET TERM ^ ;\n") + c.gatilho + "^\nSET TERM ; ^\n");
    const std::string antes = DumpTables(tdb.Path());
    const CliResult r = Converte(tdb, tmp, c.tipo);
    EXPECT_EQ(r.status, 1) << r.out << r.err;
    EXPECT_TRUE(Has(r.out, std::string("não bate: ") + c.figura)) << r.out;
    EXPECT_TRUE(Has(r.out, "NÃO CONFERE")) << r.out;
    EXPECT_EQ(DumpTables(tdb.Path()), antes);
  }
}

// After the fact: a target converted earlier, then edited (a price changed, a
// document deleted), is checked against the legacy folder without writing.
TEST(ConferenciaTest, ACheckAfterTheFactNamesEachDifferenceAndWritesNothing) {
  TestDatabase tdb("conferir");
  TempDir tmp("conferir");
  ASSERT_EQ(Converte(tdb, tmp, "produto receber").status, 0);
  const CliResult limpo = Converte(tdb, tmp, "--conferir produto receber");
  EXPECT_EQ(limpo.status, 0) << limpo.out << limpo.err;
  EXPECT_TRUE(Has(limpo.out, "Conferência: tudo confere.")) << limpo.out;

  tdb.Isql("UPDATE PRODUTO SET PRECO = PRECO + 1 WHERE CODPROD = (SELECT MIN(CODPROD) FROM PRODUTO);\n"
           "DELETE FROM DOCUREC WHERE ID_DOCUREC = (SELECT MIN(ID_DOCUREC) FROM DOCUREC);\nCOMMIT;\n");
  const std::string editado = DumpTables(tdb.Path());
  const CliResult r = Converte(tdb, tmp, "--conferir produto receber");
  EXPECT_EQ(r.status, 1) << r.out << r.err;
  for (const char* linha : {"soma de PRODUTO.PRECO (PVENDA): origem 618,95, destino 619,95: NÃO CONFERE",
                            "documentos de DOCUREC iguais aos da origem: origem 4, destino 3: NÃO CONFERE",
                            "linhas em PRODUTO: origem 7, destino 7: confere",
                            "Conferência: há diferenças"})
    EXPECT_TRUE(Has(r.out, linha)) << linha << "\n" << r.out;
  EXPECT_EQ(DumpTables(tdb.Path()), editado);
}
