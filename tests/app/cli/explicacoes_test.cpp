// Failures of the target an operator meets, produced for real through the console:
// each is said in Portuguese, what happened and what to do, and the database's own
// text follows it.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "platform/firebird/Firebird.h"
#include "tests/support/CliRun.h"
#include "tests/support/DbfFixture.h"
#include "tests/support/FirebirdServer.h"
#include "tests/support/TestDatabase.h"

namespace {

const std::string kConexao = "[Error] Não foi possível conectar ao banco de dados Norvale\nMotivo: ";
const std::string kRun = "[Error] Ocorreu um erro durante a conversão! Motivo: ";
const std::string kBanco = "Mensagem do banco de dados: ";

// The sentence `frase` follows `inicio`, and the database's text, holding
// `banco`, follows the sentence.
::testing::AssertionResult Explica(const CliResult& r, const std::string& inicio, const std::string& frase,
                                   const std::string& banco) {
  const std::size_t a = r.out.find(inicio + frase);
  const std::size_t b = a == std::string::npos ? a : r.out.find(kBanco, a);
  const std::size_t c = b == std::string::npos ? b : r.out.find(banco, b);
  if (c != std::string::npos) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "status " << r.status << "\n" << r.out << r.err;
}

class ExplicacoesTest : public ::testing::Test {
 protected:
  ExplicacoesTest() {
    DbfTable t;
    t.path = tmp_.file("CLIENTES.DBF");
    t.fields =
        "CODIGO C(8); DATA_ANI D; DATA_CAD D; RAZAOSOC C(60); FANTASIA C(40); FILIACAO C(60); ENDERECO C(50); "
        "BAIRRO C(30); CIDADE C(30); ESTADO C(2); CEP C(10); CGC C(18); INSC C(18); TELEFONE1 C(15); FAX C(15); "
        "CONTATO C(30); CELULAR C(16); OBS1 C(60); REFERE C(60); SPC1 C(40); SPC2 C(40); LOCAL_TRAB C(40)";
    std::vector<std::string> linha(22, "");
    linha[0] = "1";
    linha[3] = "Maria";
    linha[15] = "Joaquim da Silva";
    t.rows = {linha};
    WriteDbf(t);
  }
  CliResult Cli(const std::string& destino, const std::string& antes = "", const std::string& mais = "") {
    return RunCliProgram("--origem " + tmp_.path() + " --destino " + destino + " " + mais + " cliente", tmp_, antes);
  }
  TempDir tmp_{"explicacoes"};
};

TEST_F(ExplicacoesTest, ATargetThatIsNoDatabaseIsSaidSo) {
  std::ofstream(tmp_.file("vazio.fb")).close();
  std::ofstream(tmp_.file("texto.fb")) << "isto não é um banco\n";
  for (const char* nome : {"vazio.fb", "texto.fb"}) {
    const CliResult r = Cli(tmp_.file(nome));
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(Explica(r, kConexao, "O arquivo \"" + tmp_.file(nome) + "\" não é um banco de dados Firebird", "I/O error"))
        << nome;
  }
}

TEST_F(ExplicacoesTest, ADatabaseWithoutTheNorvaleTablesNamesThem) {
  TestDatabase blank = TestDatabase::Blank(1, "WIN1252", "sem-norvale");
  const CliResult r = Cli(blank.Path());
  EXPECT_EQ(r.status, 1);
  // Found by the check before the run, so nothing is emptied first.
  EXPECT_NE(r.out.find("O banco de destino não tem a tabela CLIENTE, que a conversão de Clientes grava: confira se é "
                       "um banco do Norvale."),
            std::string::npos)
      << r.out;
}

// The target's column shorter than the converter expects: the refused customer is
// reported with the column and the value.
TEST_F(ExplicacoesTest, AValuePastItsColumnNamesTheColumnAndTheValue) {
  TestDatabase tdb("coluna-curta");
  {
    fb::Database db;
    tdb.Connect(db);
    fb::Query q(db);
    for (const char16_t* sql : {u"ALTER TABLE CLIENTE DROP CONTATO", u"ALTER TABLE CLIENTE ADD CONTATO VARCHAR(5)"}) {
      q.SetSQL(sql);
      q.ExecSQL();
      db.DefaultTransaction().Commit();
    }
  }
  const CliResult r = Cli(tdb.Path());
  EXPECT_EQ(r.status, 3);
  EXPECT_TRUE(Explica(r, "rejeitado: registro 1 (código 1, no Norvale 00000001, Maria): ",
                      "O valor \"Joaquim da Silva\" é longo demais para a coluna CONTATO (Clientes)", "truncation"));
}

// Through a server of the test's own: a wrong password (from ISC_PASSWORD, as every
// Firebird tool takes it, and never shown), and a file the server holds.
TEST_F(ExplicacoesTest, AWrongPasswordAndAFileInUseAreSaidSo) {
  FirebirdServer server;
  if (!server.Running()) GTEST_SKIP() << server.Why();
  TestDatabase tdb("explicacoes-servidor");
  CliResult r = Cli(server.Name(tdb.Path()), "ISC_PASSWORD=senha-errada ");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ((r.out + r.err).find("senha-errada"), std::string::npos);
  EXPECT_TRUE(Explica(r, kConexao, "O usuário ou a senha do banco de dados não conferem.", "password"));

  fb::Database served;
  served.SetDatabaseName(Utf8ToU(server.Name(tdb.Path())));
  served.SetUserName(u"SYSDBA");
  served.SetPassword(Utf8ToU(TestDatabase::kPassword));
  served.Open();
  r = Cli(tdb.Path());
  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(Explica(r, kConexao, "O banco \"" + tdb.Path() + "\" está aberto por outro programa", "lock"));
}

}  // namespace
